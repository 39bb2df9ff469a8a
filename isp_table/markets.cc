#include "markets.h"

#include <ctype.h>

#include <algorithm>

#include "digits.h"

static bool all_of_kind(const std::string &item, size_t size, int (*kind)(int)) {
  if (item.size() != size)
    return false;
  return std::all_of(item.begin(), item.end(), [kind](char c) { return kind((unsigned char)c); });
}

static bool add_market(const std::string &item, Markets *markets) {
  if (all_digits(item, 3, 3)) {
    markets->mccs.insert(item);
    markets->typed.emplace(item, item);
    return true;
  }
  if (!all_of_kind(item, 2, isalpha))
    return false;
  std::string code = item;
  for (char &c : code)
    c = (char)toupper((unsigned char)c);
  markets->countries.insert(code);
  // A warning names the market as the user wrote it ("uk"), not as kept.
  markets->typed.emplace(code, item);
  return true;
}

bool read_markets(const std::string &list, Markets *markets) {
  size_t start = 0;
  for (size_t comma; (comma = list.find(',', start)) != std::string::npos; start = comma + 1)
    if (!add_market(list.substr(start, comma - start), markets))
      return false;
  return add_market(list.substr(start), markets);
}

// A listing of another country serves only its networks under a chosen MCC.
static bool keep_listing(const Markets &markets, Listing *l) {
  if (markets.countries.count(l->region))
    return true;
  auto elsewhere = [&markets](const NetworkId &id) { return !markets.mccs.count(id.first); };
  l->networks.erase(std::remove_if(l->networks.begin(), l->networks.end(), elsewhere),
                    l->networks.end());
  return !l->networks.empty();
}

static void keep_in_source(const Markets &markets, Source *s) {
  std::vector<Listing> kept;
  std::set<NetworkId> named;
  for (Listing &l : s->listings) {
    if (!keep_listing(markets, &l))
      continue;
    named.insert(l.networks.begin(), l.networks.end());
    kept.push_back(l);
  }
  s->listings.swap(kept);
  for (auto it = s->networks.begin(); it != s->networks.end();) {
    bool keep = markets.mccs.count(it->first.first) || named.count(it->first);
    it = keep ? std::next(it) : s->networks.erase(it);
  }
}

// A country is there when a listing has it as region, an MCC when a
// network of a database of APNs is under it: a carrier list's gives no row.
static std::vector<std::string> absent(const Markets &markets, const std::vector<Source> &sources) {
  std::set<std::string> seen;
  for (const Source &s : sources) {
    if (s.carrier_list)
      continue;
    for (const Listing &l : s.listings)
      seen.insert(l.region);
    for (const auto &network : s.networks)
      seen.insert(network.first.first);
  }
  std::vector<std::string> missing;
  for (const std::set<std::string> *chosen : {&markets.countries, &markets.mccs})
    for (const std::string &market : *chosen)
      if (!seen.count(market))
        missing.push_back(markets.typed.at(market));
  return missing;
}

std::vector<std::string> keep_markets(const Markets &markets, std::vector<Source> *sources) {
  std::vector<std::string> missing = absent(markets, *sources);
  for (Source &s : *sources)
    keep_in_source(markets, &s);
  return missing;
}
