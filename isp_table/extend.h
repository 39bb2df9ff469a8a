// isp_table extend TABLE: a hand-kept table with the public rows that
// change nothing for a SIM it serves.
#pragma once

#include <stdio.h>

#include <vector>

#include "sources.h"

/// The check of the table at `path`, its findings kept unless it fails:
/// with errors they go to `out` as the check writes them. Returns the
/// check's status (0, 1 with errors, 2 when the table cannot be read).
int check_before_extending(const char *path, FILE *out);

/// Writes to `out` the table at `path` byte for byte, its placeholder rows
/// (MCC and MNC both placeholders) moved to the end, and before them the
/// rows merged from `sources` that no SIM the table serves would get, each
/// with its key's stable index (`stable_index`), never one the table uses.
/// The summary goes to `summary`, with one line per kept row that gives
/// some public row's SIMs another technology, APN, user, password or dial
/// number than the public data ranks first, and whether the kept APN is
/// listed for those networks at all. Returns 0, 1 when the table uses every index a
/// public row may take, 2 when the table cannot be read.
int extend_table(const char *path, const std::vector<Source> &sources, FILE *out, FILE *summary);
