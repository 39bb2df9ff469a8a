// Bounded text helpers shared by every piece of isp_pick.
#pragma once
#include <stddef.h>

/// Copies the first `len` characters of `src` into `dst` (`size` bytes) and
/// terminates it. A copy that would not fit fails instead: returns -1 and
/// leaves `dst` untouched. Returns 1 on success.
int copy_text(char *dst, size_t size, const char *src, size_t len);

/// An ASCII digit, whatever the locale.
inline bool is_digit(char c) { return c >= '0' && c <= '9'; }

/// Standard decimal conversion: leading white space, an optional sign, then
/// the leading digits; 0 when there are none. Clamped to the int range, so
/// the result is the same on 32-bit and 64-bit machines.
int decimal_value(const char *text);

/// Writes `value` into `dst` (`size` bytes) with a backslash before each
/// double quote, backslash, dollar sign and backquote, so that between double
/// quotes the shell hands it on verbatim. Returns -1 (and `dst` empty) when
/// the escaped text does not fit, else 1.
int escape_for_shell(char *dst, size_t size, const char *value);
