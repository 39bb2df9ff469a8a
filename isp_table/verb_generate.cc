// isp_table [--only LIST] [FILE...]: the router's table from the public
// databases.
#include <stdio.h>

#include <string>

#include "merge.h"
#include "summary.h"
#include "verb_entries.h"
#include "verbs.h"

ExitStatus cmd_generate(const Command &command) {
  std::vector<Source> sources;
  std::vector<std::string> bytes;  // what the run read, for a manifest to hash
  if (!load_inputs(command, &sources, command.manifest.empty() ? nullptr : &bytes))
    return ExitStatus::kTrouble;
  std::vector<TableRow> rows;
  TableFigures merged = merge_all(sources, &rows);
  write_summary(sources, merged, stderr);
  std::string table = generated_table(rows);
  fwrite(table.data(), 1, table.size(), stdout);
  if (!command.manifest.empty() &&
      !write_manifest(command, "generate", database_inputs(command, sources, bytes), table))
    return ExitStatus::kTrouble;
  return ExitStatus::kClean;
}
