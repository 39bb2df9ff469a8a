#include "gate.h"

#include <string.h>

#include <map>
#include <tuple>

#include "digits.h"
#include "operator_table.h"
#include "pieces.h"

namespace {

bool blank(char c) { return c == ' ' || c == '\t'; }

void skip_blanks(const std::string &s, size_t *at) {
  while (*at < s.size() && blank(s[*at]))
    (*at)++;
}

// The next run of non-blank characters, after blanks; "" at the end.
std::string next_word(const std::string &s, size_t *at) {
  skip_blanks(s, at);
  size_t start = *at;
  while (*at < s.size() && !blank(s[*at]))
    (*at)++;
  return s.substr(start, *at - start);
}

// A SID as the SID table writes one: 1 to 5 digits, no leading zero.
bool sid_number(const std::string &s) { return all_digits(s, 1, 5) && s[0] != '0'; }

// A group as diff names one: "262-01", "405-854", "SID 14554-14574",
// "SID 2222", "SID other".
bool group_name(const std::string &g) {
  if (g.size() > 4 && g.compare(0, 4, "SID ") == 0) {
    std::string sids = g.substr(4);
    size_t dash = sids.find('-');
    if (dash == std::string::npos)
      return sids == "other" || sid_number(sids);
    return sid_number(sids.substr(0, dash)) && sid_number(sids.substr(dash + 1));
  }
  return g.size() > 4 && g[3] == '-' && all_digits(g.substr(0, 3), 3, 3) &&
         all_digits(g.substr(4), 2, 3);
}

int hex_digit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// The bytes of a quoted value, "..." with \t, \", \\ and \xNN, from `*at`
// just after its opening quote to just after its closing one. False when
// the quote is not closed or an escape is none of those.
bool unquote(const std::string &s, size_t *at, std::string *bytes) {
  for (size_t i = *at; i < s.size(); i++) {
    if (s[i] == '"') {
      *at = i + 1;
      return true;
    }
    if (s[i] != '\\') {
      *bytes += s[i];
      continue;
    }
    char e = i + 1 < s.size() ? s[++i] : 0;
    if (e == 't' || e == '"' || e == '\\') {
      *bytes += e == 't' ? '\t' : e;
    } else if (e == 'x' && i + 2 < s.size() && hex_digit(s[i + 1]) >= 0 &&
               hex_digit(s[i + 2]) >= 0) {
      *bytes += char(hex_digit(s[i + 1]) * 16 + hex_digit(s[i + 2]));
      i += 2;
    } else {
      return false;
    }
  }
  return false;
}

// An APN as diff quotes it, or "-" for no profile, into `*apn`; else the
// problem. `which` is "before" or "after".
std::string read_apn(const std::string &s, size_t *at, const char *which, std::string *apn) {
  skip_blanks(s, at);
  std::string want = std::string("want the APN ") + which +
                     " as diff quotes it (\"internet\"), or - for no profile";
  if (*at >= s.size() || s[*at] != '"') {
    *apn = next_word(s, at);
    return *apn == "-" ? "" : want + (apn->empty() ? "" : ", not " + *apn);
  }
  size_t start = (*at)++;
  std::string bytes;
  if (!unquote(s, at, &bytes) || (*at < s.size() && !blank(s[*at])))
    return want;
  *apn = s.substr(start, *at - start);
  // One way to write each APN, diff's: an allowance matches its line.
  if (*apn != shown(bytes))
    return std::string("diff quotes the APN ") + which + " " + shown(bytes) + ", not " + *apn;
  return "";
}

bool leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

// A day of the calendar written YYYY-MM-DD.
bool date(const std::string &d) {
  if (d.size() != 10 || d[4] != '-' || d[7] != '-' || !all_digits(d.substr(0, 4), 4, 4) ||
      !all_digits(d.substr(5, 2), 2, 2) || !all_digits(d.substr(8, 2), 2, 2))
    return false;
  int y = std::stoi(d.substr(0, 4)), m = std::stoi(d.substr(5, 2)), day = std::stoi(d.substr(8));
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m >= 1 && m <= 12 && day >= 1 && day <= kDays[m - 1] + (m == 2 && leap(y));
}

// One allowance line into `*a`; else what is wrong with it.
std::string read_line(const std::string &s, Allowance *a) {
  size_t at = 0;
  a->group = next_word(s, &at);
  if (a->group == "SID")
    a->group += " " + next_word(s, &at);
  if (!group_name(a->group))
    return "\"" + a->group +
           "\" is no SIM group as diff names one (262-01, 405-854, SID 14554-14574, SID other)";
  std::string problem = read_apn(s, &at, "before", &a->before);
  if (!problem.empty())
    return problem;
  std::string arrow = next_word(s, &at);
  if (arrow != "->")
    return "want -> between the APNs" + (arrow.empty() ? "" : ", not " + arrow);
  problem = read_apn(s, &at, "after", &a->after);
  if (!problem.empty())
    return problem;
  a->date = next_word(s, &at);
  if (!date(a->date))
    return "want the date as YYYY-MM-DD after the APNs" +
           (a->date.empty() ? "" : ", not " + a->date);
  skip_blanks(s, &at);
  size_t end = s.size();
  while (end > at && blank(s[end - 1]))
    end--;
  a->reason = s.substr(at, end - at);
  if (a->reason.empty())
    return "no reason after the date: say why the change is allowed";
  // The gate never stops these, so an allowance of one could never match.
  if (a->before == "-")
    return "a group that gains a profile always passes the gate: nothing to allow";
  if (a->before == a->after)
    return "the same APN before and after: nothing to allow";
  return "";
}

// An allowance's identity: what it must match exactly.
using Key = std::tuple<std::string, std::string, std::string>;

// The APN a run leaves in the store as diff quotes it, or "-" for none.
std::string shown_apn(const Answer &a) {
  if (a.line == 0)
    return "-";
  for (const StoreItem &item : store_items(a.profile))
    if (strcmp(item.name, kColumnRules[kApn].store_item) == 0)
      return item.value;
  return "-";
}

std::string change_text(const GatedChange &g) {
  return g.change->group.sim.name + " " + g.before + " -> " + g.after;
}

}  // namespace

