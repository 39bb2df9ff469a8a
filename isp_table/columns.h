// What messages call a column, and how they list and measure values. The
// columns' rules (name, width, store
// item, placeholder) are isp_pick's own, kColumnRules in operator_table.h,
// so that the tool's rules follow the router's.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

#include "operator_table.h"

/// "APN", or "column 12" for a column past the password.
std::string column_name(size_t column);

/// `value` of `column` quoted as every message prints that column: an
/// operator name or a region as written (`shown_name`), any other value
/// with every byte past ASCII escaped (`shown`), so that an invisible or
/// look-alike character in what the store gets shows.
std::string shown_in(size_t column, const std::string &value);

/// `value` named with its column for a message: `APN "web"`,
/// `operator name "Müller Funk"`.
std::string named_value(size_t column, const std::string &value);

/// `items` as a message lists them: "a", "a or b", "a, b or c" (`word`
/// "or", or "and").
std::string listed(const std::vector<std::string> &items, const std::string &word);

/// Whether `text` is ASCII alone.
bool ascii(const std::string &text);

/// The size of `text` for a message: "64 bytes", or "72 bytes (38
/// characters)" when it is not ASCII alone, since isp_pick's fields hold
/// bytes.
std::string byte_size(const std::string &text);
