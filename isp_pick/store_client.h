// The router's configuration store (MIB), reached only through `flash`.
#pragma once

constexpr int kMibValueSize = 64;

/// Reads item `name` with "flash get" into `dst` (kMibValueSize bytes).
/// Returns 1, or -1 with `dst` untouched when the command cannot start,
/// prints nothing, or its first line holds no value.
int get_mib(char *dst, const char *name);

/// Writes `isp_info` into the store: the profile index always, every other
/// item only when its stored value differs or cannot be read. Every item is
/// tried. Returns 1, or -1 when a "flash set" it needed did not end with
/// status 0 (not found, not started, killed, or refused by `flash`); each
/// such item is named on standard error.
int set_to_mib();
