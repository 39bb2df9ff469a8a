// The state of one run of isp_pick and its lookup into it: the library
// isp_pick_core. The reading pieces (identity.h, operator_table.h) keep no
// state of a run, so the host tool links them alone.
#pragma once

#include "identity.h"
#include "operator_table.h"

/// Set by the IMSI capture reader or the SID table, empty until then.
extern char mcc[kCodeSize];
extern char mnc[kCodeSize];

/// The profile found by the last lookup. Never cleared between rows or
/// lookups: a field keeps what the last row that reached its column wrote.
extern isp_profile isp_info;

/// Finds the first row whose MCC and MNC columns equal `mcc` and `mnc` and
/// that has all ten columns, fills `isp_info` and prints it. Returns 1; -1
/// when no row matches or there is no table; kUnreadable when the table is
/// there but could not be read, so that no row can be trusted to be missing.
int parse();

/// Writes `isp_info` to standard error, password in clear.
void print_isp_info();
