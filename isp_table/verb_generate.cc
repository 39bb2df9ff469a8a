// isp_table [--only LIST] [FILE...]: the router's table from the public
// databases.
#include <stdio.h>

#include <string>

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
  std::vector<TableRow> rows;
  TableFigures merged = merge_all(sources, &rows);
  write_summary(sources, merged, stderr);
  // The databases' mistakes that the table carries, as lint reports them.
  write_lint_summary(sources, lint_table(sources, rows), stderr);
  // With no kept table every key's first index is free.
  std::string table = kTableHeader;
  NetworkId unused;
  indexed_rows(rows, {}, &table, &unused);
  fwrite(table.data(), 1, table.size(), stdout);
  return ExitStatus::kClean;
}
