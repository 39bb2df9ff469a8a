#include "values.h"

#include "operator_table.h"
#include "text.h"

const char kPlaceholderNa[] = "NA";

bool intended_placeholder(const std::string &value) {
  return value == kPlaceholderNa || value == "blank";
}

bool apn_byte(char c) {
  return is_digit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' || c == '.';
}

bool dial_byte(char c) { return is_digit(c) || c == '*' || c == '#' || c == '+'; }

static ByteFault byte_fault(size_t column, unsigned char c) {
  if (c == '\r' || c == '\n')
    return ByteFault::kNone;
  if (column == kApn)
    return apn_byte(c) ? ByteFault::kNone : ByteFault::kNotApn;
  if (c < 32 || c == 127)
    return ByteFault::kControl;
  if (c > 127)
    return ByteFault::kNonAscii;
  return column == kNumber && !dial_byte(c) ? ByteFault::kNotDial : ByteFault::kNone;
}

// A dial number goes to the modem's dial command, which takes ASCII alone;
// a login's non-ASCII byte may be what the operator gave. A letter in a
// dial number reaches the modem as it stands, which may take it (a pause,
// a tone), so it is only a sign of a shifted value.
static bool an_error(size_t column, ByteFault fault) {
  if (fault == ByteFault::kNotDial)
    return false;
  return fault != ByteFault::kNonAscii || column == kNumber;
}

ValueFault value_fault(size_t column, const std::string &value) {
  ValueFault found;
  if (column != kApn && column != kNumber && column != kUsr && column != kPwd)
    return found;
  for (size_t at = 0; at < value.size() && !found.error; at++) {
    ByteFault fault = byte_fault(column, value[at]);
    if (fault == ByteFault::kNone || (found.fault != ByteFault::kNone && !an_error(column, fault)))
      continue;
    found = {fault, at, an_error(column, fault)};
  }
  return found;
}
