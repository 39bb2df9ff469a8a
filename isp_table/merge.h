// The merge: one operator table row per lookup key from the listings of
// every source, ranked so that the row is the networks' own operator's APN.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "rank.h"
#include "sources.h"
#include "table_text.h"

/// A network that has a usable internet APN, where another network of its
/// key won the row.
struct UnservableNetwork {
  NetworkId network;
  std::string name;  // its name, as its entries give it; may be empty
  /// "311-481 "Tie Two"", as the summary names it.
  std::string text() const;
};

/// A key whose row no sign decides: the row's APN and operator and the
/// other operator's, and the weak tie-break that chose.
struct UndecidedKey {
  NetworkId key;
  std::string apn, name, other_apn, other_name;
  const char *weak;
  /// "234-15: "internet" ("Vodafone") or ...", as the summary names it.
  std::string text() const;
};

/// A key whose operator spells its APN two ways: the spelling kept, the
/// one set aside.
struct RespeltKey {
  NetworkId key;
  std::string apn, name, set_aside_apn, set_aside_name;
  /// "268-03: "umts" (...) kept, "utms" (...) set aside: ...".
  std::string text() const;
};

/// An APN of a key's entry that is no DNS name, never chosen.
struct NotDnsName {
  NetworkId key;
  std::string apn, name;
  /// "204-02: "Tele2 GPRS" ("Tele2 GPRS")", as the summary names it.
  std::string text() const;
  /// By text, so the summary's lines come in byte order.
  bool operator<(const NotDnsName &o) const { return text() < o.text(); }
};

/// The figures of one table.
struct TableFigures {
  size_t listers = 0;   // providers or carriers
  size_t networks = 0;  // MCC and MNC pairs
  size_t rows = 0;
  size_t cut = 0;       // of them: the name or region cut to fit its field
  std::map<std::string, size_t> left_out;  // rows left out, by reason
  // Each network is served, or unservable, or without a usable APN.
  size_t served = 0;            // the key's row carries an APN listed for the network
  size_t served_gid1_only = 0;  // of them: only GID1-marked providers list the network
  std::vector<UnservableNetwork> unservable;
  size_t without_usable = 0;  // not served, and no APN listed for it can stand in the table
  size_t without_row = 0;     // of them: its key has no row at all
  size_t read_as = 0;         // impossible network ids read as the network they begin with
  size_t decided[kOutcomes] = {};        // rows by the sign that chose them (rank.h)
  std::vector<UndecidedKey> undecided;   // by key
  std::vector<RespeltKey> respelt;       // by key
  std::set<NotDnsName> not_dns_name;
};

/// Merges `sources` into one row per lookup key, in key order, appended to
/// `rows` when it is not null. The same sources always give the same rows.
TableFigures merge_table(const std::vector<const Source *> &sources, std::vector<TableRow> *rows);

/// Pointers to each source of `sources`, in their order.
std::vector<const Source *> source_list(const std::vector<Source> &sources);

/// merge_table of every source in `sources`, in their order.
TableFigures merge_all(const std::vector<Source> &sources, std::vector<TableRow> *rows);

struct Networks;

/// A listing of a key that cannot be its row, and why.
struct LeftOut {
  const Listing *listing;
  const char *why;
};

/// The merge of some sources, kept to judge another table's rows by the
/// very ranking that chose the merged rows.
class Merge {
 public:
  /// Merges `sources`, adding the merge's figures to `figures` when it is
  /// not null. The sources must outlive the merge.
  explicit Merge(const std::vector<const Source *> &sources, TableFigures *figures = nullptr);
  ~Merge();

  /// One row per lookup key that has one, in key order, appended to `rows`.
  void rows(std::vector<TableRow> *rows) const;

  /// The ranking's choice for `key`: its row (null when it has none) and
  /// what decided it.
  Choice choice(const NetworkId &key) const;

  /// The key's candidates by operator, as the ranking weighs them.
  std::vector<WeighedOperator> weigh(const NetworkId &key) const;

  /// The listings of `key` that cannot be its row, each with why: a marked
  /// reseller's where the network has its own, or a row isp_pick would not
  /// read back; by file and line.
  std::vector<LeftOut> left_out(const NetworkId &key) const;

  /// Each network's operator, as the carrier lists among the sources give it.
  const NetworkOperators &carriers() const;

  /// How the ranking holds `apn` (case aside) on `key` against its choice.
  Judgement judge(const NetworkId &key, const std::string &apn) const;

  /// Whether listing `l` counts for network `id`, one it lists, as the
  /// merge counts it: the reseller rule of `Networks::stands`.
  bool stands(const Listing &l, const NetworkId &id) const;

  /// A provider marked as a reseller that lists `apn` (case aside) for a
  /// network of `key` where an unmarked one lists the network too, or null.
  const Listing *resold(const NetworkId &key, const std::string &apn) const;

 private:
  struct Key {
    std::vector<Standing> candidates;
    std::vector<LeftOut> left_out;
    Choice choice;
  };
  std::unique_ptr<Networks> networks_;
  std::unique_ptr<Ranking> ranking_;
  std::map<NetworkId, Key> keys_;
};
