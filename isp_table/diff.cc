#include "diff.h"

#include <string.h>

#include <set>

#include "digits.h"
#include "identity.h"
#include "pieces.h"
#include "sid_table.h"
#include "sources.h"

namespace {

// An IMSI's MCC can only be three digits: other MCCs no SIM ever reaches.
std::set<std::string> named_mccs(const Table &a, const Table &b) {
  std::set<std::string> mccs;
  for (const Table *table : {&a, &b})
    for (const auto &rows : table->by_key)
      if (all_digits(rows.first.first, 3, 3))
        mccs.insert(rows.first.first);
  return mccs;
}

// isp_pick's own lookup order tells which MCCs are looked up with all three
// MNC digits first.
bool three_digit_mnc_first(const std::string &m) {
  LookupKey keys[kMaxLookups];
  return lookup_order(m.c_str(), "000", true, keys) > 1;
}

bool has_key(const Table &a, const Table &b, const std::string &m, const std::string &n) {
  return a.by_key.count({m, n}) || b.by_key.count({m, n});
}

// Any row of the three-digit key, whole or not, can leave something in the
// record, so such an IMSI is a group of its own; the rest share the lookup
// of two digits.
void add_long_mncs(const Table &a, const Table &b, const std::string &m, const std::string &xy,
                   std::vector<SimGroup> *groups) {
  std::vector<SimGroup> own;
  std::string rest;
  for (char z = '0'; z <= '9'; z++) {
    std::string n = xy + z;
    if (has_key(a, b, m, n))
      own.push_back({network_name(m, n), m, n, true});
    else if (rest.empty())
      rest = n;
  }
  if (!rest.empty())
    groups->push_back({network_name(m, xy), m, rest, true});
  groups->insert(groups->end(), own.begin(), own.end());
}

void add_mcc(const Table &a, const Table &b, const std::string &m, std::vector<SimGroup> *groups) {
  bool long_mncs = three_digit_mnc_first(m);
  for (int i = 0; i < 100; i++) {
    std::string xy = {char('0' + i / 10), char('0' + i % 10)};
    if (long_mncs)
      add_long_mncs(a, b, m, xy, groups);
    else
      groups->push_back({network_name(m, xy), m, xy + "0", true});
  }
}

void add_sids(std::vector<SimGroup> *groups) {
  size_t count;
  const SidRange *ranges = sid_ranges(&count);
  for (size_t i = 0; i < count; i++) {
    const SidRange &r = ranges[i];
    std::string name = "SID " + std::to_string(r.first);
    if (r.last != r.first)
      name += "-" + std::to_string(r.last);
    groups->push_back({name, r.mcc, r.mnc, false});
  }
  // A SID outside the table is looked up with the empty identity.
  groups->push_back({"SID other", "", "", false});
}

std::string whole_profile(const isp_profile &p) {
  std::string text;
  for (const StoreItem &item : store_items(p))
    text += (text.empty() ? "" : ", ") + std::string(item.name) + " " + item.value;
  return text;
}

std::string changed_items(const isp_profile &was, const isp_profile &now) {
  std::vector<StoreItem> before = store_items(was), after = store_items(now);
  std::string text;
  for (size_t i = 0; i < before.size(); i++) {
    if (before[i].value == after[i].value)
      continue;
    text += (text.empty() ? "" : ", ") + std::string(before[i].name) + " " + before[i].value +
            " -> " + after[i].value;
  }
  return text;
}

struct Counts {
  size_t groups = 0, changed = 0, gaining = 0, losing = 0;
};

void count(Change change, Counts *counts) {
  counts->changed += change == Change::kChanged;
  counts->gaining += change == Change::kGains;
  counts->losing += change == Change::kLoses;
}

Counts write_changes(const Table &was, const Table &now, FILE *out) {
  Counts counts;
  for (const SimGroup &g : sim_groups(was, now)) {
    counts.groups++;
    const char *m = g.mcc.c_str(), *n = g.mnc.c_str();
    std::string text;
    Change change = profile_change(run_lookups(was, m, n, g.from_imsi),
                                   run_lookups(now, m, n, g.from_imsi), &text);
    if (change != Change::kNone)
      fprintf(out, "%s: %s\n", g.name.c_str(), text.c_str());
    count(change, &counts);
  }
  return counts;
}

}  // namespace

std::vector<SimGroup> sim_groups(const Table &a, const Table &b) {
  std::vector<SimGroup> groups;
  for (const std::string &m : named_mccs(a, b))
    add_mcc(a, b, m, &groups);
  add_sids(&groups);
  return groups;
}

Change profile_change(const Answer &was, const Answer &now, std::string *text) {
  if (was.line == 0 && now.line == 0)
    return Change::kNone;
  if (was.line == 0) {
    *text = "gains NEW:" + std::to_string(now.line) + ": " + whole_profile(now.profile);
    return Change::kGains;
  }
  if (now.line == 0) {
    *text = "loses OLD:" + std::to_string(was.line) + ": " + whole_profile(was.profile);
    return Change::kLoses;
  }
  *text = changed_items(was.profile, now.profile);
  if (text->empty())
    return Change::kNone;
  *text += " (OLD:" + std::to_string(was.line) + " -> NEW:" + std::to_string(now.line) + ")";
  return Change::kChanged;
}

int diff_tables(const Table &was, const Table &now, FILE *out) {
  Counts counts = write_changes(was, now, out);
  size_t changes = counts.changed + counts.gaining + counts.losing;
  fprintf(out, "%zu of %zu SIM groups change: %zu changed, %zu gaining, %zu losing\n", changes,
          counts.groups, counts.changed, counts.gaining, counts.losing);
  return changes > 0 ? 1 : 0;
}
