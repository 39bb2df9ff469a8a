// The operator identity of one run: mobile country code and network code,
// and the keys it is looked up by in the operator table.
#pragma once

constexpr int kCodeSize = 5;      // up to three characters and the zero
constexpr int kIdentitySize = 8;  // "%s%s" of mcc and mnc

/// The MCC and MNC that one lookup of the table compares a row with.
struct LookupKey {
  char mcc[kCodeSize];
  char mnc[kCodeSize];
};

constexpr int kMaxLookups = 2;

/// The keys a run looks identity `m`, `n` up by, in the order it tries them,
/// into `keys`; returns how many. An identity from the IMSI (`from_imsi`) is
/// looked up with the first two MNC characters, but under MCC 405 first with
/// all three. Any other identity (from the SID table, or the empty one) is
/// looked up once, as it stands. Codes longer than a key holds are cut.
int lookup_order(const char *m, const char *n, bool from_imsi, LookupKey keys[kMaxLookups]);

/// Sets `m` from the first three characters of an IMSI reply line and `n`
/// from the next three (each kCodeSize bytes), each copy stopping at the end
/// of the text.
void take_identity(const char *line, char *m, char *n);
