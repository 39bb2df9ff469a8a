// isp_table diff against the explanation of single runs: on generated
// tables, a group of SIMs is reported exactly when `isp_table check --imsi`
// (or --sid) explains different profiles for its SIMs.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <functional>
#include <random>
#include <set>
#include <sstream>

#include "diff.h"
#include "explain.h"
#include "operator_table.h"
#include "sid_table.h"

namespace {

std::mt19937 rng(16);
using Row = std::vector<std::string>;  // the values, then the line end

const char *pick(std::initializer_list<const char *> values) {
  return values.begin()[rng() % values.size()];
}

// Rows meet on few MCCs and MNC digits (0, 1, 8), with placeholders,
// over-long values, technologies without a name, rows cut short, an extra
// column and bare line feeds.
Row random_row() {
  static const std::string long_name(70, 'o');
  Row row = {pick({"1", "2", "3", "NA"}),
             pick({"262", "404", "405", "405", "NA"}),
             pick({"01", "10", "80", "010", "018", "891", "NA", "blank"}),
             pick({"Op", "Op", "NA Op", long_name.c_str()}),
             "DE",
             pick({"HSDPA", "CDMA2000", "TD-SCDMA", "LTE"}),
             pick({"internet", "web", "NA", "a\"b"}),
             pick({"*99#", "#777"}),
             pick({"u", "v", "NA"}),
             pick({"p", "q", "blank"})};
  row.resize(rng() % 5 == 0 ? 1 + rng() % 9 : 10);
  if (rng() % 8 == 0)
    row.push_back("x");
  row.push_back(rng() % 8 == 0 ? "\n" : "\r\n");
  return row;
}

// The next release: rows swapped, replaced, edited, dropped or added.
std::vector<Row> next_release(std::vector<Row> rows) {
  for (unsigned edits = rng() % 4; edits > 0; edits--) {
    size_t i = rng() % rows.size(), j = rng() % rows.size();
    Row fresh = random_row();
    size_t k = rng() % (std::min(rows[i].size(), fresh.size()) - 1);
    switch (rng() % 5) {
      case 0: std::swap(rows[i], rows[j]); break;
      case 1: rows[i] = fresh; break;
      case 2: rows[i][k] = fresh[k]; break;
      case 3:
        if (rows.size() > 1)
          rows.erase(rows.begin() + i);
        break;
      default: rows.insert(rows.begin() + i, fresh);
    }
  }
  return rows;
}

std::vector<std::string> write_table(const std::string &path, const std::vector<Row> &rows) {
  std::vector<std::string> lines = {"Index,MCC,MNC\r\n"};
  for (const Row &row : rows) {
    lines.push_back(row[0]);
    for (size_t i = 1; i + 1 < row.size(); i++)
      lines.back() += "," + row[i];
    lines.back() += row.back();
  }
  FILE *f = fopen(path.c_str(), "w");
  for (const std::string &line : lines)
    fputs(line.c_str(), f);
  fclose(f);
  return lines;
}

std::vector<std::string> printed(const std::function<void(FILE *)> &write) {
  char *text = nullptr;
  size_t size = 0;
  FILE *out = open_memstream(&text, &size);
  write(out);
  fclose(out);
  std::istringstream in(std::string(text, size));
  free(text);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

struct Sim {
  std::string group;  // worked out by hand from the identity and the rows
  std::function<void(const char *, FILE *)> explain;
};

std::string profile(const Sim &sim, const std::string &path) {
  std::string items;
  for (const std::string &line : printed([&](FILE *out) { sim.explain(path.c_str(), out); }))
    if (line.rfind("  G_", 0) == 0)
      items += line + "\n";
  return items;
}

// An IMSI's group is its MCC and two MNC digits, but under 405 all three
// when a row of either table has that key.
std::string imsi_group(const std::string &m, const std::string &n,
                       const std::vector<std::string> &rows) {
  LookupKey key;
  for (const std::string &row : rows)
    if (m == "405" && row_key(row.c_str(), &key) && key.mcc == m && key.mnc == n)
      return m + "-" + n;
  return m + "-" + n.substr(0, 2);
}

std::vector<Sim> sims(const std::vector<std::string> &rows) {
  std::vector<Sim> all;
  for (std::string m : {"262", "404", "405", "999"})
    for (int i = 0; i < 64; i++) {
      std::string n = {"0189"[i / 16], "0189"[i / 4 % 4], "0189"[i % 4]},
                  imsi = m + n + "123456789";
      all.push_back({imsi_group(m, n, rows),
                     [imsi](const char *t, FILE *o) { explain_imsi(t, imsi.c_str(), o); }});
    }
  size_t count;
  const SidRange *r = sid_ranges(&count);
  for (size_t i = 0; i < count; i++) {
    std::string name = "SID " + std::to_string(r[i].first);
    name += r[i].last != r[i].first ? "-" + std::to_string(r[i].last) : "";
    for (int sid : {r[i].first, r[i].last})
      all.push_back({name, [sid](const char *t, FILE *o) { explain_sid(t, sid, o); }});
  }
  all.push_back({"SID other", [](const char *t, FILE *o) { explain_sid(t, 3000, o); }});
  return all;
}

}  // namespace

TEST(TableDiff, ReportsExactlyTheGroupsWhoseExplainedProfileDiffers) {
  char dir[] = "/tmp/table_diff_XXXXXX";
  ASSERT_TRUE(mkdtemp(dir));
  std::string was_path = std::string(dir) + "/old.csv", now_path = std::string(dir) + "/new.csv";
  for (int round = 0; round < 150; round++) {
    std::vector<Row> was(1 + rng() % 8);
    for (Row &row : was)
      row = random_row();
    std::vector<std::string> rows = write_table(was_path, was),
                             more = write_table(now_path, next_release(was));
    rows.insert(rows.end(), more.begin(), more.end());
    std::set<std::string> reported, seen;
    std::vector<std::string> out =
        printed([&](FILE *f) { diff_tables(was_path.c_str(), now_path.c_str(), f); });
    for (size_t i = 0; i + 1 < out.size(); i++)
      reported.insert(out[i].substr(0, out[i].find(": ")));
    for (const Sim &sim : sims(rows)) {
      EXPECT_EQ(profile(sim, was_path) != profile(sim, now_path), reported.count(sim.group) > 0)
          << sim.group;
      seen.insert(sim.group);
    }
    for (const std::string &group : reported)
      EXPECT_TRUE(seen.count(group)) << "reported, but no SIM of it explained: " << group;
  }
  unlink(was_path.c_str());
  unlink(now_path.c_str());
  rmdir(dir);
}
