// A hand-kept table as `isp_table check` reads it: the check and the
// explanation of one run must survive any bytes.
#include "check.h"
#include "explain.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static FILE *sink = fopen("/dev/null", "w");
  put_file("/tmp/table.csv", data, size);
  Table table;
  if (load_table("/tmp/table.csv", &table)) {
    print_findings("/tmp/table.csv", check_table(table), sink);
    explain_imsi(table, "405854123456789", sink);
    explain_sid(table, 3000, sink);
  }
  return 0;
}
