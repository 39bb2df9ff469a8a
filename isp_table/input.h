// The tool's input files, read as isp_pick reads its own: regular files,
// so that a FIFO or a device given as a database never blocks a run. A
// table may also come through a pipe, a FIFO or standard input, or be the
// null device: the host tool copies it into memory (up to kMemoryInputMax
// bytes) and hands the copy to the same reader.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <sys/stat.h>

#include <string>

/// Reads the whole regular file at `path` into `bytes`, at most `limit`
/// bytes. Returns false with `why` set (the system's reason, "not a regular
/// file" or "more than N MiB") when it cannot.
bool read_regular(const char *path, std::string *bytes, std::string *why,
                  size_t limit = SIZE_MAX);

/// The most bytes an input read whole into memory may hold: a table read
/// from standard input or a pipe, a carrier list.
constexpr size_t kMemoryInputMax = size_t(64) << 20;

/// Why a table that is neither a regular file nor a pipe cannot be read.
constexpr const char kNotATable[] = "not a regular file or pipe";

/// Why open_regular (or a reader that calls it) failed: the system's
/// reason, or `kind` when errno is 0, its word for a file that is there
/// but no regular file. `kind` says what the caller takes instead.
std::string open_failure(const char *kind);

/// The path to open for the table named `path`: `path` itself, or for "-"
/// (standard input: a pipe, a socket, a regular file or the null device),
/// a pipe or the null device, a copy of its bytes in memory made on the
/// first call, so that every read of the run sees the same table. nullptr
/// with `why` set when standard input is another kind of file, or the pipe
/// cannot be read or holds more than kMemoryInputMax bytes.
const char *table_source(const char *path, std::string *why);

/// The file of the table named `path` ("-": standard input) into `st`;
/// false when it cannot be known.
bool stat_table(const char *path, struct stat *st);

/// Whether the table named `path` ("-": standard input) is the null
/// device, which reads as a table of no bytes.
bool null_device(const char *path);
