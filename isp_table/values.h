// What the values of a row may hold, stated once for the check of a
// hand-kept table and for the rows the generator writes.
#pragma once

/// A byte an APN may hold: an ASCII letter, digit, hyphen or dot, the
/// characters of a DNS name, which is what the network resolves an APN as.
bool apn_byte(char c);
