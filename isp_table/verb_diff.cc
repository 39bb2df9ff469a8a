// isp_table diff OLD NEW: what a new table changes for each SIM.
#include <stdio.h>

#include "cli.h"
#include "diff.h"
#include "json_report.h"
#include "verb_entries.h"
#include "verbs.h"

// Both tables are read, so that each one that cannot be is named. An
// empty OLD is a first release, whose every SIM group gains; an empty NEW
// would lose them all, most likely to a redirection. The report is
// written once the tables are compared.
ExitStatus cmd_diff(const Command &command) {
  // Standard input read once and compared with itself says nothing.
  if (command.old_table == "-" && command.new_table == "-")
    return report_usage_error("OLD and NEW are both standard input: give one of them as a file");
  Table was, now;
  bool read_old = load_or_report(command.old_table.c_str(), &was, nullptr);
  bool read_new = load_or_report(command.new_table.c_str(), &now, "compare");
  if (!read_old || !read_new)
    return ExitStatus::kTrouble;
  Comparison c = compare_tables(was, now);
  write_comparison(c, stdout);
  ExitStatus status = c.changes.empty() ? ExitStatus::kClean : ExitStatus::kFindings;
  Json doc = json_report("diff");
  add_comparison_json(c, command.old_table, command.new_table, &doc);
  if (!command.json.empty() && !write_json(command.json, doc))
    return ExitStatus::kTrouble;
  return status;
}
