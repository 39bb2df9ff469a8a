// The table model: a table read once per run and looked up many times,
// exactly as isp_pick would look it up. Every verb asks it the one
// question "which line answers this SIM, and what does the router store".
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "identity.h"
#include "network_id.h"
#include "operator_table.h"
#include "pieces.h"

/// What a run of isp_pick gets from a table: the `count` keys of its
/// lookup order, of which it tried `tried` until one answered, the line
/// that answered (0 for none) and the profile record as the run leaves it.
struct Answer {
  int line = 0;
  int count = 0, tried = 0;
  LookupKey keys[kMaxLookups] = {};
  isp_profile profile{};
};

struct Table {
  std::string path;
  std::vector<Piece> pieces;
  /// Every piece after the header, by the key it can answer, in table order.
  std::map<NetworkId, std::vector<size_t>> by_key;
};

/// Reads the table at `path` with isp_pick's own reader. False when it
/// cannot be opened or read, with `why` set when given.
bool load_table(const char *path, Table *table, std::string *why = nullptr);

/// The one lookup of every verb: the run of a SIM with identity `m`, `n`
/// (`from_imsi`: read from the IMSI, else from the SID table, empty, or one
/// key as it stands), in isp_pick's own lookup order, each key's rows
/// walked with isp_pick's own row walk into one record.
Answer run_lookups(const Table &table, const char *m, const char *n, bool from_imsi);

/// SIMs that every table gives the same profile, since isp_pick looks them
/// all up by the same keys, and the identity one of them is looked up by.
struct Sim {
  /// "262-01" (IMSIs 26201x), "405-854" (405854 alone), "405-85" (40585x
  /// without a three-digit row), "SID 14554-14574", "SID 2222", "SID other".
  std::string name;
  std::string mcc, mnc;
  bool from_imsi = false;
};

/// run_lookups for the identity of `sim`.
Answer run_lookups(const Table &table, const Sim &sim);

/// A row that is not in the table, asked about as if it stood there: its
/// lookup key, and its text as a line holds it (index first, so that
/// isp_pick's row walk takes it as it stands).
struct CandidateRow {
  NetworkId key;
  std::string text;
};

/// Answer::line of a run that the candidate row answers.
constexpr int kCandidateLine = -1;

/// The run of `sim` as if `candidate` stood first among the rows of its
/// key, the table left as it is: its line is kCandidateLine when the
/// candidate answers.
Answer run_with_candidate(const Table &table, const Sim &sim, const CandidateRow &candidate);

/// One item isp_pick writes to the store, and its value as shown to a
/// person (text quoted and escaped as `shown` does, G_SYSTEM a number).
struct StoreItem {
  const char *name;
  std::string value;
};

/// The items isp_pick writes from `profile`, in the order it writes them.
std::vector<StoreItem> store_items(const isp_profile &profile);
