#include "sid_table.h"


static const SidRange kSidTable[] = {
    {2222, 2222, "404", "80"},    {14494, 14519, "404", "80"},
    {14554, 14574, "405", "891"}, {14655, 14675, "404", "09"},
    {14818, 14846, "405", "040"},
};

const SidRange *sid_ranges(size_t *count) {
  *count = sizeof kSidTable / sizeof kSidTable[0];
  return kSidTable;
}

const SidRange *sid_range(int sid) {
  for (const SidRange &row : kSidTable)
    if (sid >= row.first && sid <= row.last)
      return &row;
  return nullptr;
}
