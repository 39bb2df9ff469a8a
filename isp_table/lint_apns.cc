// The lint's findings on APN entries: blanks around an APN, one APN spelt
// two ways, a provider listing an APN or a network twice.
#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include "lint.h"
#include "names.h"
#include "pieces.h"

namespace {

std::vector<const Listing *> entries(const std::vector<Source> &sources) {
  std::vector<const Listing *> all;
  for (const Source &s : sources) {
    std::vector<const Listing *> its = lint_entries(s);
    all.insert(all.end(), its.begin(), its.end());
  }
  return all;
}

// Internet entries are what a router sends; the others are no row.
bool internet(const Source &s, const Listing &l) {
  return &l >= s.listings.data() && &l < s.listings.data() + s.listings.size();
}

// " of NAME (262-01)", " ..." after the network when it lists more.
std::string of(const Listing &l) {
  std::set<NetworkId> ids(l.networks.begin(), l.networks.end());
  if (ids.empty())
    return " of " + shown_name(l.name);
  return " of " + shown_name(l.name) + " (" + network_name(l.networks[0]) +
         (ids.size() > 1 ? " ..." : "") + ")";
}

// The network resolves the APN as written: "internet " is no APN it knows.
void blanks(const std::vector<Source> &sources, std::vector<LintFinding> *found) {
  for (const Listing *l : entries(sources))
    if (l->written_apn != l->apn) {
      bool sent = internet(sources[l->file], *l);
      found->push_back(lint_finding(*l, sent,
                                    "APN " + shown(l->written_apn) + of(*l) +
                                        " has blanks around it: " +
                                        (sent ? "a router sending it as written reaches no network"
                                              : "a phone sending it as written reaches no service"),
                                    "apn-blanks"));
    }
}

using Spellings = std::map<std::string, std::vector<const Listing *>>;  // folded APN -> entries

std::string where(const std::vector<Source> &sources, const Listing &l) {
  return sources[l.file].path + ":" + std::to_string(l.line);
}

// The providers and carriers listing a spelling: a provider repeating
// its own slip agrees with no one.
size_t listers(const std::vector<const Listing *> &entries) {
  std::set<size_t> who;
  for (const Listing *l : entries)
    who.insert(l->lister);
  return who.size();
}

// Of two spellings on one network, the one fewer listers list is the
// likely slip; on a tie, either may be.
void misspelt_pair(const std::vector<Source> &sources, const NetworkId &id,
                   const Spellings::value_type &odd, const Spellings::value_type &other,
                   std::map<std::pair<const Listing *, std::string>, LintFinding> *found) {
  if (listers(odd.second) > listers(other.second))
    return;
  const Listing &first = *odd.second.front();
  auto known = found->find({&first, other.first});
  if (known != found->end()) {
    known->second.networks.push_back(id);
    return;
  }
  size_t n = listers(other.second);
  LintFinding f =
      lint_finding(first, false,
                   "APN " + shown(first.apn) + of(first) + " is one slip from " +
                       shown(other.first) + ", which " + std::to_string(n) +
                       (n == 1 ? " provider or carrier lists" : " providers or carriers list") +
                       " for " + network_name(id) + " (" + where(sources, *other.second.front()) +
                       "): one of them is likely misspelt",
                   "apn-misspelt");
  f.networks = {id};
  found->emplace(std::make_pair(&first, other.first), f);
}

// One network's APNs, across the databases, that `mistyped` holds for
// one spelling of another.
void misspelt(const std::vector<Source> &sources, std::vector<LintFinding> *found) {
  std::map<NetworkId, Spellings> networks;
  for (const Listing *l : entries(sources))
    for (const NetworkId &id : l->networks) {
      std::vector<const Listing *> &listed = networks[id][folded_apn(l->apn)];
      if (listed.empty() || listed.back() != l)
        listed.push_back(l);
    }
  std::map<std::pair<const Listing *, std::string>, LintFinding> pairs;
  for (const auto &network : networks)
    for (auto a = network.second.begin(); a != network.second.end(); ++a)
      for (auto b = std::next(a); b != network.second.end(); ++b)
        if (mistyped(a->first, b->first)) {
          misspelt_pair(sources, network.first, *a, *b, &pairs);
          misspelt_pair(sources, network.first, *b, *a, &pairs);
        }
  for (const auto &p : pairs)
    found->push_back(p.second);
}

// A network id twice in one provider's entry says nothing new, as does
// the same APN for the same use with the same user and password; either
// hides which of them its maintainers meant to change.
void duplicate_ids(const Source &s, std::vector<LintFinding> *found) {
  std::set<size_t> reported;  // listers
  for (const Listing *l : lint_entries(s)) {
    std::set<NetworkId> ids;
    for (const NetworkId &id : l->networks)
      if (!ids.insert(id).second && reported.insert(l->lister).second)
        found->push_back(lint_finding(
            *l, false,
            "provider " + shown_name(l->name) + " lists network " + network_name(id) + " twice",
            "duplicate-network-id"));
  }
}

void duplicate_apns(const Source &s, std::vector<LintFinding> *found) {
  using Key = std::tuple<size_t, std::string, std::string, std::string, std::string>;
  std::map<Key, const Listing *> apns;
  for (const Listing *l : lint_entries(s)) {
    auto seen = apns.emplace(Key(l->lister, folded_apn(l->apn), l->usage, l->user, l->password), l);
    if (!seen.second)
      found->push_back(lint_finding(*l, false,
                                    "provider " + shown_name(l->name) + " lists APN " +
                                        shown(l->apn) +
                                        " again, for the same use with the same user and password, "
                                        "as line " +
                                        std::to_string(seen.first->second->line) + " does",
                                    "duplicate-apn"));
  }
}

// Android lists an APN per entry, told apart by what the reader keeps not.
void duplicates(const std::vector<Source> &sources, std::vector<LintFinding> *found) {
  for (const Source &s : sources)
    if (!s.android && !s.carrier_list) {
      duplicate_ids(s, found);
      duplicate_apns(s, found);
    }
}

}  // namespace

void lint_apns(const std::vector<Source> &sources, std::vector<LintFinding> *found) {
  blanks(sources, found);
  misspelt(sources, found);
  duplicates(sources, found);
}
