// isp_table check: reads a hand-kept operator table exactly as isp_pick
// reads the router's, with isp_pick's own row reader, and reports every row
// that a network will not get as the table means it.
#pragma once

#include <stdio.h>

#include <vector>

#include "sources.h"

/// Writes one "TABLE:LINE: error: ..." or "TABLE:LINE: warning: ..." line
/// per finding to `out`, then a count. With `against`, the public data's
/// warnings on the rows' APNs sort in with the others. Returns 0 without
/// errors, 1 with errors, 2 when the table cannot be read.
int check_table(const char *path, FILE *out, const std::vector<Source> *against = nullptr);
