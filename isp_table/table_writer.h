// Writes the operator table that isp_pick reads, shaped for its lookup rule,
// and a summary of what it could and could not serve.
#pragma once

#include <stdio.h>

#include "provider_db.h"

/// Writes the table (header, rows ended by CR LF) to `table` and the summary
/// to `summary`. Identical databases give identical bytes.
void write_operator_table(const ProviderDb &db, FILE *table, FILE *summary);
