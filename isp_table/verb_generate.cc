// isp_table [--only LIST] [FILE...]: the router's table from the public
// databases.
#include <stdio.h>

#include <string>

#include "generate_report.h"
#include "lint.h"
#include "merge.h"
#include "summary.h"
#include "verb_entries.h"
#include "verbs.h"

ExitStatus cmd_generate(const Command &command) {
  std::vector<Source> sources;
  std::vector<std::string> bytes;  // what the run read, for a manifest to hash
  if (!load_inputs(command, &sources, command.manifest.empty() ? nullptr : &bytes))
    return ExitStatus::kTrouble;
  // The merge lives on for the report, which explains each row by it.
  TableFigures merged;
  Merge merge(source_list(sources), &merged);
  std::vector<TableRow> rows;
  merge.rows(&rows);
  std::vector<TableFigures> own = own_figures(sources);
  write_summary(sources, own, merged, stderr);
  // The databases' mistakes that the table carries, as lint reports them.
  std::vector<LintFinding> mistakes = lint_table(sources, rows);
  write_lint_summary(sources, mistakes, stderr);
  std::string table = generated_table(rows);
  fwrite(table.data(), 1, table.size(), stdout);
  if (!command.json.empty() &&
      !write_json(command.json, generate_report(sources, own, merged, merge, rows, mistakes)))
    return ExitStatus::kTrouble;
  if (!command.manifest.empty() &&
      !write_manifest(command, "generate", database_inputs(command, sources, bytes), table))
    return ExitStatus::kTrouble;
  return ExitStatus::kClean;
}
