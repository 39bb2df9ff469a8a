// isp_table extend TABLE [--only LIST] [FILE...]: a hand-kept table with
// the public rows that change nothing for a SIM it serves.
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include "check.h"
#include "extend.h"
#include "input.h"
#include "verb_entries.h"
#include "verbs.h"

// The shell empties a file it redirects output to before the run starts
// (or appends to it), so a table extended into itself is already lost:
// nothing of it must pass for the kept rows.
static bool output_is_table(const char *path) {
  struct stat table, out;
  if (!stat_table(path, &table) || fstat(STDOUT_FILENO, &out) != 0)
    return false;
  // /dev/null as both standard input and output is no table lost.
  return S_ISREG(out.st_mode) && table.st_dev == out.st_dev && table.st_ino == out.st_ino;
}

// A table with errors is mended before it grows, never carried along. Its
// findings go to standard error: standard output is the new table's file.
ExitStatus cmd_extend(const Command &command) {
  const char *path = command.table.c_str();
  if (output_is_table(path)) {
    fprintf(stderr, "isp_table: standard output is the table %s: write the extended table to "
            "another file\n", path);
    return ExitStatus::kTrouble;
  }
  // The databases are read first, as check --against reads them: one that
  // cannot be read ends the run before the table is judged.
  std::vector<Source> sources;
  std::vector<std::string> bytes;  // what the run read, for a manifest to hash
  if (!load_inputs(command, &sources, command.manifest.empty() ? nullptr : &bytes))
    return ExitStatus::kTrouble;
  Table table;
  if (!load_or_report(path, &table, "extend"))
    return ExitStatus::kTrouble;
  Findings found = check_table(table);
  if (check_status(found) != ExitStatus::kClean) {
    print_findings(path, found, stderr);
    return check_status(found);
  }
  // extend_table answers whether it wrote the table: not when a public
  // row's key has no index left.
  if (command.manifest.empty())
    return extend_table(table, sources, stdout, stderr) ? ExitStatus::kClean
                                                        : ExitStatus::kFindings;
  // The manifest hashes the bytes written, so the table is made in memory.
  std::string text;
  if (!extend_into(table, sources, &text, stderr))
    return ExitStatus::kFindings;
  fwrite(text.data(), 1, text.size(), stdout);
  std::vector<ManifestInput> inputs = database_inputs(command, sources, bytes);
  inputs.insert(inputs.begin(), kept_table_input(command.table, table));
  return write_manifest(command, "extend", inputs, text) ? ExitStatus::kClean
                                                         : ExitStatus::kTrouble;
}
