// isp_table extend TABLE: a hand-kept table with the public rows that
// change nothing for a SIM it serves.
#pragma once

#include <stdio.h>

#include <vector>

#include "json_report.h"
#include "sources.h"
#include "table.h"

/// Writes to `out` the kept `table` byte for byte, its placeholder rows
/// (MCC and MNC both placeholders) moved to the end, and before them the
/// rows merged from `sources` that no SIM the table serves would get, each
/// with its key's stable index (`stable_index`), never one the table uses.
/// The summary goes to `summary`, with one line per kept row that gives
/// some public row's SIMs another technology, APN, user, password or dial
/// number than the public data ranks first, and whether the kept APN is
/// listed for those networks at all. Returns true, or false when the table
/// uses every index a public row may take: then `*text` is empty, the
/// summary counts no row kept or written, and the key is named on standard
/// error after it; `*text` is the extended table. `table` holds one byte at least (an empty one has no
/// header line for isp_pick to drop). With `report`, adds what the summary
/// adds to it: "kept", "written", "left_out", "rows" (each public row
/// written: "key" and its values by column, as the table holds them),
/// "reviews" (each review line: "line", "operator", "keys",
/// "differences" of {"item" ("apn"...), "table", "public"}, "judgement",
/// "likely_wrong", "listed_by", "decided_by") and "no_index_left" (the
/// key, or null).
bool extend_table(const Table &table, const std::vector<Source> &sources, std::string *text,
                  FILE *summary, Json *report = nullptr);
