// The store's reply to "flash get", for every item the profile update reads.
#include "fake_shell.h"
#include "fuzz_input.h"
#include "operator_table.h"
#include "store_client.h"
#include "run.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::string reply = as_text(data, size);
  reset_fake_shell();
  for (const char *item : {"G_SYSTEM", "G_APN", "G_USERNAME", "G_PASSWORD", "G_NUMBER"})
    command_replies[std::string("flash get ") + item] = reply;
  char value[kMibValueSize];
  get_mib(value, "G_APN");
  set_to_mib();
  return 0;
}
