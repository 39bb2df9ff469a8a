// The SID table: which operator identity a CDMA system identifier stands for.
#pragma once

#include <stddef.h>

/// SIDs `first` to `last`, both included, stand for one identity.
struct SidRange {
  int first, last;
  const char *mcc, *mnc;
};

/// The table's ranges, in order; `*count` receives how many.
const SidRange *sid_ranges(size_t *count);

/// The range that holds `sid`, or nullptr for a SID outside the table.
const SidRange *sid_range(int sid);
