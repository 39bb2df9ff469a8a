#include "store_client.h"

#include <stdio.h>
#include <string.h>

#include "operator_table.h"
#include "shell.h"
#include "text.h"
#include "run.h"

constexpr int kGetCommandSize = 64;
constexpr int kReplySize = 60;  // at most 59 characters of the reply
constexpr int kSetCommandSize = 256;
constexpr int kEscapedSize = 2 * sizeof isp_info.usr;

// The value stands between the first double quote and the line's last two
// characters, or else after the first "=" without the line's last character.
static int extract_value(char *dst, const char *line) {
  size_t len = strlen(line);
  const char *quote = strchr(line, '"');
  const char *equals = strchr(line, '=');
  const char *start = quote ? quote + 1 : equals ? equals + 1 : nullptr;
  size_t tail = quote ? 2 : 1;
  if (!start || len < (size_t)(start - line) + tail)
    return -1;
  return copy_text(dst, kMibValueSize, start, len - tail - (start - line));
}

int get_mib(char *dst, const char *name) {
  char line[kGetCommandSize];
  snprintf(line, sizeof line, "flash get %s", name);
  char reply[kReplySize];
  if (run_command(line, reply, sizeof reply) < 0)
    return -1;
  return extract_value(dst, reply);
}

// A write counts only when `flash` ran and ended with 0: a shell that could
// not find or start it (126, 127), a signal or any other status leaves the
// item as it was, and a run that applied nothing must not pass for one that
// did. Every item is still tried; the failed ones are named.
static int set_item(const char *name, const char *line) {
  if (run_command(line, nullptr, 0) == 0)
    return 1;
  fprintf(stderr, "------ set %s failed ------\n", name);
  return -1;
}

static int set_text(const char *name, const char *value) {
  char escaped[kEscapedSize];
  if (escape_for_shell(escaped, sizeof escaped, value) < 0)
    return -1;
  char line[kSetCommandSize];
  snprintf(line, sizeof line, "flash set %s \"%s\"", name, escaped);
  return set_item(name, line);
}

// A failed read counts as a difference, so the item is written.
static int update_text(const char *name, const char *value) {
  char stored[kMibValueSize];
  if (get_mib(stored, name) < 0 || strcmp(stored, value) != 0)
    return set_text(name, value);
  return 1;
}

static int update_system() {
  char stored[kMibValueSize];
  const char *name = kColumnRules[kSystem].store_item;
  if (get_mib(stored, name) > 0 && decimal_value(stored) == isp_info.system)
    return 1;
  char line[kSetCommandSize];
  snprintf(line, sizeof line, "flash set %s %d", name, (int)isp_info.system);
  return set_item(name, line);
}

// The store's items in their list's order: the index, written always (it
// is how the store knows which profile it holds), the technology, then
// four text items. Each name and field is the list's item at a constant
// place, worked out when compiling, so the router keeps only the names it
// writes.
static_assert(sizeof kStoreColumns / sizeof *kStoreColumns == 6 && kStoreColumns[0] == kIndex &&
                  kStoreColumns[1] == kSystem,
              "set_to_mib writes the index, the technology, then four text items");

static constexpr const char *item_name(int place) {
  return kColumnRules[kStoreColumns[place]].store_item;
}

// Every item is tried, whatever became of the ones before it.
int set_to_mib() {
  fputs("------ set MIB ------\n", stderr);
  int result = set_text(item_name(0), profile_text(isp_info, kStoreColumns[0]));
  if (update_system() < 0)
    result = -1;
  static constexpr const char *names[] = {item_name(2), item_name(3), item_name(4), item_name(5)};
  const char *values[] = {
      profile_text(isp_info, kStoreColumns[2]), profile_text(isp_info, kStoreColumns[3]),
      profile_text(isp_info, kStoreColumns[4]), profile_text(isp_info, kStoreColumns[5])};
  for (int i = 0; i < 4; i++)
    if (update_text(names[i], values[i]) < 0)
      result = -1;
  return result;
}
