// The lint's findings on network ids: two primary providers of one
// network, a network written with two and with three MNC digits, and ids
// that cannot exist carrying another country's APN.
#include <ctype.h>

#include <map>
#include <set>

#include "lint.h"
#include "names.h"
#include "pieces.h"

namespace {

// The primary mark names the network's own operator; two marks leave the
// ranking to weaker signs.
void two_primaries(const Source &s, std::vector<LintFinding> *found) {
  std::map<NetworkId, const Listing *> primary;     // network -> its first primary provider's entry
  std::set<std::pair<NetworkId, size_t>> reported;  // (network, lister)
  for (const Listing *l : lint_entries(s))
    for (const NetworkId &id : l->networks) {
      if (l->primary <= 0)
        continue;
      const Listing *&first = primary[id];
      if (!first)
        first = l;
      if (first->lister == l->lister || !reported.insert({id, l->lister}).second)
        continue;
      LintFinding f = lint_finding(
          *l, false,
          "provider " + shown_name(l->name) + " is marked primary=\"true\" on " + network_name(id) +
              ", as " + shown_name(first->name) + " (line " + std::to_string(first->line) +
              ") is: which operates the network is left to weaker signs",
          "two-primary-providers");
      f.networks = {id};
      found->push_back(f);
    }
}

// Which of the providers sharing a key (the networks isp_pick looks up by
// it) operates it is what the primary mark says; unmarked, and with
// internet APNs that differ, the ranking leaves it to weaker signs.
// Providers that agree on the APN give the same row whoever operates it:
// no finding.
void no_primary(const Source &s, std::vector<LintFinding> *found) {
  struct Shared {
    const Listing *first = nullptr;
    std::set<size_t> providers;
    std::set<std::string> apns;  // folded
    bool marked = false;
  };
  std::map<NetworkId, Shared> shared;
  for (const Listing &l : s.listings)
    for (const NetworkId &id : l.networks) {
      Shared &n = shared[lookup_key(id)];
      n.first = n.first ? n.first : &l;
      n.providers.insert(l.lister);
      n.apns.insert(folded_apn(l.apn));
      n.marked |= l.primary > 0;
    }
  for (const auto &network : shared) {
    const Shared &n = network.second;
    if (n.marked || n.providers.size() < 2 || n.apns.size() < 2)
      continue;
    LintFinding f = lint_finding(
        *n.first, false,
        std::to_string(n.providers.size()) + " providers list " + network_name(network.first) +
            " with " + std::to_string(n.apns.size()) +
            " internet APNs, and none is marked primary=\"true\": which operates the network is "
            "left to weaker signs",
        "no-primary-provider");
    f.networks = {network.first};
    f.apn.clear();  // the network's, not one APN's
    found->push_back(f);
  }
}

// Whether isp_pick reads only two MNC digits of a SIM of `id`, a
// three-digit id: its key is the two-digit network it begins with.
bool read_short(const NetworkId &id) {
  return id.second.size() == 3 && lookup_key(id) == NetworkId(id.first, id.second.substr(0, 2));
}

NetworkId shortened(const NetworkId &id) { return {id.first, id.second.substr(0, 2)}; }

// Where the MCC's networks are mostly two-digit and isp_pick reads two
// digits, a three-digit id is no network of its own (Android's 222-010).
std::set<NetworkId> impossible_ids(const std::vector<Source> &sources) {
  std::set<NetworkId> ids;
  for (const Source &s : sources)
    if (!s.carrier_list)
      for (const auto &network : s.networks)
        ids.insert(network.first);
  std::map<std::string, long> longer;  // MCC -> three-digit ids less two-digit ones
  for (const NetworkId &id : ids)
    longer[id.first] += id.second.size() == 3 ? 1 : -1;
  std::set<NetworkId> impossible;
  for (const NetworkId &id : ids)
    if (read_short(id) && longer[id.first] < 0)
      impossible.insert(id);
  return impossible;
}

// The country an APN's last label names, upper case as the provider
// database's codes are read ("MX" of "web.iusacellgsm.mx"); "" for none.
std::string named_country(const std::string &apn) {
  size_t dot = apn.rfind('.');
  if (dot == std::string::npos || apn.size() - dot != 3 || !isalpha((unsigned char)apn[dot + 1]) ||
      !isalpha((unsigned char)apn[dot + 2]))
    return "";
  return {(char)toupper((unsigned char)apn[dot + 1]), (char)toupper((unsigned char)apn[dot + 2])};
}

// An id that cannot exist carrying an APN of another country: the
// country its APN names, where networks that can exist list it too
// (Android's 222-010 in Italy with Iusacell's "web.iusacellgsm.mx",
// listed for Mexico's 334-05). A listing's country is its provider's, or
// its MCC's as the provider databases give it (fill_android_regions).
class ForeignApns {
 public:
  explicit ForeignApns(const std::vector<Source> &sources) : impossible_(impossible_ids(sources)) {
    for (const Source &s : sources)
      for (const Listing &l : s.listings)
        for (const NetworkId &id : l.networks)
          if (!impossible_.count(id) && !l.region.empty())
            countries_[folded_apn(l.apn)].insert(l.region);
  }

