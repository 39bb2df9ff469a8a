// isp_table's command line: the verbs, their arguments and options, --help,
// --version and the usage errors.
#pragma once

#include <string>
#include <vector>

#include "exit_status.h"

/// What one run of isp_table is asked to do.
struct Command {
  /// The function of the verb asked for (generating when none is): the
  /// one entry of the verbs' table that read_command_line found.
  ExitStatus (*run)(const Command &command) = nullptr;
  /// Generate, extend and explain --key: the databases FILE, in the order
  /// given; empty means the installed one. Explain --imsi and --sid: the
  /// TABLE argument, which must be the only one.
  std::vector<std::string> files;
  /// Generate and extend --only: the markets' list, as given; empty when not given.
  std::string only;
  /// Check and extend: TABLE, the hand-kept table (explain's is in files).
  std::string table;
  /// Check and explain --imsi: the first digits of the IMSI; empty when not given.
  std::string imsi;
  /// Check and explain --sid: the SID of a CDMA card, when sid_given.
  bool sid_given = false;
  int sid = 0;
  /// Explain --key: the network whose key to explain from the databases FILE; empty when not given.
  std::string key;
  /// Check --against: the public databases to hold the table's APNs against.
  std::vector<std::string> against;
  /// Diff: the table in use and the table to replace it.
  std::string old_table, new_table;
};

/// Reads argv into *command and returns true when the command is to run.
/// Returns false when the run ends here, with its exit status in *status:
/// kClean after -h, --help (after a verb too) or --version (printed on
/// standard output), kTrouble after a usage error ("isp_table: PROBLEM"
/// and the usage line on standard error).
bool read_command_line(int argc, char **argv, Command *command, ExitStatus *status);

/// Reports a usage error found once the inputs are read, as the command
/// line reports its own. Returns kTrouble, the status of every usage error.
ExitStatus report_usage_error(const std::string &problem);
