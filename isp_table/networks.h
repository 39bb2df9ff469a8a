// The networks of some sources gathered for the merge: each network's
// internet APNs and who lists them, the operators the carrier lists name,
// and which listings of marked resellers stand for a network and which are
// set aside.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "carrier_operators.h"
#include "network_id.h"
#include "rank.h"
#include "sources.h"

/// Every network of every source, the internet APNs listed for each, and who
/// lists them.
struct Networks {
  NetworkOperators carriers;  // each network's operator, as the carrier lists give it
  // network -> the carriers the carrier lists tell apart there by a filter,
  // on networks where a listing stands for the operator the lists name
  std::map<NetworkId, std::vector<std::vector<std::string>>> told_apart;
  std::map<size_t, std::set<std::string>> service_apns;  // lister -> its other APNs, folded
  std::map<NetworkId, std::set<std::string>> own_words;  // network -> its unmarked listers' words
  // key -> folded APN -> a marked reseller listing it where it stands for nothing
  std::map<NetworkId, std::map<std::string, const Listing *>> resold;
  std::map<NetworkId, std::set<const Listing *>> set_aside;  // key -> marked resellers left out
  std::map<NetworkId, std::set<std::string>> apns;
  std::map<NetworkId, std::string> names;
  std::map<NetworkId, std::vector<NetworkId>> keys;  // key -> its networks
  std::map<NetworkId, std::vector<Standing>> standing;  // key -> listings on its networks
  std::vector<Standing> all;
  std::set<NetworkId> own;        // networks that an unmarked provider or carrier lists
  std::set<NetworkId> gid1_only;  // networks that only GID1-marked providers list
  std::map<NetworkId, NetworkId> read_as;  // impossible id -> the network it begins with
  // marked resellers' listings left out of a key where they stand for no
  // network, by reason (set_aside_as)
  std::map<std::string, size_t> left_out;

  /// The network `id` counts as: the network an impossible id begins with
  /// (`read_as`), else `id` itself.
  NetworkId read(const NetworkId &id) const;

  /// The reseller rule: whether listing `l` counts for network `id` (read
  /// as `read` reads it), one it lists. A listing marked as a reseller's
  /// (GID1, primary "false", an MVNO entry, a carrier list's filter)
  /// counts only where no unmarked provider or carrier lists the network,
  /// or where it is the network's operator's own.
  bool stands(const Listing &l, const NetworkId &id) const;
};

/// The networks of `sources`, every listing that stands for one of them a
/// candidate for its lookup key. The same sources in any order give the
/// same networks.
Networks gather_networks(const std::vector<const Source *> &sources);

/// Why a marked reseller's listing `l` is left out where the network has
/// its own: its GID1 mark, its MVNO entry, its primary "false" mark, or
/// the carrier list's filter.
const char *set_aside_as(const Listing &l);
