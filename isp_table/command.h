// One run of isp_table as its command line asks it: what the verbs read.
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
  /// given; empty means the installed one. Lint: the databases DB. Explain --imsi and --sid: the
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
  /// Diff --gate: the file of allowed changes; empty when not given.
  std::string gate;
  /// Every verb's --json: the file to write the run's report to, for a
  /// machine; empty when not given.
  std::string json;
  /// Generate and extend --manifest: the file to write the run's manifest
  /// to (its inputs and the table, by their bytes); empty when not given.
  std::string manifest;
  /// Verify: MANIFEST, the manifest to check.
  std::string checked_manifest;
};
