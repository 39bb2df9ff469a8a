// A row's fields as isp_pick cuts them, for the check: the values it
// takes, and where each field of a line's text stands.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

#include "table.h"

/// The fields of a row as isp_pick cuts them: as written, without the line
/// end (for messages), and as isp_pick takes them (placeholders blanked).
struct Fields {
  std::vector<std::string> written, taken;
};

/// `row` cut as isp_pick cuts it; only the password loses the line end.
Fields split(const std::string &row);

/// The line as isp_pick sees it as text (up to a NUL byte), without its
/// line end.
std::string line_text(const std::string &line);

/// A field of a line's text as isp_pick cuts it: its bytes [start, end).
struct Span {
  size_t start, end;
};

/// The fields of `text` (a line's text, without its line end) as isp_pick
/// cuts them: a comma that ends the text leaves no field.
std::vector<Span> field_spans(const std::string &text);

/// The columns of `table`: the fields of its header as isp_pick cuts them,
/// never fewer than the ten it reads.
size_t table_columns(const Table &table);
