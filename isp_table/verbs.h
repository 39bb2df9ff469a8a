// What several verbs of isp_table share: their inputs, a table read once,
// and a check's findings as an exit status.
#pragma once

#include <string>
#include <vector>

#include "command.h"
#include "exit_status.h"
#include "findings.h"
#include "manifest.h"
#include "merge.h"
#include "sources.h"
#include "table.h"

/// The paths of the command's databases: FILE, or the installed one.
std::vector<std::string> input_paths(const Command &command);

/// The public databases of the command (input_paths), with their regions,
/// and only the markets of --only. Returns false when the run ends here,
/// said on standard error: a database that cannot be read, or a usage
/// error --only makes. `bytes` as load_public_data takes it: the files'
/// bytes already read, or where to keep those read.
bool load_inputs(const Command &command, std::vector<Source> *sources,
                 std::vector<std::string> *bytes = nullptr);

/// The table generating writes: the header, then `rows` each indexed by
/// its key.
std::string generated_table(const std::vector<TableRow> &rows);

/// Whether the files the run writes besides standard output (--json,
/// --manifest) are apart from every file it reads and from each other;
/// else says which on standard error, for status 2 before any work. A
/// report or manifest an earlier run left there is removed, so that one
/// of this run's that is never written (status 2) is not taken for it.
bool outputs_apart(const Command &command);

/// The status of a check's findings: errors are kFindings; warnings alone,
/// which a hand-kept row newer than the databases may earn, are kClean.
ExitStatus check_status(const Findings &findings);

/// Reads the table at `path` into the model, once for the run; on failure
/// says why on standard error ("isp_table: cannot read PATH: WHY"). With a
/// `purpose` ("check", "extend"), a table of no bytes is a failure too,
/// said as "isp_table: PATH is empty: no table to PURPOSE" and its likely
/// cause; without, it is an empty table (diff's OLD, a first release).
bool load_or_report(const char *path, Table *table, const char *purpose);

/// The manifest's entries of the databases `sources`, which load_inputs
/// loaded for `command` from `bytes`.
std::vector<ManifestInput> database_inputs(const Command &command,
                                           const std::vector<Source> &sources,
                                           const std::vector<std::string> &bytes);

/// Writes the manifest of a run of `verb` ("generate", "extend") that
/// wrote `table` from `inputs` to command.manifest. False, said on standard
/// error as write_json says it, when it cannot be written.
bool write_manifest(const Command &command, const char *verb,
                    const std::vector<ManifestInput> &inputs, const std::string &table);
