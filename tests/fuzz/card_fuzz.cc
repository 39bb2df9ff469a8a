// The card description "/var/HSDPACARD": no device path may reach the shell
// unless it is a plain path.
#include <stdlib.h>
#include <string.h>

#include "fake_shell.h"
#include "fuzz_input.h"
#include "sid_query.h"

static bool plain(const std::string &s) {
  return s.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/._-"
                             " <>\"") == std::string::npos;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  put_file("/var/HSDPACARD", data, size);
  reset_fake_shell();
  chat_capture = "AT+CSS\n+CSS: 1,B,14494\n";
  getsid();
  for (const std::string &line : commands_run)
    if (!plain(line.substr(line.find('<'))))
      abort();
  return 0;
}
