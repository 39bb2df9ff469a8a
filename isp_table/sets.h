// What the ranking and the check against the public data ask of two sets.
#pragma once

#include <set>

/// Whether `a` and `b` have no element in common.
template <typename T>
bool disjoint(const std::set<T> &a, const std::set<T> &b) {
  for (const T &s : a)
    if (b.count(s))
      return false;
  return true;
}
