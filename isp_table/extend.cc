#include "extend.h"

#include <string.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "check.h"
#include "fields.h"
#include "merge.h"
#include "names.h"
#include "operator_table.h"
#include "pieces.h"
#include "sims.h"
#include "summary.h"
#include "table.h"

namespace {

// The table's bytes, line by line (a line ends at its line feed, as
// isp_pick reads it), as the result carries them.
struct Kept {
  std::string rows;                // header and rows, placeholder rows left out
  std::string placeholders;        // placeholder rows, in order
  size_t count = 0;                // rows after the header, as the check counts them
  std::set<std::string> indexes;   // the rows' indexes, as stored_index gives them
};

bool placeholder_row(const std::string &piece) {
  LookupKey key;
  return row_key(piece.c_str(), &key) && !key.mcc[0] && !key.mnc[0];
}

// A line that is no row to the check (a line end alone, an empty
// spreadsheet row) is kept byte for byte but counted and indexed nowhere.
void keep_line(const std::string &line, const Piece &first, Kept *kept) {
  if (first.line == 1 || only_line_end(line) || empty_row(line)) {
    kept->rows += line;
    return;
  }
  kept->count++;
  kept->indexes.insert(stored_index(first.text));
  (placeholder_row(first.text) ? kept->placeholders : kept->rows) += line;
}

// The pieces hold every byte of the table, NUL bytes too: joined line by
// line they give the table's lines as the result carries them.
void read_kept(const Table &table, Kept *kept) {
  for (const Line &line : table_lines(table.pieces))
    keep_line(line.whole(), *line.first, kept);
}

// A last line without its line end would run into the rows that follow;
// one ended by CR alone lacks only the LF.
void end_line(std::string *text) {
  if (!text->empty() && text->back() != '\n')
    *text += text->back() == '\r' ? "\n" : "\r\n";
}

// The SIMs whose lookups can reach `row`'s key that the table serves,
// grouped as they would be with the row in the table.
std::vector<Sim> served_sims(const Table &table, const TableRow &row) {
  HasKey has_key = [&](const std::string &m, const std::string &n) {
    return table.by_key.count({m, n}) || row.key == NetworkId(m, n);
  };
  std::vector<Sim> served;
  for (const Sim &sim : sims_reaching(row.key, has_key))
    if (run_lookups(table, sim).line != 0)
      served.push_back(sim);
  return served;
}

// Whether one of `sims` would get `row` if the row stood first among its
// key's rows: for a SIM the table serves, the row would change its profile
// or never answer.
bool gets_row_first(const Table &table, const TableRow &row, const std::vector<Sim> &sims) {
  CandidateRow candidate{row.key, "0," + row.text};
  return std::any_of(sims.begin(), sims.end(), [&](const Sim &sim) {
    return run_with_candidate(table, sim, candidate).line == kCandidateLine;
  });
}

// The APNs, folded, that `sources` list for the networks of each lookup
// key, a marked reseller's left out on a network that an unmarked provider
// or carrier lists, as the merge leaves it out. A carrier list lists none.
std::map<NetworkId, std::set<std::string>> listed_by_key(const std::vector<Source> &sources,
                                                         const Merge &merge) {
  std::map<NetworkId, std::set<std::string>> listed;
  for (const Source &s : sources)
    for (const Listing &l : s.listings)
      for (const NetworkId &id : l.networks)
        if (!s.carrier_list && merge.stands(l, id))
          listed[lookup_key(id)].insert(folded_apn(l.apn));
  return listed;
}

// A kept line that gives public rows' SIMs another profile than the public
// data's first: one line to review, whatever number of keys reach it.
struct Review {
  std::vector<std::string> keys;  // "405-85", "405-854"
  isp_profile kept{};
  const Listing *first = nullptr;  // the public data's first for the first key
  bool listed = false;             // the kept APN is listed for a key's networks
  Judgement another;               // the ranking gives it to another operator on a key
  const Listing *resold = nullptr;  // a marked reseller lists it for a key's networks
};

// What the public rows bring: those written, and what the summary adds.
struct Public {
  std::vector<TableRow> written;
  size_t left_out = 0;
  std::map<int, Review> reviews;  // by the kept line
};

// Whether a lookup of `sim` tries `key`: isp_pick's own order.
bool reaches(const Sim &sim, const NetworkId &key) {
  LookupKey keys[kMaxLookups];
  int count = lookup_order(sim.mcc.c_str(), sim.mnc.c_str(), sim.from_imsi, keys);
  for (int i = 0; i < count; i++)
    if (key.first == keys[i].mcc && key.second == keys[i].mnc)
      return true;
  return false;
}

// The technology a record holds, by name.
const char *technology(const isp_profile &p) {
  return p.system >= 0 && p.system < kTechnologies ? kTechnologyNames[p.system] : "";
}

// What the summary calls the store item of `column`, and its value in
// listing `l`; nothing for the index, which a listing has not.
std::pair<const char *, std::string> listed_item(int column, const Listing &l) {
  switch (column) {
    case kSystem: return {"technology", l.technology};
    case kApn: return {"APN", l.apn};
    case kUsr: return {"user", l.user};
    case kPwd: return {"password", l.password};
    case kNumber: return {"number", l.number};
  }
  return {"", ""};
}

// One store item that differs: its name, the kept and the public value.
struct Difference {
  const char *item;
  std::string kept, listed;
};

// The items the router stores from a row, besides its index, that differ
// between the kept record and the public data's first. The APN is
// compared as the network resolves it, case aside.
std::vector<Difference> differences(const isp_profile &kept, const Listing &first) {
  std::vector<Difference> found;
  for (RowColumn column : kStoreColumns) {
    if (column == kIndex)
      continue;
    std::pair<const char *, std::string> item = listed_item(column, first);
    const char *value = column == kSystem ? technology(kept) : profile_text(kept, column);
    bool same = column == kApn ? folded_apn(value) == folded_apn(item.second)
                               : value == item.second;
    if (!same)
      found.push_back({item.first, value, item.second});
  }
  return found;
}

// "APN "own.in" -> "long", user "" -> "web"".
std::string differences_text(const std::vector<Difference> &found) {
  std::string text;
  for (const Difference &d : found)
    text += (text.empty() ? "" : ", ") + std::string(d.item) + " " + shown(d.kept) + " -> " +
            shown(d.listed);
  return text;
}

// Each SIM of `row`'s key that the table gives another profile than the
// row's: through a row of the key itself, or of a shorter key (405-85 for
// 405854). The public data names no APN for a CDMA provider: nothing to
// hold a row to.
void note_review(const Table &table, const TableRow &row, const std::vector<Sim> &served,
                 const std::map<NetworkId, std::set<std::string>> &listed, const Merge &merge,
                 Public *p) {
  if (row.listing->apn.empty())
    return;
  std::string key = network_name(row.key);
  auto apns = listed.find(row.key);
  for (const Sim &sim : served) {
    Answer kept = run_lookups(table, sim);
    if (!reaches(sim, row.key) || differences(kept.profile, *row.listing).empty())
      continue;
    Review &r = p->reviews[kept.line];
    if (!r.first) {
      r.kept = kept.profile;
      r.first = row.listing;
    }
    if (r.keys.empty() || r.keys.back() != key)
      r.keys.push_back(key);
    r.listed = r.listed || (apns != listed.end() && apns->second.count(folded_apn(kept.profile.apn)));
    if (!r.another.another_operators())
      r.another = merge.judge(row.key, kept.profile.apn);
    if (!r.resold)
      r.resold = merge.resold(row.key, kept.profile.apn);
  }
}

Public choose_rows(const Table &table, const std::vector<TableRow> &rows,
                   const std::map<NetworkId, std::set<std::string>> &listed, const Merge &merge) {
  Public p;
  for (const TableRow &row : rows) {
    std::vector<Sim> served = served_sims(table, row);
    note_review(table, row, served, listed, merge, &p);
    if (gets_row_first(table, row, served))
      p.left_out++;
    else
      p.written.push_back(row);
  }
  return p;
}

// The judgements of a kept row, and their words in a report.
enum Verdict { kApnFirst, kAnotherOperator, kRankedLower, kResold, kNotListed };
const char *const kVerdictWords[] = {"apn-is-first", "another-operator", "ranked-lower",
                                     "reseller", "not-listed"};

// Whether the kept row is likely wrong or a choice the public data allows:
// the ranking that chose the public row says whether the kept APN is
// another operator's on these networks (a deciding sign puts the
// network's own first) or one the inputs leave to choose.
Verdict judged(const Review &r) {
  if (folded_apn(r.kept.apn) == folded_apn(r.first->apn))
    return kApnFirst;
  if (r.another.another_operators())
    return kAnotherOperator;
  if (r.listed)
    return kRankedLower;
  return r.resold ? kResold : kNotListed;
}

bool likely_wrong(Verdict v) { return v != kApnFirst && v != kRankedLower; }

std::string verdict(const Review &r) {
  std::string apn = quoted(r.kept.apn, strlen(r.kept.apn));
  switch (judged(r)) {
    case kApnFirst: return "the APN is the public data's first, the rest differs";
    case kAnotherOperator:
      return apn + " is another operator's APN (" + shown_name(r.another.listing->name) +
             "), ranked lower by " + outcome_name(r.another.sign) + ": likely wrong";
    case kRankedLower: return apn + " is listed for these networks, ranked lower: a choice";
    case kResold:
      return apn + " is listed for these networks only by a marked reseller (" +
             shown_name(r.resold->name) + "): likely wrong";
    default: return apn + " is not listed for these networks: likely wrong";
  }
}

std::string review_line(const char *path, int line, const Review &r) {
  std::string keys;
  for (const std::string &key : r.keys)
    keys += (keys.empty() ? "" : ", ") + key;
  return std::string(path) + ":" + std::to_string(line) + ": " +
         quoted_name(r.kept.isp, sizeof r.kept.isp) + " (" + keys + "): " +
         differences_text(differences(r.kept, *r.first)) + ": " + verdict(r);
}

// A record's text field, up to its NUL.
template <size_t size>
std::string text(const char (&field)[size]) {
  return std::string(field, strnlen(field, size));
}

// "APN" as a report's word, "apn".
std::string lower_case(std::string word) {
  for (char &c : word)
    c = c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
  return word;
}

// The review line of kept line `line` for a machine: what the text says,
// values and names as they stand.
Json review_json(int line, const Review &r) {
  Json items = Json::array();
  for (const Difference &d : differences(r.kept, *r.first))
    items.push_back({{"item", lower_case(d.item)}, {"table", d.kept}, {"public", d.listed}});
  Verdict v = judged(r);
  const Listing *by = v == kAnotherOperator ? r.another.listing : v == kResold ? r.resold : nullptr;
  return {{"line", line},
          {"operator", text(r.kept.isp)},
          {"keys", r.keys},
          {"differences", items},
          {"judgement", kVerdictWords[v]},
          {"likely_wrong", likely_wrong(v)},
          {"listed_by", by ? Json(by->name) : Json()},
          {"decided_by", v == kAnotherOperator ? Json(outcome_code(r.another.sign)) : Json()}};
}

// The names of a row's columns in a report, in the table's order.
const char *const kColumnKeys[kColumns] = {"index",      "mcc", "mnc",    "operator", "region",
                                           "technology", "apn", "number", "user",     "password"};

// A public row written, its values as the table holds them.
Json row_json(const TableRow &row, const std::string &index) {
  Fields f = split(index + "," + row.text);
  Json values = {{"key", network_name(row.key)}};
  for (size_t column = 0; column < kColumns && column < f.written.size(); column++)
    values[kColumnKeys[column]] = f.written[column];
  return values;
}

// What the summary adds, for a machine: the figures, the rows written,
// the review, and the key that had no index left (null when none).
void add_extension(const Kept &kept, const Public &p, bool written, const NetworkId &full,
                   Json *report) {
  (*report)["kept"] = written ? kept.count : 0;
  (*report)["written"] = written ? p.written.size() : 0;
  (*report)["left_out"] = p.left_out;
  Json rows = Json::array();
  for (size_t i = 0; written && i < p.written.size(); i++)
    rows.push_back(row_json(p.written[i], stable_index(p.written[i].key, kept.indexes)));
  (*report)["rows"] = rows;
  Json reviews = Json::array();
  for (const auto &r : p.reviews)
    reviews.push_back(review_json(r.first, r.second));
  (*report)["reviews"] = reviews;
  (*report)["no_index_left"] = written ? Json() : Json(network_name(full));
}

// The counts of rows are of what is written: none when no table is.
void write_extension(const char *path, const Kept &kept, const Public &p, bool written, FILE *out) {
  fprintf(out, "extended table %s:\n", path);
  fprintf(out, "  rows kept: %zu\n", written ? kept.count : 0);
  fprintf(out, "  public rows written: %zu\n", written ? p.written.size() : 0);
  fprintf(out, "  public rows left out, the table serves their SIMs: %zu\n", p.left_out);
  fprintf(out, "  rows whose profile is not the public data's first (kept -> public): %zu\n",
          p.reviews.size());
  for (const auto &r : p.reviews)
    fprintf(out, "    %s\n", review_line(path, r.first, r.second).c_str());
}

// The result: the table's rows, the public rows, the placeholder rows.
// False, with the key in `full`, when a public row's key has no index left.
bool extended(const Kept &kept, const Public &p, std::string *text, NetworkId *full) {
  *text = kept.rows;
  if (!p.written.empty() || !kept.placeholders.empty())
    end_line(text);
  if (!indexed_rows(p.written, kept.indexes, text, full))
    return false;
  *text += kept.placeholders;
  return true;
}

}  // namespace

bool extend_table(const Table &table, const std::vector<Source> &sources, std::string *text,
                  FILE *summary, Json *report) {
  Kept kept;
  read_kept(table, &kept);
  const char *path = table.path.c_str();
  std::vector<TableRow> rows;
  TableFigures merged;
  Merge merge(source_list(sources), &merged);
  merge.rows(&rows);
  Public p = choose_rows(table, rows, listed_by_key(sources, merge), merge);
  text->clear();
  NetworkId full;
  bool indexed = extended(kept, p, text, &full);
  write_summary(sources, merged, summary);
  write_extension(path, kept, p, indexed, summary);
  if (report)
    add_extension(kept, p, indexed, full, report);
  if (!indexed) {
    fprintf(stderr, "isp_table: %s: the table uses every index the public row of %s may take\n",
            path, network_name(full).c_str());
    text->clear();
    return false;
  }
  return true;
}
