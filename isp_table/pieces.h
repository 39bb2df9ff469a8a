// A table as isp_pick reads it: every read it makes, and the line each
// read stands on.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

/// One read of the table, and where it stands.
struct Piece {
  int line;
  size_t offset;     // characters of its line before it
  std::string text;  // every byte read, NUL bytes too
};

/// Reads the table at `path` with isp_pick's own row reader into `pieces`.
/// Returns false when it cannot be opened or a read fails.
bool read_pieces(const char *path, std::vector<Piece> *pieces);

/// Reports on standard error that `path` could not be read, and why.
void cannot_read(const char *path);
