// isp_table explain TABLE --imsi / --sid: one run of isp_pick explained.
#pragma once

#include <stdio.h>

#include "table.h"

/// Explains the run of a SIM whose IMSI starts with `digits`: the keys
/// isp_pick searches, in order, the line that answers and the profile it
/// writes, values escaped as `shown` does. Returns whether a line answers.
bool explain_imsi(const Table &table, const char *digits, FILE *out);

/// The same for a CDMA card that reports SID `sid`.
bool explain_sid(const Table &table, int sid, FILE *out);
