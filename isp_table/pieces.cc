#include "pieces.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

#include <memory>

#include "input.h"
#include "operator_table.h"
#include "utf8.h"

// A table may come through a pipe too, so the file that is none is "not a
// regular file or pipe".
static bool failed(std::string *why) {
  *why = open_failure(kNotATable);
  return false;
}

bool read_pieces(const char *path, std::vector<Piece> *pieces, std::string *why) {
  const char *source = table_source(path, why);
  if (!source)
    return false;
  std::unique_ptr<TableReader> reader(new TableReader);
  errno = 0;
  if (table_open(reader.get(), source) < 0)
    return failed(why);
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
  return table_close(reader.get()) > 0 || failed(why);
}

std::string Line::whole() const {
  std::string bytes;
  for (const Piece *p = first; p < end; p++)
    bytes += p->text;
  return bytes;
}

// A line ends at its line feed, as isp_pick reads it; a longer line is
// several reads of the same line number.
std::vector<Line> table_lines(const std::vector<Piece> &pieces) {
  std::vector<Line> lines;
  const Piece *begin = pieces.data(), *stop = begin + pieces.size();
  for (const Piece *first = begin, *end; first < stop; first = end) {
    for (end = first + 1; end < stop && end->line == first->line; end++) {
    }
    lines.push_back({first, end});
  }
  return lines;
}

static void escape_byte(unsigned char c, std::string *out) {
  if (c == '\t')
    *out += "\\t";
  else if (c == '"' || c == '\\')
    *out += {'\\', char(c)};
  else if (c < 32 || c > 126)
    *out += {'\\', 'x', "0123456789abcdef"[c >> 4], "0123456789abcdef"[c & 15]};
  else
    *out += char(c);
}

// Characters that print as nothing, or turn the text that follows around
// (the bidirectional overrides): printed as they stand, they would let a
// name hide or reorder what a line says.
static bool invisible(unsigned code) {
  return code == 0xad || code == 0x61c || code == 0x180e || (code >= 0x200b && code <= 0x200f) ||
         (code >= 0x2028 && code <= 0x202e) || (code >= 0x2060 && code <= 0x206f) ||
         code == 0xfeff || (code >= 0xfff9 && code <= 0xfffb);
}

// The text up to its first NUL byte, quoted; `names`: each well-formed,
// visible character from U+00A0 on as it stands.
static std::string escaped(const char *text, size_t size, bool names) {
  std::string value(text, strnlen(text, size)), out = "\"";
  for (size_t i = 0; i < value.size();) {
    unsigned code = 0;
    size_t length = names ? utf8_char(value, i, &code) : 0;
    if (length > 1 && code >= 0xa0 && !invisible(code)) {
      out.append(value, i, length);
      i += length;
    } else {
      escape_byte(value[i++], &out);
    }
  }
  return out + "\"";
}

std::string quoted(const char *text, size_t size) { return escaped(text, size, false); }

std::string shown(const std::string &value) { return quoted(value.data(), value.size()); }

std::string quoted_name(const char *text, size_t size) { return escaped(text, size, true); }

std::string shown_name(const std::string &name) { return quoted_name(name.data(), name.size()); }
