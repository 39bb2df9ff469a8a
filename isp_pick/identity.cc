#include "identity.h"

#include <stdio.h>

#include "text.h"

char mcc[kCodeSize];
char mnc[kCodeSize];

constexpr int kMccWithLongMnc = 405;
constexpr int kShortMnc = 2;

static void set_key(LookupKey *key, const char *m, const char *n, int mnc_max) {
  snprintf(key->mcc, sizeof key->mcc, "%s", m);
  snprintf(key->mnc, sizeof key->mnc, "%.*s", mnc_max, n);
}

int lookup_order(const char *m, const char *n, bool from_imsi, LookupKey keys[kMaxLookups]) {
  int count = 0;
  if (!from_imsi || decimal_value(m) == kMccWithLongMnc)
    set_key(&keys[count++], m, n, kCodeSize - 1);
  if (from_imsi)
    set_key(&keys[count++], m, n, kShortMnc);
  return count;
}
