// A network's identity, the MCC and MNC on a SIM, and the key isp_pick
// looks it up by in the operator table.
#pragma once

#include <string>
#include <utility>

#include "identity.h"

/// One network: an MCC and MNC pair, the identity on a SIM. A lookup key
/// is one too: the pair a row of the table is found by.
using NetworkId = std::pair<std::string, std::string>;

/// A network or a lookup key as every message writes it: "262-01".
inline std::string network_name(const std::string &mcc, const std::string &mnc) {
  return mcc + "-" + mnc;
}
inline std::string network_name(const NetworkId &id) { return network_name(id.first, id.second); }

/// The first key of isp_pick's lookup order for a SIM of network `id`,
/// read from the IMSI: the one that answers whenever its row is there.
LookupKey first_lookup(const NetworkId &id);

/// The lookup key of network `id`: its MCC and the MNC that isp_pick's
/// lookup of a SIM with that identity finds (two characters, or three
/// under MCC 405).
NetworkId lookup_key(const NetworkId &id);
