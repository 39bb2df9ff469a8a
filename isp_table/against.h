// isp_table check --against: the rows whose APN the public databases
// contradict, a sign of a row under another operator's MCC and MNC.
#pragma once

#include <string>
#include <vector>

#include "sources.h"

/// One row that the public data contradicts: its line and the warning.
struct AgainstFinding {
  int line;
  std::string text;
};

/// Loads the public databases at `paths`, in order, into `sources`. On a
/// file that cannot be used, reports "isp_table: cannot read PATH: WHY" on
/// standard error and returns false.
bool load_public_data(const std::vector<std::string> &paths, std::vector<Source> *sources);

/// For each lookup key of a network that `sources` know, the row of the
/// table at `path` that answers the key (isp_pick's own lookup) and whose
/// APN is listed for other networks only, or for none while the key's
/// networks list others. CDMA rows and placeholder rows are never such
/// rows. Sorted by line; empty when the table cannot be read.
std::vector<AgainstFinding> check_against(const char *path, const std::vector<Source> &sources);
