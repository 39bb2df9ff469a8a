// The tool's one test for a code of digits: MCCs, MNCs, IMSIs, indexes.
#pragma once

#include <stddef.h>

#include <string>

#include "text.h"

/// True when `s` is `min` to `max` characters, all ASCII digits
/// (isp_pick's own `is_digit`).
inline bool all_digits(const std::string &s, size_t min = 1, size_t max = std::string::npos) {
  if (s.size() < min || s.size() > max)
    return false;
  for (char c : s)
    if (!is_digit(c))
      return false;
  return true;
}
