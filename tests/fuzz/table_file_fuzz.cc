// A whole operator table; its first six bytes are the identity looked up.
#include "fuzz_input.h"
#include "identity.h"
#include "operator_table.h"
#include "text.h"
#include "run.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  size_t id = size < 6 ? size : 6;
  const char *text = reinterpret_cast<const char *>(data);
  copy_text(mcc, sizeof mcc, text, id < 3 ? id : 3);
  copy_text(mnc, sizeof mnc, text + (id < 3 ? id : 3), id < 3 ? 0 : id - 3);
  put_file("/var/3.5G_Infomation.csv", data + id, size - id);
  parse();
  return 0;
}
