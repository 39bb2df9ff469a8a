// isp_table: the router's operator table from the public operator
// databases, and a check of hand-kept tables.
#include <stdio.h>

#include <string>
#include <vector>

#include "against.h"
#include "check.h"
#include "cli.h"
#include "diff.h"
#include "explain.h"
#include "merge.h"
#include "sources.h"

static const char kDefaultDb[] = "/usr/share/mobile-broadband-provider-info/serviceproviders.xml";

// Check TABLE, against public databases with --against, or explain one
// run with --imsi or --sid.
static int check_command(const Command &command) {
  const char *table = command.table.c_str();
  if (!command.imsi.empty())
    return explain_imsi(table, command.imsi.c_str(), stdout);
  if (command.sid_given)
    return explain_sid(table, command.sid, stdout);
  std::vector<Source> sources;
  if (!command.against.empty())
    return load_public_data(command.against, &sources) ? check_table(table, stdout, &sources) : 2;
  return check_table(table, stdout);
}

static int generate(std::vector<std::string> paths) {
  if (paths.empty())
    paths.push_back(kDefaultDb);
  std::vector<Source> sources(paths.size());
  size_t next_lister = 0;
  for (size_t i = 0; i < paths.size(); i++) {
    std::string error;
    if (!load_source(paths[i].c_str(), i, &next_lister, &sources[i], &error)) {
      fprintf(stderr, "isp_table: cannot read %s: %s\n", paths[i].c_str(), error.c_str());
      return 1;
    }
  }
  fill_android_regions(&sources);
  std::vector<const Source *> all;
  for (const Source &s : sources)
    all.push_back(&s);
  std::string table;
  TableFigures merged = merge_table(all, &table);
  write_summary(sources, merged, stderr);
  if (fwrite(table.data(), 1, table.size(), stdout) != table.size() || fflush(stdout) != 0) {
    perror("isp_table: writing the table");
    return 1;
  }
  return 0;
}

int main(int argc, char **argv) {
  Command command;
  int status;
  if (!read_command_line(argc, argv, &command, &status))
    return status;
  if (command.verb == Command::Verb::kDiff)
    return diff_tables(command.old_table.c_str(), command.new_table.c_str(), stdout);
  if (command.verb == Command::Verb::kCheck)
    return check_command(command);
  return generate(command.files);
}
