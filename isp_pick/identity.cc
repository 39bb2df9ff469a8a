#include "identity.h"

#include "text.h"

char mcc[kCodeSize];
char mnc[kCodeSize];

constexpr int kMccWithLongMnc = 405;

bool long_mnc_first() { return decimal_value(mcc) == kMccWithLongMnc; }

void shorten_mnc() { mnc[2] = '\0'; }
