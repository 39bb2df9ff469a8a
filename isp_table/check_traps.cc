// The traps of a table saved from a spreadsheet: quotes, another
// separator, empty values. Each moves the later values out of their
// columns, so it is reported by its cause, once per row.
#include <string>
#include <vector>

#include "check_rules.h"
#include "columns.h"

// The values as a spreadsheet wrote them: cut at every comma, empty ones
// kept, which isp_pick's own cutting skips.
static std::vector<std::string> cells(const std::string &text) {
  std::vector<std::string> values;
  size_t start = 0;
  for (size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
    values.push_back(text.substr(start, comma - start));
  values.push_back(text.substr(start));
  return values;
}

static bool other_separator(Checker *c, int line, const std::string &text) {
  if (text.find(',') != std::string::npos)
    return false;
  bool semicolons = text.find(';') != std::string::npos;
  bool tabs = text.find('\t') != std::string::npos;
  if (!semicolons && !tabs)
    return false;
  std::string used = semicolons && tabs ? "semicolons and tabs" : semicolons ? "semicolons" : "tabs";
  c->report(line, true,
            "values separated by " + used +
                ", not commas: isp_pick splits at commas only, so it reads the line as "
                "one value and never returns the row");
  return true;
}

static bool printed_only(size_t column) {
  return column == kIsp || column == kRegion || column == kSystem;
}

// Values in quotes whole keep their columns, but the quotes go with them:
// to the store, or into the lookup's comparison; a name or region only
// prints them. Returns true when a quote reaches more than the print.
static bool in_quotes(Checker *c, int line, const std::vector<size_t> &columns) {
  std::string names;
  bool harmful = false;
  for (size_t i = 0; i < columns.size(); i++) {
    names += (i == 0 ? "" : i + 1 < columns.size() ? ", " : " and ") + column_name(columns[i]);
    harmful = harmful || !printed_only(columns[i]);
  }
  c->report(line, harmful,
            names + (columns.size() > 1 ? " are" : " is") +
                " in double quotes: isp_pick reads no quotes and takes them as part of the value");
  return harmful;
}

// Columns after the password are never read, so their quotes shift nothing.
static bool quoted_value(Checker *c, int line, const std::vector<std::string> &values) {
  std::vector<size_t> whole;
  for (size_t i = 0; i < values.size() && i < kColumns; i++) {
    const std::string &v = values[i];
    if (v.empty() || v[0] != '"')
      continue;
    if (v.size() > 1 && v.back() == '"') {
      whole.push_back(i);
      continue;
    }
    c->report(line, true,
              column_name(i) +
                  " begins with a double quote: spreadsheets quote a value that holds a "
                  "comma, but isp_pick reads no quotes, so the comma splits the value and "
                  "shifts every later column");
    return true;
  }
  return !whole.empty() && in_quotes(c, line, whole);
}

// Empty values after the password shift nothing, so only the first ten
// count; a leading comma is an empty index. A comma that ends the line
// shifts nothing either: it leaves the last value empty, and a row short of
// columns is reported as such.
static bool empty_value(Checker *c, int line, const std::vector<std::string> &values) {
  for (size_t i = 0; i + 1 < values.size() && i < kColumns; i++) {
    if (!values[i].empty())
      continue;
    c->report(line, true,
              column_name(i) +
                  " is empty: isp_pick skips an empty value, so every later column "
                  "shifts; write \"NA\"");
    return true;
  }
  return false;
}

bool shifted_columns(Checker *c, int line, const std::string &whole) {
  std::string text = line_text(whole);
  if (other_separator(c, line, text))
    return true;
  std::vector<std::string> values = cells(text);
  bool quoted = quoted_value(c, line, values);
  bool empty = empty_value(c, line, values);
  return quoted || empty;
}
