// What messages call a column. The columns' rules (name, width, store
// item, placeholder) are isp_pick's own, kColumnRules in operator_table.h,
// so that the tool's rules follow the router's.
#pragma once

#include <stddef.h>

#include <string>

#include "operator_table.h"

/// "APN", or "column 12" for a column past the password.
std::string column_name(size_t column);
