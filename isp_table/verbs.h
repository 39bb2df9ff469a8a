// What several verbs of isp_table share: their inputs, a table read once,
// and a check's findings as an exit status.
#pragma once

#include <vector>

#include "command.h"
#include "exit_status.h"
#include "findings.h"
#include "sources.h"
#include "table.h"

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
