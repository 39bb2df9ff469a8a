#include <limits.h>
#include <stdlib.h>

#include "hsdpa_keeper.h"

// Standard decimal conversion, clamped so that 32-bit and 64-bit machines agree.
static int conf_int(const char *name) {
  char *value = getdata_conf(name);
  long long n = strtoll(value, nullptr, 10);
  release_conf(value);
  return n > INT_MAX ? INT_MAX : n < INT_MIN ? INT_MIN : (int)n;
}

int main() {
  int op_mode = conf_int("OP_MODE");
  int wan_dhcp = conf_int("WAN_DHCP");
  int wan_interface = conf_int("WAN_INTERFACE");
  int g_backup = conf_int("G_BACKUP");
  if (!link_in_use(op_mode, wan_dhcp, wan_interface, g_backup))
    return 0;
  for (;;) {
    // The script's result does not matter: the link is tried again anyway.
    int status = system("HSDPA.sh");
    (void)status;
    select_sleep(10000);
  }
}
