#include "columns.h"

#include "pieces.h"

std::string column_name(size_t column) {
  return column < kColumns ? kColumnRules[column].name : "column " + std::to_string(column + 1);
}

std::string shown_in(size_t column, const std::string &value) {
  return column == kIsp || column == kRegion ? shown_name(value) : shown(value);
}

std::string named_value(size_t column, const std::string &value) {
  return column_name(column) + " " + shown_in(column, value);
}
