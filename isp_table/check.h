// isp_table check: reads a hand-kept operator table exactly as isp_pick
// reads the router's, with isp_pick's own row reader, and finds every row
// that a network will not get as the table means it.
#pragma once

#include <string>

#include "findings.h"
#include "json_report.h"
#include "table.h"

/// The findings on `table`, line by line: its line structure, the traps of
/// a spreadsheet, the columns' values, and which rows the model answers
/// with. Counts the rows too.
Findings check_table(const Table &table);

/// Adds `found`, the findings on the table at `path` as the check prints
/// them, to the report `doc`: "findings" (findings_json), "errors",
/// "warnings" and "rows".
void add_findings(const std::string &path, const Findings &found, Json *doc);

/// Whether the line `whole` (all its reads) is a line end alone.
bool only_line_end(const std::string &whole);

/// Whether the line `whole` is an empty spreadsheet row: separators and
/// white space alone (",,,,,,,,,", ";;;;;;;;;", tabs, spaces), which
/// isp_pick passes over, so it is no row.
bool empty_row(const std::string &whole);
