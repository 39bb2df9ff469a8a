// The summary generating writes on standard error: each database's own
// figures, then the merged table's, and the names of the signs that
// decide a row.
#pragma once

#include <stdio.h>

#include <vector>

#include "merge.h"
#include "sources.h"

/// What the summary and the warnings say decided a row: a Sign, or
/// kOneOperator, or kUndecided ("the network's brand").
const char *outcome_name(int outcome);

/// Writes the summary: each source's own figures, then the merged table's.
void write_summary(const std::vector<Source> &sources, const TableFigures &merged, FILE *out);
