#include "text.h"

#include <limits.h>
#include <stdlib.h>
#include <string.h>

int copy_text(char *dst, size_t size, const char *src, size_t len) {
  if (len >= size)
    return -1;
  memcpy(dst, src, len);
  dst[len] = '\0';
  return 1;
}

int decimal_value(const char *text) {
  long long v = strtoll(text, nullptr, 10);
  if (v > INT_MAX)
    return INT_MAX;
  if (v < INT_MIN)
    return INT_MIN;
  return (int)v;
}

int escape_for_shell(char *dst, size_t size, const char *value) {
  if (size == 0)
    return -1;
  size_t n = 0;
  for (const char *p = value; *p; p++) {
    bool special = strchr("\"\\$`", *p) != nullptr;
    if (n + special + 1 >= size) {
      dst[0] = '\0';
      return -1;
    }
    if (special)
      dst[n++] = '\\';
    dst[n++] = *p;
  }
  dst[n] = '\0';
  return 1;
}
