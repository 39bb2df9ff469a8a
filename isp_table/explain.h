// isp_table check TABLE --imsi / --sid: one run of isp_pick explained.
#pragma once

#include <stdio.h>

/// Explains the run of a SIM whose IMSI starts with `digits`: the keys
/// isp_pick searches, in order, the line that answers and the profile it
/// writes. Returns 0 when a line answers, 1 when none does, 2 when the
/// table cannot be read.
int explain_imsi(const char *path, const char *digits, FILE *out);

/// The same for a CDMA card that reports SID `sid`.
int explain_sid(const char *path, int sid, FILE *out);
