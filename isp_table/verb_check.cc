// isp_table check TABLE [--against FILE...]: the findings on a hand-kept
// table, on standard output. With --imsi or --sid it explains one run, as
// `isp_table explain` does.
#include <stdio.h>

#include "against.h"
#include "check.h"
#include "verb_entries.h"
#include "verbs.h"

// The databases are read first: one that cannot be read ends the run
// before any finding is printed. The report holds what was printed.
ExitStatus cmd_check(const Command &command) {
  if (!command.imsi.empty() || command.sid_given)
    return cmd_explain(command);
  std::vector<Source> sources;
  if (!command.against.empty() && !load_public_data(command.against, &sources))
    return ExitStatus::kTrouble;
  Table table;
  if (!load_or_report(command.table.c_str(), &table, "check"))
    return ExitStatus::kTrouble;
  Findings found = check_table(table);
  // The public data's warnings never make an error: a hand-kept row may be
  // newer than the database.
  for (const AgainstFinding &f : check_against(table, sources))
    found.report(f.line, false, f.text, f.code);
  print_findings(command.table.c_str(), found, stdout);
  if (command.json.empty())
    return check_status(found);
  Json report = json_report("check");
  report["table"] = command.table;
  add_findings(command.table, found, &report);
  return write_json(command.json, report) ? check_status(found) : ExitStatus::kTrouble;
}