  /// The country whose APN listing `l` carries on `id`, one that cannot exist; "" for none.
  std::string of(const Listing &l, const NetworkId &id) const {
    std::string apn = folded_apn(l.apn), named = named_country(apn);
    auto listed = countries_.find(apn);
    if (!impossible_.count(id) || l.region.empty() || named.empty() || named == l.region ||
        listed == countries_.end() || !listed->second.count(named))
      return "";
    return named;
  }

 private:
  std::set<NetworkId> impossible_;
  std::map<std::string, std::set<std::string>> countries_;  // folded APN -> countries listing it
};

// The internet APNs (folded) listed for each network, by the sources of APNs.
std::map<NetworkId, std::set<std::string>> listed_apns(const std::vector<Source> &sources) {
  std::map<NetworkId, std::set<std::string>> apns;
  for (const Source &s : sources)
    for (const Listing &l : s.listings)
      for (const NetworkId &id : l.networks)
        apns[id].insert(folded_apn(l.apn));
  return apns;
}

// 208-260 beside 208-26 with the same APN: one network twice, the SIMs
// isp_pick looks up as 208-26 either way. Another country's APN on such
// an id is the worse finding, and the one made.
void written_long(const std::vector<Source> &sources, std::vector<LintFinding> *found) {
  std::map<NetworkId, std::set<std::string>> apns = listed_apns(sources);
  ForeignApns foreign(sources);
  for (const Source &s : sources) {
    std::set<NetworkId> reported;
    for (const Listing &l : s.listings)
      for (const NetworkId &id : l.networks) {
        auto other = apns.find(shortened(id));
        if (!read_short(id) || other == apns.end() || !other->second.count(folded_apn(l.apn)) ||
            !foreign.of(l, id).empty() || !reported.insert(id).second)
          continue;
        LintFinding f = lint_finding(
            l, false,
            "network " + network_name(id) + " of " + shown_name(l.name) + " is " +
                network_name(shortened(id)) + " written with three MNC digits: both list " +
                shown(l.apn) + ", and isp_pick looks both up as " + network_name(shortened(id)),
            "network-id-written-long");
        f.networks = {id};
        found->push_back(f);
      }
  }
}

// Such an APN could win the key of the network the id begins with: its
// SIMs would be sent another country's APN.
void foreign_apns(const std::vector<Source> &sources, std::vector<LintFinding> *found) {
  ForeignApns foreign(sources);
  for (const Source &s : sources)
    for (const Listing &l : s.listings) {
      std::vector<NetworkId> ids;
      for (const NetworkId &id : l.networks)
        if (!foreign.of(l, id).empty())
          ids.push_back(id);
      if (ids.empty())
        continue;
      NetworkId key = shortened(ids[0]);
      LintFinding f = lint_finding(
          l, true,
          "APN " + shown(l.apn) + " of " + shown_name(l.name) + " names " + foreign.of(l, ids[0]) +
              " and is listed there, yet also for " + network_name(ids[0]) + " in " + l.region +
              ", a three-digit MNC where isp_pick reads two: SIMs of " + network_name(key) +
              " could be sent it",
          "apn-of-another-country");
      f.networks = ids;
      found->push_back(f);
    }
}

}  // namespace

void lint_networks(const std::vector<Source> &sources, std::vector<LintFinding> *found) {
  for (const Source &s : sources)
    if (!s.android && !s.carrier_list) {
      two_primaries(s, found);
      no_primary(s, found);
    }
  written_long(sources, found);
  foreign_apns(sources, found);
}
