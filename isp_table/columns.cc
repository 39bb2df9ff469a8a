#include "columns.h"

std::string column_name(size_t column) {
  return column < kColumns ? kColumnRules[column].name : "column " + std::to_string(column + 1);
}
