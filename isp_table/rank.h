// The ranking of a lookup key's APNs: which one belongs to the operator of
// the key's networks, not to a reseller on them, and which sign says so.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "sources.h"

/// A listing standing for one network (after impossible ids are read as
/// the network they begin with).
struct Standing {
  const Listing *listing;
  NetworkId network;
};

/// The signs that decide, strongest first; a row is decided by the first
/// one on which it beats every other operator's APN.
enum Sign {
  kMarkSign,       // the network's own primary provider lists it
  kBrandSign,      // an entry of the network's brand lists it
  kAgreementSign,  // both kinds of database list it for the network
  kServedSign,     // it serves more of the key's networks
  kBreadthSign,    // a lister of it lists several networks under the MCC that others list too
  kSigns,
  kOneOperator = kSigns,  // only one operator's APNs stand for the key
  kUndecided,             // only weak tie-breaks separate it from another operator's
  kOutcomes
};

/// What `Ranking::choose` gives for a key.
struct Choice {
  const Listing *row = nullptr;    // null when the key has no candidate
  int outcome = kOneOperator;      // a Sign, kOneOperator or kUndecided
  const Listing *other = nullptr;  // kUndecided: the other operator's best APN
  const char *weak = nullptr;      // kUndecided: the tie-break that chose
};

/// How the ranking holds one APN of a key against the one it chose.
struct Judgement {
  bool candidate = false;      // one of the key's candidates lists it
  bool same_operator = false;  // it is the chosen APN, or of the chosen APN's operator
  int sign = kUndecided;       // the deciding Sign by which the chosen beats it, or
                               // kUndecided: weak tie-breaks at most separate them
  const Listing *listing = nullptr;  // its first listing among the candidates
  const Listing *chosen = nullptr;   // the chosen APN's row

  /// Another operator's APN that a deciding sign ranks below the network's own.
  bool another_operators() const { return candidate && !same_operator && sign < kSigns; }
};

/// What every network's listings say about who operates it: the primary
/// marks, the brand, the kinds of database, each lister's breadth.
class Ranking {
 public:
  /// `all`: every listing standing for every network, of every input.
  explicit Ranking(const std::vector<Standing> &all);

  /// The best of `candidates` (one key's standings, each row one that
  /// isp_pick reads back) and what decided it.
  Choice choose(const std::vector<Standing> &candidates) const;

  /// How `choose` holds `apn` (case aside) among `candidates` against the
  /// APN it chooses: the same groups, signs and operators.
  Judgement judge(const std::vector<Standing> &candidates, const std::string &apn) const;

 private:
  struct Group;
  void add(const Standing &s, Group *g) const;
  std::map<std::string, Group> groups(const std::vector<Standing> &candidates) const;
  const Group *best(const std::map<std::string, Group> &groups) const;

  std::map<size_t, size_t> lister_networks_;                  // lister -> its networks
  std::map<NetworkId, size_t> fewest_primary_;                // network -> fewest networks
                                                              // of a primary lister
  std::map<NetworkId, std::set<std::string>> brand_;          // network -> its brand's words
  // (lister, MCC) -> its networks there that another operator lists too, all its networks there
  std::map<std::pair<size_t, std::string>, std::pair<size_t, size_t>> breadth_;
  std::map<std::pair<std::string, NetworkId>, size_t> offers_;  // (operator, network) -> APNs
};
