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

// The index is written always: it is how the store knows which profile it
// holds. The column is known when compiling, so each call reads its item's
// name and field as constants: the router keeps only the names it writes.
template <RowColumn column>
static int store_column() {
  if constexpr (column == kIndex)
    return set_text(kColumnRules[kIndex].store_item, isp_info.index);
  else if constexpr (column == kSystem)
    return update_system();
  else
    return update_text(kColumnRules[column].store_item, profile_text(isp_info, column));
}

constexpr size_t kStoreItems = sizeof kStoreColumns / sizeof *kStoreColumns;

// Every item is tried, whatever became of the ones before it: from the
// list's item `item` on, each as `result` stands so far. (The router's
// C library builds carry no C++ library headers, so no <utility>.)
template <size_t item = 0>
static int store_columns(int result) {
  if constexpr (item == kStoreItems) {
    return result;
  } else {
    if (store_column<kStoreColumns[item]>() < 0)
      result = -1;
    return store_columns<item + 1>(result);
  }
}

int set_to_mib() {
  fputs("------ set MIB ------\n", stderr);
  return store_columns(1);
}
