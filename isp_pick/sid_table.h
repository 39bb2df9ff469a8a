// The SID table: which operator identity a CDMA system identifier stands for.
#pragma once

/// Sets `mcc` and `mnc` from the SID table and returns 1, or returns -1 and
/// leaves them untouched for a SID that is not in the table.
int mapping(int sid);
