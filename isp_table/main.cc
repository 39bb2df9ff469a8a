// isp_table: the router's operator table from the public operator
// databases, and a check of hand-kept tables.
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "against.h"
#include "check.h"
#include "cli.h"
#include "diff.h"
#include "explain.h"
#include "extend.h"
#include "markets.h"
#include "merge.h"
#include "pieces.h"
#include "sources.h"
#include "table.h"

static const char kDefaultDb[] = "/usr/share/mobile-broadband-provider-info/serviceproviders.xml";

// Check TABLE, against public databases with --against, or explain one
// run with --imsi or --sid.
static int check_command(const Command &command) {
  const char *table = command.table.c_str();
  if (!command.imsi.empty() || command.sid_given) {
    Table model;
    if (!load_table(table, &model)) {
      cannot_read(table);
      return 2;
    }
    return command.sid_given ? explain_sid(model, command.sid, stdout)
                             : explain_imsi(model, command.imsi.c_str(), stdout);
  }
  std::vector<Source> sources;
  if (!command.against.empty())
    return load_public_data(command.against, &sources) ? check_table(table, stdout, &sources) : 2;
  return check_table(table, stdout);
}

// The public databases of the command, with their regions, and only the
// markets of --only. Returns 0, or the exit status of a run that ends here:
// 2 when a database cannot be read, as for every input of every verb.
static int load_inputs(const Command &command, std::vector<Source> *sources) {
  std::vector<std::string> paths = command.files;
  if (paths.empty())
    paths.push_back(kDefaultDb);
  if (!load_public_data(paths, sources))
    return 2;
  fill_android_regions(sources);
  Markets markets;
  if (command.only.empty() || !read_markets(command.only, &markets))
    return 0;
  bool providers =
      std::any_of(sources->begin(), sources->end(), [](const Source &s) { return !s.android; });
  if (!markets.countries.empty() && !providers)
    return report_usage_error("--only names a country, but no FILE is a provider database");
  // A code the databases write otherwise ("uk" for "gb") gives no rows.
  for (const std::string &market : keep_markets(markets, sources))
    fprintf(stderr, "isp_table: warning: --only %s: no public data is in that market\n",
            market.c_str());
  return 0;
}

static int generate(const Command &command) {
  std::vector<Source> sources;
  if (int status = load_inputs(command, &sources))
    return status;
  std::vector<const Source *> all;
  for (const Source &s : sources)
    all.push_back(&s);
  std::vector<TableRow> rows;
  TableFigures merged = merge_table(all, &rows);
  write_summary(sources, merged, stderr);
  // With no kept table every key's first index is free.
  std::string table = kTableHeader;
  NetworkId unused;
  indexed_rows(rows, {}, &table, &unused);
  fwrite(table.data(), 1, table.size(), stdout);
  return 0;
}

// The shell empties a file it redirects output to before the run starts
// (or appends to it), so a table extended into itself is already lost:
// nothing of it must pass for the kept rows.
static bool output_is_table(const char *path) {
  struct stat table, out;
  int got = strcmp(path, "-") == 0 ? fstat(STDIN_FILENO, &table) : stat(path, &table);
  if (got != 0 || fstat(STDOUT_FILENO, &out) != 0)
    return false;
  // /dev/null as both standard input and output is no table lost.
  return S_ISREG(out.st_mode) && table.st_dev == out.st_dev && table.st_ino == out.st_ino;
}

// A table with errors is mended before it grows, never carried along. Its
// findings go to standard error: standard output is the new table's file.
static int extend(const Command &command) {
  if (output_is_table(command.table.c_str())) {
    fprintf(stderr, "isp_table: standard output is the table %s: write the extended table to "
            "another file\n", command.table.c_str());
    return 2;
  }
  if (int status = check_before_extending(command.table.c_str(), stderr))
    return status;
  std::vector<Source> sources;
  if (int status = load_inputs(command, &sources))
    return status;
  return extend_table(command.table.c_str(), sources, stdout, stderr);
}

static int run(const Command &command) {
  if (command.verb == Command::Verb::kDiff)
    return diff_tables(command.old_table.c_str(), command.new_table.c_str(), stdout);
  if (command.verb == Command::Verb::kCheck)
    return check_command(command);
  if (command.verb == Command::Verb::kExtend)
    return extend(command);
  return generate(command);
}

// Findings, a table or the help lost on a full disk must not pass for a
// clean result.
int main(int argc, char **argv) {
  Command command;
  int status;
  if (read_command_line(argc, argv, &command, &status))
    status = run(command);
  if (fflush(stdout) != 0 || ferror(stdout)) {
    perror("isp_table: writing the output");
    return 2;
  }
  return status;
}
