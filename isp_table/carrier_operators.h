// Who operates each network, as Android's carrier identity database tells
// it: the carrier whose SIMs on the network need no mark to be told apart.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "sources.h"

/// The operator the carrier identity database gives one network.
struct NetworkOperator {
  std::string name;                 // the carrier's name as written
  std::vector<std::string> words;   // the names it goes by: its name's, its SPNs' leading words
  std::vector<std::string> others;  // its name's other words but a company's ("Ltd", "Telecom")
  std::set<std::string> preferred;  // its preferred APNs on the network, folded
  std::string path;                 // the file and line of the carrier
  int line = 0;
};

using NetworkOperators = std::map<NetworkId, NetworkOperator>;

/// The carrier lists among some sources, each attribute's filter (how it
/// tells its carrier's SIMs apart) and the roaming carriers worked out once
/// for both questions asked of them: who operates each network, and who
/// resells on it. The sources must outlive it.
class CarrierFilters {
 public:
  explicit CarrierFilters(const std::vector<const Source *> &sources);
  ~CarrierFilters();

  /// The operator of each network that the carrier lists name, by these
  /// signs, strongest first: the carrier whose attribute for the network
  /// sets no filter (or only an empty SPN); one that filters by SPNs among
  /// which is the empty one; one that filters by an SPN spelling its own
  /// name or by GID1 alone. A carrier whose name says MVNO is a catch-all
  /// for resellers, never an operator; a carrier whose parent is among the
  /// same sign's carriers is the parent's. Several carriers left on the
  /// strongest sign: the one whose attribute names strictly the most
  /// networks under the MCC, else none (the network is left to the other
  /// signs). The same lists give the same operators in any order.
  NetworkOperators operators() const;

  /// Each network's carriers that the carrier lists tell apart there only
  /// by a filter (SPN, GID1, IMSI prefix, preferred APN): resellers on a
  /// network `operators` names the operator of, but for the operator; on
  /// any network, a carrier of several MCCs found nowhere without a
  /// filter. Each is given by the names it goes by.
  std::map<NetworkId, std::vector<std::vector<std::string>>> resellers(
      const NetworkOperators &operators) const;

  struct Entry;  // one carrier's attribute, with its filter

 private:
  std::vector<Entry> entries_;
  std::set<std::vector<std::string>> roaming_;  // by the names they go by
};

/// `CarrierFilters(sources).operators()`.
NetworkOperators network_operators(const std::vector<const Source *> &sources);

/// Whether a listing of APN `apn` by name `name` stands for `op`: the
/// name's leading word (with the word it is known by, operator_words) is
/// one the carrier goes by, or the start, five letters or more, of one, or
/// another word of the carrier's name ("csl" of "Hong Kong CSL Ltd."); for
/// a name of service words only, a word of the APN is.
bool operated_by(const std::string &name, const std::string &apn, const NetworkOperator &op);

/// Whether listing name `name` stands for one of `resellers`.
bool resold_by(const std::string &name, const std::vector<std::vector<std::string>> &resellers);
