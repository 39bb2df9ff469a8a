// The operator identity of one run: mobile country code and network code.
#pragma once

constexpr int kCodeSize = 5;      // up to three characters and the zero
constexpr int kIdentitySize = 8;  // "%s%s" of mcc and mnc

/// Set by the IMSI capture reader or the SID table, empty until then.
extern char mcc[kCodeSize];
extern char mnc[kCodeSize];
