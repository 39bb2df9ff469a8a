// The keeper's settings file "/var/config/SYS.info".
#include <sys/stat.h>

#include "fuzz_input.h"
#include "hsdpa_keeper.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  mkdir("/var/config", 0755);
  put_file("/var/config/SYS.info", data, size);
  for (const char *key : {"OP_MODE", "WAN_DHCP", "WAN_INTERFACE", "G_BACKUP"})
    release_conf(getdata_conf(key));
  return 0;
}
