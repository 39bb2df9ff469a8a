#include "shell.h"

#include <stdio.h>
#include <stdlib.h>

static int read_first_line(const char *line, char *reply, int reply_size) {
  FILE *out = popen(line, "r");
  if (!out)
    return -1;
  int found = fgets(reply, reply_size, out) ? 1 : -1;
  pclose(out);
  return found;
}

int run_command(const char *line, char *reply, int reply_size) {
  if (reply)
    return read_first_line(line, reply, reply_size);
  return system(line);
}
