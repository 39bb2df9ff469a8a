// Generating's report for a machine (--json FILE): the summary's figures
// and every row written, each with why its key has it.
#pragma once

#include <vector>

#include "json_report.h"
#include "lint.h"
#include "merge.h"
#include "sources.h"

/// The "generate" report of a run that merged `sources` in `merge`:
/// "inputs" and "table", the summary's figures (`own`, as own_figures
/// gives them, and `merged`, the merge's), and "rows": for each of `rows`,
/// the merge's rows in the table's order, its key's account as
/// explanation_json gives it, with those of `mistakes` (lint_table's) on
/// its network and APN.
Json generate_report(const std::vector<Source> &sources, const std::vector<TableFigures> &own,
                     const TableFigures &merged, const Merge &merge,
                     const std::vector<TableRow> &rows, const std::vector<LintFinding> &mistakes);
