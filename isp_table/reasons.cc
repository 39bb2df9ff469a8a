#include "reasons.h"

const Wording kLeftOut[kLeftOutReasons] = {
    {"test-network", "test network (MCC 001 or 999)"},
    {"no-internet-apn", "provider without an internet APN"},
    {"disabled", "disabled entry (carrier_enabled=\"false\")"},
    {"not-internet", "not an internet APN (type)"},
    {"gid1-reseller", "GID1-marked provider where the network has its own"},
    {"mvno-reseller", "MVNO entry (mvno_type) where the network has its own"},
    {"carrier-list-reseller",
     "reseller by the carrier identity database where the network has its own"},
    {"not-primary", "provider marked primary=\"false\" where the network has its own"},
    {"comma-in-value", "comma or line end in a value"},
    {"blank-placeholder", "APN, user name or password holds NA or blank"},
    {"not-dns-name", "APN with a byte other than letters, digits, hyphens and dots"},
    {"control-byte", "tab or control byte in a user name, password or dial number"},
    {"non-ascii-number", "non-ASCII byte in a dial number"},
    {"value-too-long", "APN, user name or password too long for its field"},
    {"line-too-long", "line longer than one read"},
    {"not-read-back", "not read back unchanged by isp_pick"}};

const char *left_out_code(const std::string &words) {
  for (const Wording &w : kLeftOut)
    if (words == w.words)
      return w.code;
  return "";
}
