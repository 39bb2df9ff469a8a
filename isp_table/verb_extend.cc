// isp_table extend TABLE [--only LIST] [FILE...]: a hand-kept table with
// the public rows that change nothing for a SIM it serves.
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include "check.h"
#include "extend.h"
#include "input.h"
#include "json_report.h"
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
  Json report = json_report("extend");
  report["table"] = command.table;
  Json *wanted = command.json.empty() ? nullptr : &report;
  Findings found = check_table(table);
  ExitStatus status = check_status(found);
  std::string text;
  if (status != ExitStatus::kClean) {
    print_findings(path, found, stderr);
    if (wanted)
      report["findings"] = findings_json(command.table, found);
  } else {
    // extend_table answers whether it made the table: not when a public
    // row's key has no index left. The table is made in memory, for a
    // manifest to hash the bytes written.
    if (extend_table(table, sources, &text, stderr, wanted))
      fwrite(text.data(), 1, text.size(), stdout);
    else
      status = ExitStatus::kFindings;
  }
  if (wanted && !write_json(command.json, report))
    return ExitStatus::kTrouble;
  if (status != ExitStatus::kClean || command.manifest.empty())
    return status;
  std::vector<ManifestInput> inputs = database_inputs(command, sources, bytes);
  inputs.insert(inputs.begin(), kept_table_input(command.table, table));
  return write_manifest(command, "extend", inputs, text) ? ExitStatus::kClean
                                                         : ExitStatus::kTrouble;
}
