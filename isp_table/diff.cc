#include "diff.h"

#include <string.h>

#include <set>

#include "digits.h"
#include "pieces.h"
#include "sims.h"
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

void add_mcc(const Table &a, const Table &b, const std::string &m, std::vector<Sim> *groups) {
  HasKey has_key = [&](const std::string &mcc, const std::string &mnc) {
    return a.by_key.count({mcc, mnc}) || b.by_key.count({mcc, mnc});
  };
  for (int i = 0; i < 100; i++) {
    std::vector<Sim> sims = imsi_sims(m, {char('0' + i / 10), char('0' + i % 10)}, has_key);
    groups->insert(groups->end(), sims.begin(), sims.end());
  }
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
  for (const Sim &g : sim_groups(was, now)) {
    counts.groups++;
    std::string text;
    Change change = profile_change(run_lookups(was, g), run_lookups(now, g), &text);
    if (change != Change::kNone)
      fprintf(out, "%s: %s\n", g.name.c_str(), text.c_str());
    count(change, &counts);
  }
  return counts;
}

}  // namespace

std::vector<Sim> sim_groups(const Table &a, const Table &b) {
  std::vector<Sim> groups;
  for (const std::string &m : named_mccs(a, b))
    add_mcc(a, b, m, &groups);
  std::vector<Sim> cards = sid_sims(nullptr);
  groups.insert(groups.end(), cards.begin(), cards.end());
  // A SID outside the table is looked up with the empty identity.
  groups.push_back({"SID other", "", "", false});
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

bool diff_tables(const Table &was, const Table &now, FILE *out) {
  Counts counts = write_changes(was, now, out);
  size_t changes = counts.changed + counts.gaining + counts.losing;
  fprintf(out, "%zu of %zu SIM groups change: %zu changed, %zu gaining, %zu losing\n", changes,
          counts.groups, counts.changed, counts.gaining, counts.losing);
  return changes > 0;
}
