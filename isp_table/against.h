// isp_table check --against: the rows whose APN the public databases
// contradict, a sign of a row under another operator's MCC and MNC.
#pragma once

#include <string>
#include <vector>

#include "sources.h"
#include "table.h"

/// One row that the public data contradicts: its line, the warning, and
/// the warning's code: "apn-of-other-networks" (the APN is listed for
/// other networks only), "apn-not-listed" (for none, while the row's
/// networks list others) or "another-operators-apn" (the ranking gives it
/// to another operator on the row's network).
struct AgainstFinding {
  int line;
  std::string text;
  const char *code;
};

/// Each row of `table` that answers the SIMs of networks that `sources`
/// know (isp_pick's own lookups, as from the IMSI) and whose APN the public
/// data contradicts: an APN listed for other networks only; one listed for
/// none (or generic, listed by many operators in many countries) while the
/// networks list others; or one the networks list, but that the ranking
/// gives to another operator than the network's own by a deciding sign.
/// The ranking's own choice for a key, and an empty APN, are never
/// contradicted; CDMA rows and placeholder rows are never such rows.
/// Sorted by line.
std::vector<AgainstFinding> check_against(const Table &table, const std::vector<Source> &sources);
