// The SID capture "/tmp/css_output" that chat leaves, with a valid card.
#include "fake_shell.h"
#include "fuzz_input.h"
#include "sid_query.h"
#include "sid_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static const uint8_t card[] = "CDMA\nvendor\nPORT=/dev/ttyUSB0\n";
  put_file("/var/HSDPACARD", card, sizeof card - 1);
  std::string capture = as_text(data, size);
  reset_fake_shell();
  chat_capture = capture.c_str();
  mapping(getsid());
  return 0;
}
