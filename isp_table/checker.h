// The state of one check of a table, which its parts share: one concern a
// file, the line structure (check.cc), the spreadsheet's traps
// (check_traps.cc), the columns' values (check_values.cc) and what answers
// (check_shadowing.cc). Each adds its findings to one Checker.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "fields.h"
#include "findings.h"
#include "table.h"

/// One check in progress: the table, its findings so far, and what later
/// rows are held to.
struct Checker {
  const Table *table;
  size_t columns = kColumns;  // table_columns
  Findings found;
  int last_row = 0;
  std::vector<int> placeholder_rows;
  std::map<std::string, std::pair<int, std::vector<std::string>>> indexes;  // -> line, profile

  /// Adds a finding; `code` names its kind ("comma-in-value"), the same
  /// for every message of that kind and in every release, never empty.
  void report(int line, bool error, const std::string &text, const char *code) {
    found.report(line, error, text, code);
  }
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
