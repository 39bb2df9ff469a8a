#include "fields.h"

#include <string.h>

#include <algorithm>

#include "operator_table.h"

// A CR or LF that ends up in another column than the password stays in
// its value, as it does in isp_pick's record.
Fields split(const std::string &row) {
  std::vector<char> buf(row.c_str(), row.c_str() + strlen(row.c_str()) + 1);
  Fields f;
  char *cursor = buf.data();
  for (char *field; (field = next_field(&cursor)) != nullptr;) {
    std::vector<char> written(field, field + strlen(field) + 1);
    drop_line_end(written.data());
    f.written.push_back(written.data());
    blank_placeholder(field);
    if (f.taken.size() == kPwd)
      drop_line_end(field);
    f.taken.push_back(field);
  }
  return f;
}

std::string line_text(const std::string &line) {
  std::vector<char> buf(line.c_str(), line.c_str() + strlen(line.c_str()) + 1);
  drop_line_end(buf.data());
  return buf.data();
}

std::vector<Span> field_spans(const std::string &text) {
  std::vector<char> buf(text.c_str(), text.c_str() + strlen(text.c_str()) + 1);
  std::vector<Span> spans;
  char *cursor = buf.data();
  for (char *field; (field = next_field(&cursor)) != nullptr;) {
    size_t start = field - buf.data();
    spans.push_back({start, start + strlen(field)});
  }
  return spans;
}

// isp_pick drops the header unread, so it may name columns after the
// password (a note), which rows then fill.
size_t table_columns(const Table &table) {
  const std::vector<Piece> &pieces = table.pieces;
  if (pieces.empty() || pieces[0].line != 1)
    return kColumns;
  return std::max<size_t>(kColumns, field_spans(line_text(pieces[0].text)).size());
}
