// Android's carrier identity database (carrier_list.textpb): each carrier
// with the networks it is found on and what tells its SIMs apart there.
#pragma once

#include <string>
#include <vector>

struct CarrierAttribute {
  int line = 0;  // the line of its "carrier_attribute {"
  std::vector<std::string> mccmnc_tuple, imsi_prefix_xpattern, spn, plmn, gid1, gid2,
      preferred_apn, iccid_prefix, privilege_access_rule;
};

struct Carrier {
  int line = 0;  // the line of its "carrier_id {"
  long canonical_id = -1;  // -1: not given
  std::string carrier_name;
  long parent_canonical_id = -1;  // -1: not given
  std::vector<CarrierAttribute> attributes;
};

struct CarrierList {
  std::vector<Carrier> carriers;
  long version = -1;
};
