#include "network_id.h"

LookupKey first_lookup(const NetworkId &id) {
  LookupKey keys[kMaxLookups];
  lookup_order(id.first.c_str(), id.second.c_str(), true, keys);
  return keys[0];
}

NetworkId lookup_key(const NetworkId &id) {
  LookupKey key = first_lookup(id);
  return {key.mcc, key.mnc};
}
