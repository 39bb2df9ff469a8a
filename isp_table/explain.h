// isp_table explain TABLE --imsi / --sid: one run of isp_pick explained.
#pragma once

#include <stdio.h>

#include "json_report.h"
#include "table.h"

/// Explains the run of a SIM whose IMSI starts with `digits`: the keys
/// isp_pick searches, in order, the line that answers and the profile it
/// writes, values escaped as `shown` does. Returns whether a line answers.
/// With `report`, adds the same run to it: "searched", each key tried in
/// order as {"mcc", "mnc", "line"} (the line that answers it, or null),
/// and "answer", null or {"line", "index", "system", "apn", "user",
/// "password", "number"}, the values as the store gets them.
bool explain_imsi(const Table &table, const char *digits, FILE *out, Json *report = nullptr);

/// The same for a CDMA card that reports SID `sid`; a SID below 1 is
/// looked up by no key.
bool explain_sid(const Table &table, int sid, FILE *out, Json *report = nullptr);
