// The operator identity of one run: mobile country code and network code,
// and the keys it is looked up by in the operator table.
#pragma once

constexpr int kCodeSize = 5;      // up to three characters and the zero
constexpr int kIdentitySize = 8;  // "%s%s" of mcc and mnc

/// Set by the IMSI capture reader or the SID table, empty until then.
extern char mcc[kCodeSize];
extern char mnc[kCodeSize];

/// True when an identity from the IMSI is first looked up with its
/// three-character MNC (MCC 405 only).
bool long_mnc_first();

/// Cuts `mnc` to the two characters that the IMSI's lookup uses for every
/// other MCC, and for MCC 405 after the three-character lookup found nothing.
void shorten_mnc();
