// One row of the operator table, looked up with a matching identity.
#include <string.h>

#include "fuzz_input.h"
#include "identity.h"
#include "operator_table.h"
#include "run.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::string table = "Index,MCC,MNC,ISP,Region,System,APN,Number,User,Password\r\n" +
                      as_text(data, size);
  put_file("/var/3.5G_Infomation.csv", reinterpret_cast<const uint8_t *>(table.data()),
           table.size());
  strcpy(mcc, "404");
  strcpy(mnc, "45");
  parse();
  return 0;
}
