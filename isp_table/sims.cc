#include "sims.h"

#include "identity.h"
#include "sid_table.h"

// isp_pick's own lookup order tells which MCCs are looked up with all three
// MNC digits first.
static bool three_digit_mnc_first(const std::string &m) {
  LookupKey keys[kMaxLookups];
  return lookup_order(m.c_str(), "000", true, keys) > 1;
}

// Any row of the three-digit key, whole or not, can leave something in the
// record, so such an IMSI is a group of its own; the rest share the lookup
// of two digits.
static std::vector<Sim> long_mnc_sims(const std::string &m, const std::string &xy,
                                      const HasKey &has_key) {
  std::vector<Sim> own, sims;
  std::string rest;
  for (char z = '0'; z <= '9'; z++) {
    std::string n = xy + z;
    if (has_key(m, n))
      own.push_back({network_name(m, n), m, n, true});
    else if (rest.empty())
      rest = n;
  }
  if (!rest.empty())
    sims.push_back({network_name(m, xy), m, rest, true});
  sims.insert(sims.end(), own.begin(), own.end());
  return sims;
}

std::vector<Sim> imsi_sims(const std::string &m, const std::string &xy, const HasKey &has_key) {
  if (three_digit_mnc_first(m))
    return long_mnc_sims(m, xy, has_key);
  return {{network_name(m, xy), m, xy + "0", true}};
}

std::vector<Sim> sid_sims(const std::string *mcc) {
  std::vector<Sim> sims;
  size_t count;
  const SidRange *ranges = sid_ranges(&count);
  for (size_t i = 0; i < count; i++) {
    const SidRange &r = ranges[i];
    if (mcc && *mcc != r.mcc)
      continue;
    std::string name = "SID " + std::to_string(r.first);
    if (r.last != r.first)
      name += "-" + std::to_string(r.last);
    sims.push_back({name, r.mcc, r.mnc, false});
  }
  return sims;
}

std::vector<Sim> sims_reaching(const NetworkId &key, const HasKey &has_key) {
  std::vector<Sim> sims = imsi_sims(key.first, key.second.substr(0, 2), has_key);
  std::vector<Sim> cards = sid_sims(&key.first);
  sims.insert(sims.end(), cards.begin(), cards.end());
  return sims;
}
