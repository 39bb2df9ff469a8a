// SHA-256 of what the tool reads and writes, so that a manifest names each
// input and the table by their bytes alone, as sha256sum prints them.
#pragma once

#include <string>

/// The SHA-256 of `bytes`, as 64 lower-case hex digits.
std::string sha256_hex(const std::string &bytes);

