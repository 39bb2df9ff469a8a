#include "columns.h"

#include "pieces.h"
#include "utf8.h"

std::string column_name(size_t column) {
  return column < kColumns ? kColumnRules[column].name : "column " + std::to_string(column + 1);
}

std::string shown_in(size_t column, const std::string &value) {
  return column == kIsp || column == kRegion ? shown_name(value) : shown(value);
}

std::string named_value(size_t column, const std::string &value) {
  return column_name(column) + " " + shown_in(column, value);
}

std::string listed(const std::vector<std::string> &items, const std::string &word) {
  std::string text;
  for (size_t i = 0; i < items.size(); i++)
    text += (i == 0 ? "" : i + 1 < items.size() ? ", " : " " + word + " ") + items[i];
  return text;
}

bool ascii(const std::string &text) {
  for (unsigned char b : text)
    if (b > 127)
      return false;
  return true;
}

std::string byte_size(const std::string &text) {
  std::string bytes = std::to_string(text.size()) + " bytes";
  return ascii(text) ? bytes : bytes + " (" + std::to_string(characters(text)) + " characters)";
}
