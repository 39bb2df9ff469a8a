// A target with a planted fault: it aborts on an input that begins with
// "crash". The replayer must fail on it and name that input, so that a
// crash in the kept corpus fails the tests with a pointer to its cause.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size >= 5 && memcmp(data, "crash", 5) == 0)
    abort();
  return 0;
}
