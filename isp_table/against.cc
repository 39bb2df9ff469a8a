#include "against.h"

#include <algorithm>
#include <map>
#include <set>

#include "merge.h"
#include "names.h"
#include "operator_table.h"
#include "pieces.h"
#include "sets.h"
#include "summary.h"
#include "table.h"

namespace {

// What the public data knows, by network and by APN.
struct PublicData {
  std::set<NetworkId> networks;
  std::map<std::string, std::set<NetworkId>> listed;  // folded APN -> networks listing it
  std::map<NetworkId, std::set<std::string>> apns;    // network -> its APNs as written
  // folded APN -> the MCCs and the operators (first words of names) listing it
  std::map<std::string, std::pair<std::set<std::string>, std::set<std::string>>> reach;
};

// An APN listed under this many MCCs by this many operators is a word any
// operator may use ("internet", "mms", "web"), not one operator's: that
// other networks list it says nothing about the row. On the real databases
// an operator's own APN reaches at most five MCCs ("live.vodafone.com");
// a reseller host's reaches many operators under one MCC ("att.mvno").
constexpr size_t kGenericReach = 6;

// A marked reseller's APN on its host's network is not the host's: a row
// carrying it reaches the host's own SIMs too, so where the merge's
// reseller rule (Merge::stands) leaves it out, it counts as unlisted.
PublicData public_data(const std::vector<Source> &sources, const Merge &merge) {
  PublicData d;
  for (const Source &s : sources) {
    // A carrier list lists no APN: its networks are none the public data
    // can judge a row of.
    if (s.carrier_list)
      continue;
    for (const auto &network : s.networks)
      d.networks.insert(network.first);
    for (const Listing &l : s.listings) {
      for (const NetworkId &id : l.networks) {
        if (!merge.stands(l, id))
          continue;
        d.listed[folded_apn(l.apn)].insert(id);
        d.apns[id].insert(l.apn);
        d.reach[folded_apn(l.apn)].first.insert(id.first);
        d.reach[folded_apn(l.apn)].second.insert(operator_word(l.name));
      }
    }
  }
  return d;
}

// "440-10, 440-20": the first three, in order.
template <typename Items, typename Show>
std::string first_three(const Items &items, Show show) {
  std::string list;
  size_t listed = 0;
  for (auto it = items.begin(); it != items.end() && listed < 3; ++it, ++listed)
    list += (listed ? ", " : "") + show(*it);
  return list;
}

std::string networks_text(const std::set<NetworkId> &ids) {
  return first_three(ids, [](const NetworkId &id) { return network_name(id); });
}

std::set<NetworkId> keys_of(const std::set<NetworkId> &networks) {
  std::set<NetworkId> keys;
  for (const NetworkId &id : networks)
    keys.insert(lookup_key(id));
  return keys;
}

// The APNs the public data lists for `networks`, as written, and in
// `listing` those of the networks that list any: first the ranking's
// choice for each of their keys (the operator's own APN), then the others
// in byte order, each once whatever its case, so that a hint names the APN
// the row was meant to carry before a reseller's.
std::vector<std::string> listed_for(const PublicData &d, const Merge &merge,
                                    const std::set<NetworkId> &networks,
                                    std::set<NetworkId> *listing) {
  std::set<std::string> theirs;
  for (const NetworkId &id : networks) {
    auto it = d.apns.find(id);
    if (it == d.apns.end() || it->second.empty())
      continue;
    theirs.insert(it->second.begin(), it->second.end());
    listing->insert(id);
  }
  std::vector<std::string> first, ordered;
  for (const NetworkId &key : keys_of(networks)) {
    const Listing *row = merge.choice(key).row;
    if (row && theirs.count(row->apn))
      first.push_back(row->apn);
  }
  first.insert(first.end(), theirs.begin(), theirs.end());
  // One APN written in two cases ("orange", "Orange") is named once.
  std::set<std::string> named;
  for (const std::string &apn : first)
    if (named.insert(folded_apn(apn)).second)
      ordered.push_back(apn);
  return ordered;
}

// An APN that no network lists: what the key's networks list instead.
std::string unlisted(const PublicData &d, const Merge &merge, const std::set<NetworkId> &networks,
                     const std::string &apn) {
  std::set<NetworkId> listing;
  std::vector<std::string> theirs = listed_for(d, merge, networks, &listing);
  if (theirs.empty())
    return "";
  return "the public data lists " + first_three(theirs, shown) + " for " +
         networks_text(listing) + ", not " + shown(apn);
}

// ", which lists "rakuten.jp"": what the row's own networks list, so that
// the warning says which APN the row was meant to carry.
std::string own_listing(const PublicData &d, const Merge &merge,
                        const std::set<NetworkId> &networks) {
  std::set<NetworkId> listing;
  std::vector<std::string> theirs = listed_for(d, merge, networks, &listing);
  if (theirs.empty())
    return "";
  return std::string(networks.size() == 1 ? ", which lists " : ", which list ") +
         first_three(theirs, shown);
}

bool generic(const PublicData &d, const std::string &folded) {
  auto it = d.reach.find(folded);
  return it != d.reach.end() && it->second.first.size() >= kGenericReach &&
         it->second.second.size() >= kGenericReach;
}

// "APN "mopera.net" on 440-11 is another operator's ("NTT docomo"), not
// the network's own "rakuten.jp" ("Rakuten"): decided by ...": an APN that
// the public data lists for the row's networks, but that the merge's
// ranking gives to another operator than the networks' own by a deciding
// sign, not by a weak tie-break.
std::string another_operators(const Merge &merge, const std::set<NetworkId> &networks,
                              const std::string &apn) {
  for (const NetworkId &key : keys_of(networks)) {
    Judgement j = merge.judge(key, apn);
    if (j.another_operators())
      return "APN " + shown(apn) + " on " + network_name(key) + " is another operator's (" +
             shown_name(j.listing->name) + "), not the network's own " + shown(j.chosen->apn) +
             " (" + shown_name(j.chosen->name) + "): decided by " + outcome_name(j.sign);
  }
  return "";
}

// The warning on a row that answers for `networks` with `apn`, its text
// "" when there is none. An empty APN, which leaves the choice to the
// modem, is no other operator's; a generic one is held only against what
// the row's networks list.
AgainstFinding contradiction(const PublicData &d, const Merge &merge,
                             const std::set<NetworkId> &networks, const std::string &apn) {
  // The ranking's own row, a spelling mended from the operator's other
  // entry too ("umts"), is what generating writes: nothing to warn of.
  for (const NetworkId &key : keys_of(networks)) {
    const Listing *row = merge.choice(key).row;
    if (row && folded_apn(row->apn) == folded_apn(apn))
      return {0, "", nullptr};
  }
  auto listed = d.listed.find(folded_apn(apn));
  if (listed != d.listed.end() && !disjoint(listed->second, networks))
    return {0, apn.empty() ? "" : another_operators(merge, networks, apn),
            "another-operators-apn"};
  if (listed == d.listed.end() || apn.empty() || generic(d, listed->first))
    return {0, unlisted(d, merge, networks, apn), "apn-not-listed"};
  return {0,
          "APN " + shown(apn) + " is listed for " + networks_text(listed->second) +
              ", not for " + networks_text(networks) + own_listing(d, merge, networks),
          "apn-of-other-networks"};
}

}  // namespace

// Each network's SIMs are looked up as the router looks them up, so a
// two-digit row under MCC 405 serves the three-digit networks it answers.
// Placeholder rows answer the empty identity, which no network of the
// public data has, so only the CDMA rows need skipping.
std::vector<AgainstFinding> check_against(const Table &table, const std::vector<Source> &sources) {
  std::vector<AgainstFinding> found;
  Merge merge(source_list(sources));
  PublicData d = public_data(sources, merge);
  std::map<int, std::pair<std::string, std::set<NetworkId>>> rows;  // line -> APN, networks
  for (const NetworkId &id : d.networks) {
    Answer a = run_lookups(table, id.first.c_str(), id.second.c_str(), true);
    if (a.line == 0 || a.profile.system == kCdma2000)
      continue;
    rows[a.line].first = a.profile.apn;
    rows[a.line].second.insert(id);
  }
  for (const auto &row : rows) {
    AgainstFinding f = contradiction(d, merge, row.second.second, row.second.first);
    f.line = row.first;
    if (!f.text.empty())
      found.push_back(f);
  }
  return found;
}
