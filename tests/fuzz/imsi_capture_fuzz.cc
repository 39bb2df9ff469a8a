// The IMSI capture "/tmp/cimi_output".
#include "fuzz_input.h"
#include "identity.h"
#include "imsi_capture.h"
#include "run.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  put_file("/tmp/cimi_output", data, size);
  mcc[0] = mnc[0] = '\0';
  getplmn();
  return 0;
}
