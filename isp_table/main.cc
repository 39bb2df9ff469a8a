// isp_table: the router's operator table from the public operator
// databases, and the verbs that check, explain, compare and extend tables.
#include <stdio.h>

#include <exception>
#include <new>

#include "cli.h"
#include "verbs.h"

static int run(const Command &command) {
  switch (command.verb) {
    case Command::Verb::kCheck: return cmd_check(command);
    case Command::Verb::kExplain: return cmd_explain(command);
    case Command::Verb::kDiff: return cmd_diff(command);
    case Command::Verb::kExtend: return cmd_extend(command);
    case Command::Verb::kGenerate: break;
  }
  return cmd_generate(command);
}

// No exception ends the run unexplained: memory that runs out (a table
// too big for the host) is a failure with a reason, as an unreadable input is.
static int run_line(int argc, char **argv) {
  try {
    Command command;
    int status;
    if (read_command_line(argc, argv, &command, &status))
      status = run(command);
    return status;
  } catch (const std::bad_alloc &) {
    fputs("isp_table: out of memory\n", stderr);
  } catch (const std::exception &e) {
    fprintf(stderr, "isp_table: %s\n", e.what());
  }
  return 2;
}

// Findings, a table or the help lost on a full disk must not pass for a
// clean result.
int main(int argc, char **argv) {
  int status = run_line(argc, argv);
  if (fflush(stdout) != 0 || ferror(stdout)) {
    perror("isp_table: writing the output");
    return 2;
  }
  return status;
}
