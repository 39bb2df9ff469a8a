// Helpers for the fuzz targets: each puts its input where the programs read
// it, then calls the very functions the programs run. The targets run with a
// private /tmp and /var.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#include <string>

inline void put_file(const char *path, const uint8_t *data, size_t size) {
  FILE *f = fopen(path, "w");
  if (!f)
    return;
  fwrite(data, 1, size, f);
  fclose(f);
}

inline std::string as_text(const uint8_t *data, size_t size) {
  return std::string(reinterpret_cast<const char *>(data), size);
}
