// isp_table check --against: the rows whose APN the public databases
// contradict, a sign of a row under another operator's MCC and MNC.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "sources.h"
#include "table.h"

/// One row that the public data contradicts: its line and the warning.
struct AgainstFinding {
  int line;
  std::string text;
};


/// Each row of `table` that answers the SIMs of networks that
/// `sources` know (isp_pick's own lookups, as from the IMSI) and whose APN
/// is listed for other networks only, or for none while those networks
/// list others. CDMA rows and placeholder rows are never such
/// rows. Sorted by line.
std::vector<AgainstFinding> check_against(const Table &table, const std::vector<Source> &sources);
