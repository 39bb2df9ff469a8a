// Why a database's entry gives no row: each reason's stable word for a
// report and its words for the summary, declared once so that the two
// cannot drift apart.
#pragma once

#include <string>

/// A reason or an outcome as a machine reads it ("code", kebab-case,
/// stable across releases) and as a person reads it ("words").
struct Wording {
  const char *code;
  const char *words;
};

/// The reasons an entry gives no row, from reading a database to writing
/// the row.
enum LeftOutReason {
  kTestNetworkOut,    // MCC 001 or 999
  kNoInternetApnOut,  // a provider without an internet APN
  kDisabledOut,       // carrier_enabled="false"
  kNotInternetOut,    // an Android entry of no internet type
  kGid1Out,           // resellers set aside where the network has its own
  kMvnoOut,
  kToldApartOut,
  kSecondaryOut,
  kCommaOut,          // a row isp_pick would not read back
  kBlankedOut,
  kNotDnsNameOut,
  kControlOut,
  kDialByteOut,
  kTooLongOut,
  kLineTooLongOut,
  kNotReadBackOut,
  kLeftOutReasons
};

/// Each LeftOutReason's words, in its order.
extern const Wording kLeftOut[kLeftOutReasons];

/// The code of the reason whose words are `words`; empty for none.
const char *left_out_code(const std::string &words);
