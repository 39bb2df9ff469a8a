// The ranking of a lookup key's APNs: which one belongs to the operator of
// the key's networks, not to a reseller on them, and which sign says so.
#pragma once

#include <deque>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "carrier_operators.h"
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
  kCarrierSign,    // the carrier identity database names its lister the network's operator
  kMarkSign,       // the network's own primary provider lists it
  kBrandSign,      // an entry of the network's brand lists it
  kAgreementSign,  // both kinds of database list it for the network
  kServedSign,     // it serves more of the key's networks
  kBreadthSign,    // a lister of it lists several networks under the MCC that others list too
  kSigns,
  kOneOperator = kSigns,  // only one operator's APNs stand for the key
  kDataOnly,              // the other operators' APNs are service APNs only
  kUndecided,             // no sign separates it from another operator's
  kOutcomes
};

/// What `Ranking::choose` gives for a key.
struct Choice {
  const Listing *row = nullptr;    // null when the key has no candidate
  int outcome = kOneOperator;      // a Sign, kOneOperator, kDataOnly or kUndecided
  const Listing *other = nullptr;  // kUndecided: the other operator's best APN
  const char *weak = nullptr;      // kUndecided: the tie-break that chose
  const Listing *respelt = nullptr;  // its operator's other spelling of the APN, set aside
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

/// One APN of an operator, as the ranking weighs it.
struct WeighedApn {
  std::string apn;                        // folded
  std::vector<const Listing *> listings;  // who lists it, for which networks of the key
  bool chosen = false;                    // the operator's data APN
  bool service = false;                   // it serves something else than data
  bool respelt = false;                   // another spelling of the chosen one, set aside
};

/// One operator of a key, as the ranking weighs it.
struct WeighedOperator {
  size_t signs[kSigns] = {};  // each sign's count, as `Choice` compares them
  const Listing *row = nullptr;  // the listing its data APN's row would take: its name
  std::vector<WeighedApn> apns;
};

/// What every network's listings say about who operates it: the carrier
/// identity database, the primary marks, the brand, the kinds of database,
/// each lister's breadth. Nothing it decides depends on the order of the
/// inputs or of their entries; only one provider's own order of its APNs
/// counts, and only between that provider's APNs.
class Ranking {
 public:
  /// `all`: every listing standing for every network, of every input;
  /// `operators`: the carrier identity database's operators; `service_apns`:
  /// each lister's APNs for other uses than the internet, folded.
  Ranking(const std::vector<Standing> &all, const NetworkOperators &carriers,
          const std::map<size_t, std::set<std::string>> &service_apns);
  ~Ranking();

  /// The best of `candidates` (one key's standings, each row one that
  /// isp_pick reads back) and what decided it.
  Choice choose(const std::vector<Standing> &candidates) const;

  /// How `choose` holds `apn` (case aside) among `candidates` against the
  /// APN it chooses: the same groups, signs and operators.
  Judgement judge(const std::vector<Standing> &candidates, const std::string &apn) const;

  /// `candidates` by operator as `choose` weighs them, the chosen first.
  std::vector<WeighedOperator> weigh(const std::vector<Standing> &candidates) const;

  struct Group;
  struct Operator;

 private:
  void add(const Standing &s, Group *g) const;
  std::map<std::string, Group> groups(const std::vector<Standing> &candidates) const;
  std::vector<Operator> operators(const std::map<std::string, Group> &groups) const;
  const Listing *row_of(const Group &g) const;
  void respell(const Operator &op, Choice *c) const;

  std::map<size_t, size_t> lister_networks_;                  // lister -> its networks
  std::map<NetworkId, size_t> fewest_primary_;                // network -> fewest networks
                                                              // of a primary lister
  std::set<NetworkId> overclaimed_;  // networks a primary provider of many claims from their own
  std::map<NetworkId, std::set<std::string>> brand_;          // network -> its brand's words
  // (lister, MCC) -> its networks there that another operator lists too, all its networks there
  std::map<std::pair<size_t, std::string>, std::pair<size_t, size_t>> breadth_;
  std::map<std::pair<std::string, NetworkId>, size_t> offers_;  // (operator, network) -> APNs
  const NetworkOperators &carriers_;
  const std::map<size_t, std::set<std::string>> &service_apns_;
  mutable std::deque<Listing> respelled_;  // rows that take another entry's spelling
};
