// isp_table explain TABLE --imsi DIGITS | --sid N: one run of isp_pick;
// isp_table explain [FILE...] --key MCC-MNC: one row of a generated table.
#include <stdio.h>

#include "explain.h"
#include "explain_key.h"
#include "verbs.h"

static int explain_databases(const Command &command) {
  std::vector<Source> sources;
  if (int status = load_inputs(command, &sources))
    return status;
  NetworkId id;
  read_network_id(command.key, &id);
  return explain_key(sources, id, stdout);
}

// check TABLE --imsi names its table; explain TABLE --imsi gives it as
// its one file.
int cmd_explain(const Command &command) {
  if (!command.key.empty())
    return explain_databases(command);
  if (command.table.empty() && command.files.size() != 1)
    return report_usage_error("explain --imsi and --sid read one TABLE");
  std::string path = command.table.empty() ? command.files[0] : command.table;
  Table table;
  if (!load_or_report(path.c_str(), &table, "explain"))
    return 2;
  if (command.sid_given)
    return explain_sid(table, command.sid, stdout);
  return explain_imsi(table, command.imsi.c_str(), stdout);
}
