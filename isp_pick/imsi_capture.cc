#include "imsi_capture.h"

#include <stdio.h>
#include <string.h>

#include "files.h"
#include "identity.h"
#include "text.h"
#include "run.h"

static const char kCapturePath[] = "/tmp/cimi_output";
static const char kReplyPrefix[] = "+CIMI:";
constexpr int kLineSize = 160;
constexpr size_t kPrefixDrop = 7;  // the prefix and the one separator after it

static bool skip_past_command(FILE *capture, char *line) {
  while (fgets(line, kLineSize, capture))
    if (strstr(line, "AT+CIMI"))
      return true;
  return false;
}

static void drop_reply_prefix(char *line) {
  if (strncmp(line, kReplyPrefix, strlen(kReplyPrefix)) != 0)
    return;
  size_t len = strlen(line);
  if (len < kPrefixDrop) {
    line[0] = '\0';
    return;
  }
  memmove(line, line + kPrefixDrop, len - kPrefixDrop + 1);
}

static bool find_reply(FILE *capture, char *line) {
  while (fgets(line, kLineSize, capture)) {
    drop_reply_prefix(line);
    if (is_digit(line[0]))
      return true;
  }
  return false;
}

int getplmn() {
  FILE *capture = fopen_regular(kCapturePath, "r");
  if (!capture)
    return -1;
  char line[kLineSize];
  bool found = skip_past_command(capture, line) && find_reply(capture, line);
  fclose(capture);
  if (!found)
    return -1;
  take_identity(line, mcc, mnc);
  return 1;
}
