#include "diff.h"

#include <string.h>

#include <set>

#include "digits.h"
#include "network_id.h"
#include "pieces.h"
#include "sid_table.h"
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

// The groups of one MCC's IMSIs, ten MNC starts at a time: a two-digit
// group ("405-85") holds the ten three-digit MNCs but those that form
// groups of their own ("405-854") beside it.
void add_mcc(const Table &a, const Table &b, const std::string &m, std::vector<Group> *groups) {
  HasKey has_key = [&](const std::string &mcc, const std::string &mnc) {
    return a.by_key.count({mcc, mnc}) || b.by_key.count({mcc, mnc});
  };
  for (int i = 0; i < 100; i++) {
    std::string xy = {char('0' + i / 10), char('0' + i % 10)};
    std::vector<Sim> sims = imsi_sims(m, xy, has_key);
    std::vector<std::string> own;
    for (const Sim &sim : sims)
      if (sim.name != network_name(m, xy))
        own.push_back(sim.mnc);
    for (const Sim &sim : sims) {
      bool whole = sim.name == network_name(m, xy);
      groups->push_back({sim, whole ? xy + "0" : sim.mnc, whole ? xy + "9" : sim.mnc,
                         whole ? own : std::vector<std::string>()});
    }
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

void count(Change change, Comparison *c) {
  c->changed += change == Change::kChanged;
  c->gaining += change == Change::kGains;
  c->losing += change == Change::kLoses;
}

const char *change_word(Change change) {
  switch (change) {
    case Change::kChanged: return "changed";
    case Change::kGains: return "gains";
    case Change::kLoses: return "loses";
    case Change::kNone: break;
  }
  return "none";
}

Json group_json(const Group &g) {
  if (g.sim.from_imsi)
    return {{"mcc", g.sim.mcc}, {"mnc_from", g.mnc_from}, {"mnc_to", g.mnc_to},
            {"except", g.except}};
  if (g.sid_from == 0)
    return {{"sid", "other"}};
  return {{"sid_from", g.sid_from}, {"sid_to", g.sid_to}};
}

// The store's values as they are, not escaped: JSON carries any text, and
// the writer marks bytes that are not UTF-8.
Json profile_json(const Answer &a) {
  if (a.line == 0)
    return nullptr;
  const isp_profile &p = a.profile;
  using S = std::string;
  return {{"line", a.line},     {"index", S(p.index)},   {"system", p.system},
          {"apn", S(p.apn)},    {"user", S(p.usr)},      {"password", S(p.pwd)},
          {"number", S(p.number)}};
}

}  // namespace

std::vector<Group> compared_groups(const Table &a, const Table &b) {
  std::vector<Group> groups;
  for (const std::string &m : named_mccs(a, b))
    add_mcc(a, b, m, &groups);
  // sid_sims gives every range of the SID table, in its order.
  size_t count;
  const SidRange *ranges = sid_ranges(&count);
  std::vector<Sim> cards = sid_sims(nullptr);
  for (size_t i = 0; i < cards.size() && i < count; i++)
    groups.push_back({cards[i], "", "", {}, ranges[i].first, ranges[i].last});
  // A SID outside the table is looked up with the empty identity.
  groups.push_back({{"SID other", "", "", false}, "", "", {}, 0, 0});
  return groups;
}

std::vector<Sim> sim_groups(const Table &a, const Table &b) {
  std::vector<Sim> sims;
  for (const Group &g : compared_groups(a, b))
    sims.push_back(g.sim);
  return sims;
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

Comparison compare_tables(const Table &was, const Table &now) {
  Comparison c;
  for (const Group &g : compared_groups(was, now)) {
    c.groups++;
    GroupChange gc{g, Change::kNone, run_lookups(was, g.sim), run_lookups(now, g.sim), ""};
    gc.change = profile_change(gc.was, gc.now, &gc.text);
    count(gc.change, &c);
    if (gc.change != Change::kNone)
      c.changes.push_back(std::move(gc));
  }
  return c;
}

void write_comparison(const Comparison &c, FILE *out) {
  for (const GroupChange &gc : c.changes)
    fprintf(out, "%s: %s\n", gc.group.sim.name.c_str(), gc.text.c_str());
  fprintf(out, "%zu of %zu SIM groups change: %zu changed, %zu gaining, %zu losing\n",
          c.changes.size(), c.groups, c.changed, c.gaining, c.losing);
}

void add_comparison_json(const Comparison &c, const std::string &old_path,
                         const std::string &new_path, Json *doc) {
  (*doc)["old"] = old_path;
  (*doc)["new"] = new_path;
  (*doc)["groups"] = c.groups;
  Json changes = Json::array();
  for (const GroupChange &gc : c.changes)
    changes.push_back({{"group", group_json(gc.group)},
                       {"name", gc.group.sim.name},
                       {"change", change_word(gc.change)},
                       {"before", profile_json(gc.was)},
                       {"after", profile_json(gc.now)}});
  (*doc)["changes"] = changes;
  (*doc)["counts"] = {{"changing", c.changes.size()},
                      {"changed", c.changed},
                      {"gaining", c.gaining},
                      {"losing", c.losing}};
}

bool diff_tables(const Table &was, const Table &now, FILE *out) {
  Comparison c = compare_tables(was, now);
  write_comparison(c, out);
  return !c.changes.empty();
}
