// The pieces of the check, one concern a file: the line structure
// (check.cc), the spreadsheet's traps (check_traps.cc), the columns' values
// (check_values.cc) and what answers (check_shadowing.cc). Each adds its
// findings to one Checker.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "findings.h"
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

/// `items` as a message lists them: "a", "a or b", "a, b or c" (`word`
/// "or", or "and").
std::string listed(const std::vector<std::string> &items, const std::string &word);

/// The size of `text` for a message: "64 bytes", or "72 bytes (38
/// characters)" when it is not ASCII alone, since isp_pick's fields hold
/// bytes.
std::string byte_size(const std::string &text);

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

struct Checker {
  const Table *table;
  size_t columns = kColumns;  // table_columns
  Findings found;
  int last_row = 0;
  std::vector<int> placeholder_rows;
  std::map<std::string, std::pair<int, std::vector<std::string>>> indexes;  // -> line, profile

  void report(int line, bool error, const std::string &text) { found.report(line, error, text); }
};

/// Reports the traps of a table saved from a spreadsheet that move values
/// out of their columns on line `line` (`whole`: all its reads); returns
/// true when there was one, so that the shifted values go unexamined.
bool shifted_columns(Checker *c, int line, const std::string &whole);

/// The findings of a row whose values stand in their columns.
void check_columns(Checker *c, int line, const Fields &f);

/// Whether an earlier row answers this row's MCC and MNC (the model's own
/// lookup), and notes a placeholder row.
void check_answer(Checker *c, const Piece &p, const Fields &f);

/// Each placeholder row before the last row, once every line is checked.
void check_placeholder_rows(Checker *c);
