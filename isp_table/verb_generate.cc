// isp_table [--only LIST] [FILE...]: the router's table from the public
// databases.
#include <stdio.h>

#include <string>

#include "generate_report.h"
#include "lint.h"
#include "merge.h"
#include "summary.h"
#include "table_text.h"
#include "verb_entries.h"
#include "verbs.h"

ExitStatus cmd_generate(const Command &command) {
  std::vector<Source> sources;
  if (!load_inputs(command, &sources))
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
  // With no kept table every key's first index is free.
  std::string table = kTableHeader;
  NetworkId unused;
  indexed_rows(rows, {}, &table, &unused);
  fwrite(table.data(), 1, table.size(), stdout);
  if (!command.json.empty() &&
      !write_json(command.json, generate_report(sources, own, merged, merge, rows)))
    return ExitStatus::kTrouble;
  return ExitStatus::kClean;
}
