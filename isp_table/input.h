// The tool's input files, read as isp_pick reads its own: regular files
// only, so that a FIFO or a device given as a file never blocks a run.
#pragma once

#include <string>

/// Reads the whole regular file at `path` into `bytes`. Returns false with
/// `why` set (the system's reason, or "not a regular file") when it cannot.
bool read_regular(const char *path, std::string *bytes, std::string *why);
