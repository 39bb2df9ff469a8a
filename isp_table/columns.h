// The table's columns, declared once: what messages call each, the width of
// the field isp_pick keeps it in, the store item it becomes, and what "NA"
// or "blank" inside it does. Built from isp_pick's own record and column
// numbers, so that the tool's rules follow the router's.
#pragma once

#include <stddef.h>

#include <string>

#include "operator_table.h"

/// What a placeholder word inside a column's value does to the router.
enum class Placeholder {
  kKey,      // MCC and MNC: both blank make the row answer the empty identity
  kIndex,    // the store gets an empty index and loses which profile it holds
  kPrinted,  // name and region: only printed empty
  kSent,     // APN, dial number, user name, password: sent to the store empty
  kNone,     // technology: read by name, never blanked into the store
};

struct ColumnRule {
  const char *name;        // what messages call the column
  size_t width;            // the characters its field holds; 0: not kept as text
  const char *store_item;  // the store item isp_pick writes from it, or nullptr
  Placeholder placeholder;
};

/// The rules of each column, indexed by RowColumn.
extern const ColumnRule kColumnRules[kColumns];

/// "APN", or "column 12" for a column past the password.
std::string column_name(size_t column);
