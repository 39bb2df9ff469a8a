#include "identity.h"

char mcc[kCodeSize];
char mnc[kCodeSize];
