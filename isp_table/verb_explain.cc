// isp_table explain TABLE --imsi DIGITS | --sid N: one run of isp_pick.
#include <stdio.h>

#include "explain.h"
#include "verbs.h"

int cmd_explain(const Command &command) {
  Table table;
  if (!load_or_report(command.table.c_str(), &table, "explain"))
    return 2;
  if (command.sid_given)
    return explain_sid(table, command.sid, stdout);
  return explain_imsi(table, command.imsi.c_str(), stdout);
}
