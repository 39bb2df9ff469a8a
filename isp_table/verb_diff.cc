// isp_table diff OLD NEW: what a new table changes for each SIM; with
// --gate ALLOWED, whether a release may make those changes.
#include <stdio.h>

#include "cli.h"
#include "diff.h"
#include "gate.h"
#include "input.h"
#include "json_report.h"
#include "verb_entries.h"
#include "verbs.h"

// ALLOWED, a regular file or the null device (nothing allowed). A line
// that cannot be read as an allowance ends the run before anything is
// decided: a gate that skipped it would fail a release for a typo, or
// pass one on a line meant otherwise.
static bool load_allowances(const std::string &path, std::vector<Allowance> *allowances) {
  std::string text, why;
  if (!null_device(path.c_str()) && !read_regular(path.c_str(), &text, &why)) {
    fprintf(stderr, "isp_table: cannot read %s: %s\n", path.c_str(), why.c_str());
    return false;
  }
  Findings malformed;
  *allowances = read_allowances(text, &malformed);
  for (const Finding &f : malformed.list)
    print_finding(path.c_str(), f, stderr);
  return malformed.list.empty();
}

// Both tables and ALLOWED are read, so that each one that cannot be is
// named. An empty OLD is a first release, whose every SIM group gains; an
// empty NEW would lose them all, most likely to a redirection. The report
// is written once the tables are compared.
ExitStatus cmd_diff(const Command &command) {
  // Standard input read once and compared with itself says nothing.
  if (command.old_table == "-" && command.new_table == "-")
    return report_usage_error("OLD and NEW are both standard input: give one of them as a file");
  Table was, now;
  std::vector<Allowance> allowances;
  bool read_old = load_or_report(command.old_table.c_str(), &was, nullptr);
  bool read_new = load_or_report(command.new_table.c_str(), &now, "compare");
  bool read_allowed = command.gate.empty() || load_allowances(command.gate, &allowances);
  if (!read_old || !read_new || !read_allowed)
    return ExitStatus::kTrouble;
  Comparison c = compare_tables(was, now);
  write_comparison(c, stdout);
  ExitStatus status = c.changes.empty() ? ExitStatus::kClean : ExitStatus::kFindings;
  Json doc = json_report("diff");
  add_comparison_json(c, command.old_table, command.new_table, &doc);
  // With a gate, only the changes it counts and does not allow fail.
  if (!command.gate.empty()) {
    Verdict v = judge(c, allowances);
    write_verdict(command.gate, v, stdout);
    status = v.refused.list.empty() ? ExitStatus::kClean : ExitStatus::kFindings;
    doc["gate"] = verdict_json(command.gate, v);
  }
  if (!command.json.empty() && !write_json(command.json, doc))
    return ExitStatus::kTrouble;
  return status;
}
