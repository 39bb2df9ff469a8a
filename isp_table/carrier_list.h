// Android's carrier identity database (carrier_list.textpb of AOSP's
// TelephonyProvider): each carrier with the MCC-MNC tuples, and for brands
// and resellers the SPN, GID1 or IMSI prefixes, that tell its SIMs apart.
// The file is a protocol buffer in text format, of the schema
// carrierId.proto; a reader of our own takes the little of that format
// the file uses and names the line of every fault.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

#include "input.h"

/// One way to recognise a carrier's SIMs (CarrierAttribute): a SIM
/// matches when it has one of the values of each field given.
struct CarrierAttribute {
  int line = 0;  // the line of its "carrier_attribute {"
  std::vector<std::string> mccmnc_tuple, imsi_prefix_xpattern, spn, plmn, gid1, gid2,
      preferred_apn, iccid_prefix, privilege_access_rule;
};

/// One carrier (CarrierId).
struct Carrier {
  int line = 0;  // the line of its "carrier_id {"
  long canonical_id = -1;  // -1: not given
  std::string carrier_name;
  long parent_canonical_id = -1;  // -1: not given
  std::vector<CarrierAttribute> attributes;
};

/// The whole file (CarrierList).
struct CarrierList {
  std::vector<Carrier> carriers;
  long version = -1;  // -1: not given
};

/// The most bytes a carrier list may hold, and one string of it.
constexpr size_t kCarrierListMax = kMemoryInputMax;
constexpr size_t kCarrierStringMax = size_t(64) << 10;

/// Reads a carrier list from `bytes`; false with `error` "line N: what is wrong" on a
/// malformed file (unterminated string or block, unknown field, a string where a number
/// belongs or the other way round, a non-repeated field given twice, bytes after the end...),
/// or "more than 64 MiB" when `bytes` hold more than kCarrierListMax.
bool read_carrier_list(const std::string &bytes, CarrierList *list, std::string *error);

/// Whether `bytes` begin (after white space and # comments) like a carrier list:
/// the word "carrier_id" or "version" followed by ":" or "{" (or "<").
bool looks_like_carrier_list(const std::string &bytes);
