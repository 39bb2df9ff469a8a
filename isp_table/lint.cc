#include "lint.h"

#include <ctype.h>

#include <algorithm>

#include "names.h"
#include "operator_table.h"

std::vector<const Listing *> lint_entries(const Source &s) {
  std::vector<const Listing *> all;
  for (const Listing &l : s.listings)
    all.push_back(&l);
  for (const Listing &l : s.service_listings)
    all.push_back(&l);
  std::stable_sort(all.begin(), all.end(),
                   [](const Listing *a, const Listing *b) { return a->line < b->line; });
  return all;
}

LintFinding lint_finding(const Listing &l, bool error, const std::string &text, const char *code) {
  LintFinding f;
  f.file = l.file;
  f.finding = {(int)l.line, error, text, code};
  f.networks = l.networks;
  f.apn = l.apn;
  return f;
}

static bool word_char(char c) { return isalnum((unsigned char)c); }

// A word of four or more characters around `at`, and `at` neither its
// first nor its last: a letter added or lost at a word's end is a prefix
// or suffix of another APN's ("net" and "unet", "gprs" and "igprs").
static bool inside_word(const std::string &s, size_t at) {
  size_t start = at, end = at + 1;
  while (start > 0 && word_char(s[start - 1]))
    start--;
  while (end < s.size() && word_char(s[end]))
    end++;
  return end - start >= 4 && at > start && at + 1 < end;
}

bool mistyped(const std::string &typed, const std::string &apn) {
  if (swapped_letters(typed, apn))
    return true;
  const std::string &longer = typed.size() >= apn.size() ? typed : apn;
  const std::string &shorter = &longer == &typed ? apn : typed;
  if (typed == apn || longer.size() - shorter.size() > 1)
    return false;
  size_t at = 0;
  while (at < shorter.size() && longer[at] == shorter[at])
    at++;
  bool replaced = longer.size() == shorter.size();
  if (longer.compare(at + 1, std::string::npos, shorter, at + replaced) != 0)
    return false;
  if (!isalpha((unsigned char)longer[at]) || (replaced && !isalpha((unsigned char)shorter[at])))
    return false;
  return inside_word(longer, at) && (!replaced || inside_word(shorter, at));
}

// Beside another database, generating leaves its entries out; given as a
// database of its own it would count the provider database's entries twice.
static void lint_generated(const std::vector<Source> &sources, std::vector<LintFinding> *found) {
  for (size_t i = 0; i < sources.size(); i++)
    if (sources[i].generated) {
      LintFinding f;
      f.file = i;
      f.finding = {0, false,
                   "generated from the provider database (serviceproviders.xml), not Android's "
                   "own: as a second database it would count the same providers twice, so "
                   "generating leaves it out beside another database",
                   "generated-database"};
      found->push_back(f);
    }
}

std::vector<LintFinding> lint_sources(const std::vector<Source> &sources) {
  std::vector<LintFinding> found;
  lint_generated(sources, &found);
  lint_apns(sources, &found);
  lint_networks(sources, &found);
  std::stable_sort(found.begin(), found.end(), [](const LintFinding &a, const LintFinding &b) {
    return std::make_pair(a.file, a.finding.line) < std::make_pair(b.file, b.finding.line);
  });
  return found;
}

// A row's APN from its text: a respelt row's listing died with the merge.
static std::string row_apn(const TableRow &row) {
  size_t at = 0;
  for (int column = kMcc; column < kApn; column++)
    at = row.text.find(',', at) + 1;
  return row.text.substr(at, row.text.find(',', at) - at);
}

bool lint_reaches(const LintFinding &found, const NetworkId &key, const std::string &apn) {
  if (found.apn.empty() || folded_apn(found.apn) != folded_apn(apn))
    return false;
  return std::any_of(found.networks.begin(), found.networks.end(),
                     [&](const NetworkId &id) { return lookup_key(id) == key; });
}

std::vector<LintFinding> lint_table(const std::vector<Source> &sources,
                                    const std::vector<TableRow> &rows) {
  std::vector<LintFinding> reached;
  for (const LintFinding &f : lint_sources(sources))
    if (std::any_of(rows.begin(), rows.end(), [&](const TableRow &row) {
          return lint_reaches(f, row.key, row_apn(row));
        }))
      reached.push_back(f);
  return reached;
}

Json lint_findings_json(const std::vector<Source> &sources, const std::vector<LintFinding> &found) {
  Json list = Json::array();
  for (const LintFinding &f : found)
    list.push_back(finding_json(sources[f.file].path, f.finding));
  return list;
}

std::string lint_line(const std::vector<Source> &sources, const LintFinding &found) {
  const Finding &f = found.finding;
  return sources[found.file].path + (f.line ? ":" + std::to_string(f.line) : "") + ": " +
         (f.error ? "error" : "warning") + ": " + f.text;
}

void write_lint_summary(const std::vector<Source> &sources, const std::vector<LintFinding> &found,
                        FILE *out) {
  if (found.empty())
    return;
  fprintf(out, "database mistakes in the table's rows (isp_table lint): %zu\n", found.size());
  for (const LintFinding &f : found)
    fprintf(out, "  %s\n", lint_line(sources, f).c_str());
}