std::vector<Allowance> read_allowances(const std::string &text, Findings *found) {
  std::vector<Allowance> allowances;
  std::map<Key, int> seen;
  int number = 0;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    std::string line = text.substr(start, end == std::string::npos ? end : end - start);
    start = end == std::string::npos ? text.size() : end + 1;
    number++;
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    size_t first = 0;
    skip_blanks(line, &first);
    if (first == line.size() || line[first] == '#')
      continue;
    Allowance a;
    a.line = number;
    std::string problem = read_line(line, &a);
    auto earlier = seen.find(Key(a.group, a.before, a.after));
    if (problem.empty() && earlier != seen.end())
      problem = "the same change as line " + std::to_string(earlier->second);
    if (!problem.empty()) {
      found->report(number, true, problem, "malformed-allowance");
      continue;
    }
    seen[Key(a.group, a.before, a.after)] = number;
    allowances.push_back(a);
  }
  return allowances;
}

Verdict judge(const Comparison &c, const std::vector<Allowance> &allowances) {
  std::map<Key, const Allowance *> by_change;
  for (const Allowance &a : allowances)
    by_change[Key(a.group, a.before, a.after)] = &a;
  Verdict v;
  v.allowances = allowances.size();
  std::map<const Allowance *, bool> used;
  for (const GroupChange &gc : c.changes) {
    GatedChange g{&gc, shown_apn(gc.was), shown_apn(gc.now), nullptr};
    bool lost = gc.change == Change::kLoses;
    if (!lost && (gc.change != Change::kChanged || g.before == g.after))
      continue;
    auto match = by_change.find(Key(gc.group.sim.name, g.before, g.after));
    if (match != by_change.end()) {
      g.allowance = match->second;
      used[match->second] = true;
    } else {
      v.refused.report(0, true,
                       change_text(g) + (lost ? ": the profile is lost" : ": the APN changes") +
                           ", and no allowance matches",
                       lost ? "loss-not-allowed" : "apn-change-not-allowed");
    }
    v.counted.push_back(g);
  }
  for (const Allowance &a : allowances)
    if (!used.count(&a))
      v.stale.report(a.line, false,
                     a.group + " " + a.before + " -> " + a.after +
                         ": no SIM group changes so (a stale allowance)",
                     "stale-allowance");
  return v;
}

void write_verdict(const std::string &path, const Verdict &v, FILE *out) {
  for (const Findings *found : {&v.refused, &v.stale})
    for (const Finding &f : found->list)
      print_finding(path.c_str(), f, out);
  size_t refused = v.refused.list.size();
  fprintf(out,
          "gate: %zu changes counted: %zu allowed, %zu not allowed; %zu of %zu allowances stale\n",
          v.counted.size(), v.counted.size() - refused, refused, v.stale.list.size(), v.allowances);
}

Json verdict_json(const std::string &path, const Verdict &v) {
  Json allowed = Json::array();
  for (const GatedChange &g : v.counted) {
    if (!g.allowance)
      continue;
    const GroupChange &gc = *g.change;
    allowed.push_back({{"name", gc.group.sim.name},
                       {"before", gc.was.line ? Json(std::string(gc.was.profile.apn)) : Json()},
                       {"after", gc.now.line ? Json(std::string(gc.now.profile.apn)) : Json()},
                       {"line", g.allowance->line},
                       {"date", g.allowance->date},
                       {"reason", g.allowance->reason}});
  }
  return {{"allowances", path},
          {"counted", v.counted.size()},
          {"allowed", allowed},
          {"not_allowed", findings_json(path, v.refused)},
          {"stale", findings_json(path, v.stale)}};
}
