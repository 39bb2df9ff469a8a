// isp_table: the router's operator table from the public operator
// databases, and the verbs that check, explain, compare and extend tables.
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>

#include <exception>
#include <new>

#include "cli.h"
#include "verbs.h"

// No exception ends the run unexplained: memory that runs out (a table
// too big for the host) is a failure with a reason, as an unreadable input is.
static ExitStatus run_line(int argc, char **argv) {
  try {
    Command command;
    ExitStatus status;
    if (read_command_line(argc, argv, &command, &status))
      status = outputs_apart(command) ? command.run(command) : ExitStatus::kTrouble;
    return status;
  } catch (const std::bad_alloc &) {
    fputs("isp_table: out of memory\n", stderr);
  } catch (const std::exception &e) {
    fprintf(stderr, "isp_table: %s\n", e.what());
  }
  return ExitStatus::kTrouble;
}

// A standard descriptor closed at the start would be the next file opened:
// the summary would go into a piped table's copy in memory and pass for
// written. Each closed one is held by the null device, opened the way
// that fails as a closed descriptor does (EBADF): 0 for writing, 1 and 2
// for reading. Opened in order, each takes the lowest free number, its own.
static void hold_closed_standard_descriptors() {
  for (int fd = 0; fd <= 2; fd++)
    if (fcntl(fd, F_GETFD) < 0 && errno == EBADF)
      open("/dev/null", fd == 0 ? O_WRONLY : O_RDONLY);
}

// Findings, a summary, a table or the help lost on a full disk or a
// closed descriptor must not pass for a clean result. Lost on standard
// error, there is nowhere left to say so.
int main(int argc, char **argv) {
  hold_closed_standard_descriptors();
  ExitStatus status = run_line(argc, argv);
  if (fflush(stdout) != 0 || ferror(stdout)) {
    perror("isp_table: writing the output");
    status = ExitStatus::kTrouble;
  } else if (fflush(stderr) != 0 || ferror(stderr)) {
    status = ExitStatus::kTrouble;
  }
  return static_cast<int>(status);
}
