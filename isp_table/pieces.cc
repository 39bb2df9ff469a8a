#include "pieces.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

#include <memory>

#include "input.h"
#include "operator_table.h"

bool read_pieces(const char *path, std::vector<Piece> *pieces) {
  errno = 0;
  const char *source = table_source(path);
  if (!source)
    return false;
  std::unique_ptr<TableReader> reader(new TableReader);
  if (table_open(reader.get(), source) < 0)
    return false;
  char row[kRowSize];
  int line = 1;
  size_t offset = 0;
  for (size_t len; (len = table_piece(reader.get(), row)) > 0;) {
    pieces->push_back({line, offset, std::string(row, len)});
    offset += len;
    if (row[len - 1] == '\n') {
      line++;
      offset = 0;
    }
  }
  return table_close(reader.get()) > 0;
}

void cannot_read(const char *path) {
  fprintf(stderr, "isp_table: cannot read %s: %s\n", path,
          errno ? strerror(errno) : "not a regular file");
}

std::string quoted(const char *text, size_t size) {
  std::string out = "\"";
  for (size_t i = 0; i < size && text[i]; i++) {
    unsigned char c = text[i];
    if (c == '\t')
      out += "\\t";
    else if (c == '"' || c == '\\')
      out += {'\\', char(c)};
    else if (c < 32 || c > 126)
      out += {'\\', 'x', "0123456789abcdef"[c >> 4], "0123456789abcdef"[c & 15]};
    else
      out += char(c);
  }
  return out + "\"";
}

std::string shown(const std::string &value) { return quoted(value.data(), value.size()); }
