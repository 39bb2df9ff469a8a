#include "sid_query.h"

#include <ctype.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include "files.h"
#include "identity.h"
#include "shell.h"
#include "sid_table.h"
#include "text.h"
#include "run.h"

static const char kCardPath[] = "/var/HSDPACARD";
static const char kCapturePath[] = "/tmp/css_output";
constexpr int kLineSize = 160;
constexpr int kDeviceSize = 16;
constexpr size_t kDeviceOffset = 5;  // the device path starts at the sixth character

// The path goes onto a shell command line, so only the characters of an
// ordinary device path pass.
static bool shell_safe_path(const char *path) {
  if (path[0] == '\0')
    return false;
  for (const char *p = path; *p; p++)
    if (!isalnum((unsigned char)*p) && !strchr("/._-", *p))
      return false;
  return true;
}

static bool read_device(char *device) {
  FILE *card = fopen_regular(kCardPath, "r");
  if (!card)
    return false;
  char line[kLineSize];
  int lines = 0;
  while (lines < 3 && fgets(line, sizeof line, card))
    lines++;
  fclose(card);
  if (lines < 3)
    return false;
  size_t len = strlen(line);
  if (len <= kDeviceOffset)
    return false;
  // The path's last character (normally the line feed) is dropped.
  if (copy_text(device, kDeviceSize, line + kDeviceOffset, len - kDeviceOffset - 1) < 0)
    return false;
  return shell_safe_path(device);
}

// Returns the value of the digit run at `p`, or -1 when it overflows.
static int digit_value(const char *p) {
  long long v = 0;
  for (; is_digit(*p); p++) {
    v = v * 10 + (*p - '0');
    if (v > INT_MAX)
      return -1;
  }
  return (int)v;
}

// Fields after the first: a digit, or one space and a digit, starts the SID.
static bool sid_in_line(char *line, int *sid) {
  if (strcmp(line, "\n") == 0)
    return false;
  char *save = nullptr;
  strtok_r(line, ",", &save);
  for (char *f = strtok_r(nullptr, ",", &save); f; f = strtok_r(nullptr, ",", &save)) {
    const char *start = is_digit(f[0]) ? f : f[0] == ' ' && is_digit(f[1]) ? f + 1 : nullptr;
    if (start) {
      *sid = digit_value(start);
      return true;
    }
  }
  return false;
}

static int read_sid(FILE *capture) {
  char line[kLineSize];
  bool seen = false;
  while (!seen && fgets(line, sizeof line, capture))
    seen = strstr(line, "AT+CSS") != nullptr;
  int sid = -1;
  while (seen && fgets(line, sizeof line, capture))
    if (sid_in_line(line, &sid))
      break;
  return sid;
}

// An old capture must not stand in for this run's. The new one is made
// here, exclusively and never through a link, before the shell's "2>" opens
// it: nobody else can replace a root-owned file in the sticky /tmp, so
// chat's log lands in this file and nowhere else.
static bool fresh_capture() {
  unlink(kCapturePath);
  int fd = open(kCapturePath, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600);
  if (fd < 0)
    return false;
  close(fd);
  return true;
}

int getsid() {
  char device[kDeviceSize];
  if (!read_device(device) || !fresh_capture())
    return -1;
  char line[kLineSize];
  snprintf(line, sizeof line, "chat -v -V \"\" \"AT+CSS\" \"OK\" \"\" < %s > %s 2> %s", device,
           device, kCapturePath);
  run_command(line, nullptr, 0);
  FILE *capture = fopen_regular(kCapturePath, "r");
  if (!capture)
    return -1;
  int sid = read_sid(capture);
  fclose(capture);
  return sid;
}

int mapping(int sid) {
  const SidRange *row = sid_range(sid);
  if (!row)
    return -1;
  copy_text(mcc, sizeof mcc, row->mcc, strlen(row->mcc));
  copy_text(mnc, sizeof mnc, row->mnc, strlen(row->mnc));
  return 1;
}
