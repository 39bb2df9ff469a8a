#include "identity.h"

#include <stdio.h>
#include <string.h>

#include "text.h"

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

constexpr size_t kCodeLength = 3;

// Copies stop at the end of the text, so a short line gives short codes.
void take_identity(const char *line, char *m, char *n) {
  size_t len = strlen(line);
  size_t mcc_len = len < kCodeLength ? len : kCodeLength;
  size_t rest = len - mcc_len;
  copy_text(m, kCodeSize, line, mcc_len);
  copy_text(n, kCodeSize, line + mcc_len, rest < kCodeLength ? rest : kCodeLength);
}
