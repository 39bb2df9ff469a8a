// isp_table's command line: the verbs, their arguments and options, --help,
// --version and the usage errors.
#pragma once

#include <string>

#include "command.h"
#include "exit_status.h"

/// Reads argv into *command and returns true when the command is to run.
/// Returns false when the run ends here, with its exit status in *status:
/// kClean after -h, --help (after a verb too) or --version (printed on
/// standard output), kTrouble after a usage error ("isp_table: PROBLEM"
/// and the usage line on standard error).
bool read_command_line(int argc, char **argv, Command *command, ExitStatus *status);

/// Reports a usage error found once the inputs are read, as the command
/// line reports its own. Returns kTrouble, the status of every usage error.
ExitStatus report_usage_error(const std::string &problem);
