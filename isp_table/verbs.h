// The verbs of isp_table, one file each (verb_*.cc), as git's builtin/
// keeps its commands: each entry function runs one parsed command line and
// returns the exit status. The verbs' table in cli.cc names them.
#pragma once

#include <vector>

#include "cli.h"
#include "exit_status.h"
#include "findings.h"
#include "sources.h"
#include "table.h"

ExitStatus cmd_generate(const Command &command);
ExitStatus cmd_check(const Command &command);
ExitStatus cmd_explain(const Command &command);
ExitStatus cmd_diff(const Command &command);
ExitStatus cmd_extend(const Command &command);

/// The public databases of the command (the installed one without FILE),
/// with their regions, and only the markets of --only. Returns false when
/// the run ends here, said on standard error: a database that cannot be
/// read, or a usage error --only makes.
bool load_inputs(const Command &command, std::vector<Source> *sources);

/// The status of a check's findings: errors are kFindings; warnings alone,
/// which a hand-kept row newer than the databases may earn, are kClean.
ExitStatus check_status(const Findings &findings);

/// Reads the table at `path` into the model, once for the run; on failure
/// says why on standard error ("isp_table: cannot read PATH: WHY"). With a
/// `purpose` ("check", "extend"), a table of no bytes is a failure too,
/// said as "isp_table: PATH is empty: no table to PURPOSE" and its likely
/// cause; without, it is an empty table (diff's OLD, a first release).
bool load_or_report(const char *path, Table *table, const char *purpose);
