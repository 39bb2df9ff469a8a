#include "hsdpa_keeper.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <sys/stat.h>
#include <unistd.h>

static const char kSettingsPath[] = "/var/config/SYS.info";

// Only a regular file is read: a FIFO or device in its place would block
// the keeper or never end.
static FILE *open_settings() {
  int fd = open(kSettingsPath, O_RDONLY | O_NONBLOCK);
  if (fd < 0)
    return nullptr;
  struct stat st;
  FILE *f = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? fdopen(fd, "r") : nullptr;
  if (!f)
    close(fd);
  return f;
}

// Handed out when no buffer could be allocated; never freed.
static char no_value[1];

// A matching line's value starts one character after the key, whatever that
// separator is; only a final line feed is dropped.
static void take_value(char *line, size_t key_len) {
  size_t len = strlen(line);
  if (len <= key_len) {
    line[0] = '\0';
    return;
  }
  size_t value_len = len - key_len - 1;
  if (value_len > 0 && line[len - 1] == '\n')
    value_len--;
  memmove(line, line + key_len + 1, value_len);
  line[value_len] = '\0';
}

// Keys compare on the wanted key's length only: the first line that starts
// with it wins.
static void find_value(FILE *settings, const char *name, char *line) {
  size_t key_len = strlen(name);
  while (fgets(line, kConfValueSize, settings)) {
    if (strncmp(line, name, key_len) == 0) {
      take_value(line, key_len);
      return;
    }
  }
  line[0] = '\0';
}

char *getdata_conf(const char *name) {
  char *value = (char *)malloc(kConfValueSize);
  if (!value)
    return no_value;
  value[0] = '\0';
  FILE *settings = open_settings();
  if (!settings) {
    if (getpid() != 1) {
      fputs("generate pid false\n", stdout);
      fflush(stdout);
    }
    return value;
  }
  find_value(settings, name, value);
  fclose(settings);
  return value;
}

void release_conf(char *value) {
  if (value != no_value)
    free(value);
}

int select_sleep(int ms) {
  struct timeval timeout;
  timeout.tv_sec = ms / 1000;
  timeout.tv_usec = (ms % 1000) * 1000;
  return select(0, nullptr, nullptr, nullptr, &timeout);
}

bool link_in_use(int op_mode, int wan_dhcp, int wan_interface, int g_backup) {
  if (op_mode != 0)
    return false;
  if (wan_dhcp == 5)
    return wan_interface == 1;
  return wan_interface == 0 && g_backup == 1;
}
