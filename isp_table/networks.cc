#include "networks.h"

#include <tuple>

#include "names.h"
#include "reasons.h"


// A three-digit MNC under an MCC whose networks are mostly two-digit, when
// its first two digits are a listed network, is that network's id written
// long (Android's 222-010 inside TIM's 22201x), not a network of its own.
// The lookup key stays the same; only what counts as one network changes.
static std::map<NetworkId, NetworkId> impossible_ids(const std::set<NetworkId> &ids) {
  std::map<std::string, std::pair<size_t, size_t>> digits;  // MCC -> two-digit, three-digit
  for (const NetworkId &id : ids)
    (id.second.size() == 2 ? digits[id.first].first : digits[id.first].second)++;
  std::map<NetworkId, NetworkId> read_as;
  for (const NetworkId &id : ids) {
    NetworkId shorter{id.first, id.second.substr(0, 2)};
    if (id.second.size() == 3 && ids.count(shorter) &&
        digits[id.first].first > digits[id.first].second && lookup_key(id) == lookup_key(shorter))
      read_as.emplace(id, shorter);
  }
  return read_as;
}

// A listing marked as a reseller's that is its network's operator's own:
// Android types some operators' own entries (Telus, O2 Germany, csl) as
// MVNO entries, and the provider database marks some with GID1.
static bool operators_own(const Networks &n, const Listing &l, const NetworkId &id) {
  auto op = n.carriers.find(id);
  if (op != n.carriers.end())
    return operated_by(l.name, l.apn, op->second);
  auto own = n.own_words.find(id);
  if (own == n.own_words.end())
    return false;
  for (const std::string &w : operator_words(l.name))
    if (own->second.count(w))
      return true;
  return false;
}

// A listing marked as a reseller's on network `id`: by its own database,
// or because Android's carrier identity database tells its SIMs apart
// there by a filter, as it tells a reseller's from its host's.
static bool marked(const Networks &n, const Listing &l, const NetworkId &id) {
  auto told = n.told_apart.find(id);
  return l.reseller() || (told != n.told_apart.end() && resold_by(l.name, told->second));
}

NetworkId Networks::read(const NetworkId &id) const {
  auto it = read_as.find(id);
  return it == read_as.end() ? id : it->second;
}

// isp_pick cannot read GID1, and a reseller's row would reach every SIM of
// its host's network.
bool Networks::stands(const Listing &l, const NetworkId &listed) const {
  NetworkId id = read(listed);
  return !marked(*this, l, id) || !own.count(id) || operators_own(*this, l, id);
}

const char *set_aside_as(const Listing &l) {
  if (l.gid1)
    return kLeftOut[kGid1Out].words;
  if (l.mvno)
    return kLeftOut[kMvnoOut].words;
  return kLeftOut[l.primary < 0 ? kSecondaryOut : kToldApartOut].words;
}

// A reseller set aside on `key`: the same one named for an APN whatever
// order the inputs come in.
static void set_aside(Networks *n, const Listing &l, const NetworkId &key) {
  n->set_aside[key].insert(&l);
  const Listing *&resold = n->resold[key][folded_apn(l.apn)];
  if (!resold || std::tie(l.name, l.line) < std::tie(resold->name, resold->line))
    resold = &l;
}

// A listing is a candidate for the keys of the networks it stands for; a key
// where it stands for none counts as a row left out, like any other.
static void add_listing(Networks *n, const Listing &l) {
  std::set<NetworkId> ids, keys, dropped;
  for (const NetworkId &listed : l.networks)
    ids.insert(n->read(listed));
  for (const NetworkId &id : ids) {
    if (!n->stands(l, id)) {
      dropped.insert(lookup_key(id));
      set_aside(n, l, lookup_key(id));
      continue;
    }
    keys.insert(lookup_key(id));
    n->apns[id].insert(l.apn);
    if (l.gid1)
      n->gid1_only.insert(id);
    n->standing[lookup_key(id)].push_back({&l, id});
    n->all.push_back({&l, id});
  }
  for (const NetworkId &key : dropped)
    n->left_out[set_aside_as(l)] += !keys.count(key);
}

// The operators the carrier lists name, and the carriers they tell apart
// by a filter. Where no database lists the operator the carrier lists
// name, marking its resellers would hand the row to one the lists do not
// know.
static void add_carriers(Networks *n, const std::vector<const Source *> &sources) {
  CarrierFilters filters(sources);
  n->carriers = filters.operators();
  NetworkOperators listed;
  for (const Source *s : sources)
    for (const Listing &l : s->listings)
      for (const NetworkId &id : l.networks) {
        auto op = n->carriers.find(id);
        if (op != n->carriers.end() && operated_by(l.name, l.apn, op->second))
          listed.insert(*op);
      }
  n->told_apart = filters.resellers(listed);
}

// The table's networks (a carrier list's networks have no APN listed: none
// is one), and the ids written long read as the network they begin with.
static void add_ids(Networks *n, const std::vector<const Source *> &sources) {
  std::set<NetworkId> ids;
  for (const Source *s : sources)
    if (!s->carrier_list)
      for (const auto &network : s->networks)
        ids.insert(network.first);
  n->read_as = impossible_ids(ids);
}

// Each network's name: its own first, before the names of its ids written
// long, and of those the first in byte order, whatever order the files
// come in.
static void add_names(Networks *n, const std::vector<const Source *> &sources) {
  for (int long_ids = 0; long_ids < 2; long_ids++)
    for (const Source *s : sources)
      for (const auto &network : s->networks)
        if (!s->carrier_list && n->read_as.count(network.first) == (size_t)long_ids) {
          n->apns[n->read(network.first)];
          auto name = n->names.emplace(n->read(network.first), network.second);
          if (!long_ids && network.second < name.first->second)
            name.first->second = network.second;
        }
}

// The networks an unmarked provider or carrier lists, and its words.
static void add_own(Networks *n, const std::vector<const Source *> &sources) {
  for (const Source *s : sources)
    for (const Listing &l : s->listings)
      for (const NetworkId &id : l.networks)
        if (!marked(*n, l, n->read(id))) {
          n->own.insert(n->read(id));
          for (const std::string &w : operator_words(l.name))
            n->own_words[n->read(id)].insert(w);
        }
}

Networks gather_networks(const std::vector<const Source *> &sources) {
  Networks n;
  add_carriers(&n, sources);
  for (const Source *s : sources)
    n.service_apns.insert(s->service_apns.begin(), s->service_apns.end());
  add_ids(&n, sources);
  add_names(&n, sources);
  add_own(&n, sources);
  for (const Source *s : sources)
    for (const Listing &l : s->listings)
      add_listing(&n, l);
  for (const auto &id : n.apns)
    n.keys[lookup_key(id.first)].push_back(id.first);
  return n;
}
