// The verbs of isp_table, one file each (verb_*.cc), as git's builtin/
// keeps its commands: each entry function runs one parsed command line and
// returns the exit status. The verbs' table in cli.cc names them.
#pragma once

#include <vector>

#include "cli.h"
#include "sources.h"
#include "table.h"

int cmd_generate(const Command &command);
int cmd_check(const Command &command);
int cmd_explain(const Command &command);
int cmd_diff(const Command &command);
int cmd_extend(const Command &command);

/// The public databases of the command (the installed one without FILE),
/// with their regions, and only the markets of --only. Returns 0, or the
/// exit status of a run that ends here: 2 when a database cannot be read,
/// as for every input of every verb, or on a usage error --only makes.
int load_inputs(const Command &command, std::vector<Source> *sources);

/// Reads the table at `path` into the model, once for the run; on failure
/// says why on standard error ("isp_table: cannot read PATH: WHY"). With a
/// `purpose` ("check", "extend"), a table of no bytes is a failure too,
/// said as "isp_table: PATH is empty: no table to PURPOSE" and its likely
/// cause; without, it is an empty table (diff's OLD, a first release).
bool load_or_report(const char *path, Table *table, const char *purpose);
