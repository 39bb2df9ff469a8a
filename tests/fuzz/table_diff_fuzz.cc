// Two hand-kept tables as `isp_table diff` reads them, cut from the input
// at its first "@@\n" (OLD before, NEW after): the diff must survive any
// bytes, and every line it prints keeps its form.
#include <stdlib.h>
#include <string.h>

#include <regex>
#include <sstream>

#include "diff.h"
#include "fuzz_input.h"

// Every line but the count begins with an identity and ": ", and each is
// printable ASCII.
static void check_lines(const std::string &text) {
  static const std::regex change("([0-9]{3}-[0-9]{2,3}|SID [0-9]+(-[0-9]+)?|SID other): [ -~]*");
  static const std::regex count("[0-9]+ of [0-9]+ SIM groups change: [0-9, a-z]*");
  std::istringstream in(text);
  std::string line, next;
  std::getline(in, line);
  for (; std::getline(in, next); line = next)
    if (!std::regex_match(line, change))
      abort();
  if (text.empty() || text.back() != '\n' || !std::regex_match(line, count))
    abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const uint8_t *cut = (const uint8_t *)memmem(data, size, "@@\n", 3);
  size_t old_size = cut ? cut - data : size, new_start = cut ? old_size + 3 : size;
  put_file("/tmp/old.csv", data, old_size);
  put_file("/tmp/new.csv", data + new_start, size - new_start);
  char *text = nullptr;
  size_t text_size = 0;
  FILE *out = open_memstream(&text, &text_size);
  Table was, now;
  if (load_table("/tmp/old.csv", &was) && load_table("/tmp/new.csv", &now))
    diff_tables(was, now, out);
  else
    fputs("0 of 0 SIM groups change: 0 changed, 0 gaining, 0 losing\n", out);
  fclose(out);
  check_lines(std::string(text, text_size));
  free(text);
  return 0;
}
