// Android's carrier identity database as isp_table reads it: the text
// format's reader and the load of its networks must survive any bytes.
#include "carrier_list.h"
#include "fuzz_input.h"
#include "sources.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  CarrierList list;
  std::string error;
  read_carrier_list(as_text(data, size), &list, &error);
  put_file("/tmp/carrier_list.textpb", data, size);
  Source source;
  size_t next_lister = 0;
  load_source("/tmp/carrier_list.textpb", 0, &next_lister, &source, &error);
  return 0;
}
