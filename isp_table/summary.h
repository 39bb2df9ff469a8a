// The summary generating writes on standard error: each database's own
// figures, then the merged table's, and the names of the signs that
// decide a row.
#pragma once

#include <stdio.h>

#include <vector>

#include "json_report.h"
#include "merge.h"
#include "reasons.h"
#include "sources.h"

/// What the summary and the warnings say decided a row: a Sign, or
/// kOneOperator, or kUndecided ("the network's brand").
const char *outcome_name(int outcome);

/// The outcome's stable kebab-case word for a report ("primary-mark");
/// empty for none.
const char *outcome_code(int outcome);

/// Each source's own figures, as if it were the only input, in the order
/// of `sources`: a carrier list's and a file set aside are empty.
std::vector<TableFigures> own_figures(const std::vector<Source> &sources);

/// Writes the summary: each source's own figures (`own`, as own_figures
/// gives them, or worked out here without), then the merged table's.
void write_summary(const std::vector<Source> &sources, const std::vector<TableFigures> &own,
                   const TableFigures &merged, FILE *out);
void write_summary(const std::vector<Source> &sources, const TableFigures &merged, FILE *out);

/// The summary as generate's report holds it, added to `doc`: "inputs",
/// each source's "path", "kind" (the summary's words) and what its part
/// counts (a database of APNs: its own "table" figures), and "table", the
/// merged table's figures with what the summary names under them, each
/// an object of its values. Reasons and outcomes go by their codes.
void add_summary_json(const std::vector<Source> &sources, const std::vector<TableFigures> &own,
                      const TableFigures &merged, Json *doc);
