#include "sid_table.h"

#include <string.h>

#include "identity.h"
#include "text.h"

struct SidRange {
  int first, last;
  const char *mcc, *mnc;
};

static const SidRange kSidTable[] = {
    {2222, 2222, "404", "80"},    {14494, 14519, "404", "80"},
    {14554, 14574, "405", "891"}, {14655, 14675, "404", "09"},
    {14818, 14846, "405", "040"},
};

int mapping(int sid) {
  for (const SidRange &row : kSidTable) {
    if (sid < row.first || sid > row.last)
      continue;
    copy_text(mcc, sizeof mcc, row.mcc, strlen(row.mcc));
    copy_text(mnc, sizeof mnc, row.mnc, strlen(row.mnc));
    return 1;
  }
  return -1;
}
