// isp_table diff against the explanation of single runs: on generated
// tables, a group of SIMs is reported exactly when `isp_table explain`
// explains different profiles for its SIMs. Both ask the table model, so
// the model's one lookup is held against isp_pick's own walk of the file
// (`find_row`, the lookup `parse` makes) on the same tables and on the
// hand-kept fixtures.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <random>
#include <set>
#include <sstream>

#include "diff.h"
#include "explain.h"
#include "operator_table.h"
#include "sid_table.h"
#include "table.h"

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

struct ExplainedSim {
  std::string group;  // worked out by hand from the identity and the rows
  std::function<void(const Table &, FILE *)> explain;
};

std::string profile(const ExplainedSim &sim, const std::string &path) {
  std::string items;
  Table table;
  EXPECT_TRUE(load_table(path.c_str(), &table));
  for (const std::string &line : printed([&](FILE *out) { sim.explain(table, out); }))
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

std::vector<ExplainedSim> sims(const std::vector<std::string> &rows) {
  std::vector<ExplainedSim> all;
  for (std::string m : {"262", "404", "405", "999"})
    for (int i = 0; i < 64; i++) {
      std::string n = {"0189"[i / 16], "0189"[i / 4 % 4], "0189"[i % 4]},
                  imsi = m + n + "123456789";
      all.push_back({imsi_group(m, n, rows),
                     [imsi](const Table &t, FILE *o) { explain_imsi(t, imsi.c_str(), o); }});
    }
  size_t count;
  const SidRange *r = sid_ranges(&count);
  for (size_t i = 0; i < count; i++) {
    std::string name = "SID " + std::to_string(r[i].first);
    name += r[i].last != r[i].first ? "-" + std::to_string(r[i].last) : "";
    for (int sid : {r[i].first, r[i].last})
      all.push_back({name, [sid](const Table &t, FILE *o) { explain_sid(t, sid, o); }});
  }
  all.push_back({"SID other", [](const Table &t, FILE *o) { explain_sid(t, 3000, o); }});
  return all;
}

// isp_pick's own run over the file: its lookup order, each key by
// `find_row` into one record, the answering piece's line counted from the
// pieces its reader gives.
Answer walked(const std::string &path, const char *m, const char *n, bool from_imsi) {
  std::unique_ptr<TableReader> reader(new TableReader);
  std::vector<int> lines = {0};
  char row[kRowSize];
  int line = 1;
  EXPECT_GT(table_open(reader.get(), path.c_str()), 0) << path;
  for (size_t len; (len = table_piece(reader.get(), row)) > 0; line += row[len - 1] == '\n')
    lines.push_back(line);
  table_close(reader.get());
  Answer a;
  a.count = lookup_order(m, n, from_imsi, a.keys);
  for (int piece = 0; a.tried < a.count && piece == 0;) {
    piece = find_row(reader.get(), path.c_str(), a.keys[a.tried++], &a.profile);
    a.line = piece > 0 ? lines[piece] : 0;
  }
  return a;
}

// The model against isp_pick's walk for every identity a row of `path` or
// a SIM of the MCCs below can have: the line, and all the record shows.
void expect_model_walks_as_isp_pick(const std::string &path) {
  Table table;
  ASSERT_TRUE(load_table(path.c_str(), &table)) << path;
  std::vector<std::pair<std::string, std::string>> ids = {{"", ""}, {"405", "85"}};
  for (const auto &key : table.by_key)
    ids.push_back(key.first);
  for (std::string m : {"262", "404", "405", "310"})
    for (int i = 0; i < 1000; i += 7)
      ids.push_back({m, {char('0' + i / 100), char('0' + i / 10 % 10), char('0' + i % 10)}});
  for (const auto &id : ids)
    for (bool from_imsi : {true, false}) {
      const char *m = id.first.c_str(), *n = id.second.c_str();
      Answer model = run_lookups(table, m, n, from_imsi), isp_pick = walked(path, m, n, from_imsi);
      SCOPED_TRACE(path + " " + id.first + "," + id.second + (from_imsi ? " IMSI" : ""));
      ASSERT_EQ(isp_pick.line, model.line);
      ASSERT_EQ(isp_pick.tried, model.tried);
      if (model.line == 0)
        continue;
      for (size_t i = 0; i < 6; i++)
        EXPECT_EQ(store_items(isp_pick.profile)[i].value, store_items(model.profile)[i].value);
      EXPECT_STREQ(isp_pick.profile.isp, model.profile.isp);
      EXPECT_STREQ(isp_pick.profile.region, model.profile.region);
    }
}

}  // namespace

// Hand-kept tables with shadowed rows, rows cut short or past one read,
// 405 rows of two and three MNC digits, a placeholder row.
TEST(TableModel, AnswersAsIspPicksRowWalkOnTheFixtures) {
  for (const char *name : {"hand_kept.csv", "merged.csv", "diff_old.csv", "diff_new.csv",
                           "extend_table.csv", "against.csv", "extended.csv"})
    expect_model_walks_as_isp_pick(std::string(ISP_TABLE_FIXTURES) + "/" + name);
}

TEST(TableModel, AnswersAsIspPicksRowWalkOnGeneratedTables) {
  char dir[] = "/tmp/table_model_XXXXXX";
  ASSERT_TRUE(mkdtemp(dir));
  std::string path = std::string(dir) + "/t.csv";
  for (int round = 0; round < 150; round++) {
    std::vector<Row> rows(1 + rng() % 12);
    for (Row &row : rows)
      row = random_row();
    write_table(path, rows);
    expect_model_walks_as_isp_pick(path);
  }
  unlink(path.c_str());
  rmdir(dir);
}

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
    Table was_table, now_table;
    ASSERT_TRUE(load_table(was_path.c_str(), &was_table) && load_table(now_path.c_str(), &now_table));
    std::vector<std::string> out = printed([&](FILE *f) { diff_tables(was_table, now_table, f); });
    for (size_t i = 0; i + 1 < out.size(); i++)
      reported.insert(out[i].substr(0, out[i].find(": ")));
    for (const ExplainedSim &sim : sims(rows)) {
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

// An IMSI's MCC is three digits: a row keyed by a shorter or longer MCC
// reaches no SIM, so diff names no group under it.
TEST(TableDiff, GroupsSimsOnlyUnderThreeDigitMccs) {
  char path[] = "/tmp/table_groups_XXXXXX";
  close(mkstemp(path));
  write_table(path, {{"1", "26", "01", "\r\n"}, {"2", "2620", "01", "\r\n"}, {"3", "262", "01", "\r\n"}});
  Table table;
  ASSERT_TRUE(load_table(path, &table));
  unlink(path);
  size_t imsi_groups = 0;
  for (const Sim &sim : sim_groups(table, Table())) {
    if (!sim.from_imsi)
      continue;
    imsi_groups++;
    EXPECT_EQ(sim.mcc, "262") << sim.name;
  }
  // 262 takes two MNC digits: 26200 to 26299, a group each.
  EXPECT_EQ(imsi_groups, 100u);
}
