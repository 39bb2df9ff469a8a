// What the values of a row may hold, stated once for the check of a
// hand-kept table and for the rows the generator writes.
#pragma once

#include <stddef.h>

#include <string>

/// The placeholder the generator writes for an empty value, one of the
/// two isp_pick blanks (the other is "blank").
extern const char kPlaceholderNa[];

/// Whether `value` is the placeholder as a person means it: exactly "NA"
/// or "blank", the table's way to write an empty value. (isp_pick blanks a
/// value that holds either anywhere, meant or not.)
bool intended_placeholder(const std::string &value);

/// A byte an APN may hold: an ASCII letter, digit, hyphen or dot, the
/// characters of a DNS name, which is what the network resolves an APN as.
bool apn_byte(char c);

/// A byte a dial number is made of: an ASCII digit, `*`, `#` or `+`, what
/// a data call dials (*99#, #777, +49...).
bool dial_byte(char c);

/// What is wrong with a byte of a value that isp_pick sends to the store.
enum class ByteFault {
  kNone,
  kNotApn,    // in an APN: not an APN byte (apn_byte)
  kControl,   // in a user name, password or dial number: a tab or control byte
  kNonAscii,  // in a user name, password or dial number: a byte above 127
  kNotDial,   // in a dial number: any other byte that is not a dial byte (dial_byte)
};

/// A fault of a value, where it stands, and whether it is an error (else
/// a warning: a non-ASCII byte in a user name or password, which the
/// store keeps and some modems pass on, and a letter, space or sign other
/// than a dial byte in a dial number, most likely another column's value
/// that a shift moved there).
struct ValueFault {
  ByteFault fault = ByteFault::kNone;
  size_t at = 0;
  bool error = false;
};

/// The fault of `value`, as isp_pick takes it for `column` (a RowColumn;
/// placeholders blanked): the first byte that makes an error, else the
/// first that makes a warning. CR and LF are left to the line's own
/// finding (and the generator refuses them beside the comma); a column
/// that is not sent (index, names, region, technology) has none.
ValueFault value_fault(size_t column, const std::string &value);
