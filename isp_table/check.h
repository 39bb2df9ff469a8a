// isp_table check: reads a hand-kept operator table exactly as isp_pick
// reads the router's, with isp_pick's own row reader, and finds every row
// that a network will not get as the table means it.
#pragma once

#include "findings.h"
#include "table.h"

/// The findings on `table`, line by line: its line structure, the traps of
/// a spreadsheet, the columns' values, and which rows the model answers
/// with. Counts the rows too.
Findings check_table(const Table &table);
