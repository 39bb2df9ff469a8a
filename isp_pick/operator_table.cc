#include "operator_table.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include "files.h"
#include "identity.h"
#include "text.h"

const char *const kTechnologyNames[kTechnologies] = {"HSDPA", "CDMA2000", "TD-SCDMA"};

// Rows come out exactly as fgets into a kRowSize buffer would give them.
static void refill(TableReader *r) {
  memmove(r->block, r->block + r->start, r->end - r->start);
  r->end -= r->start;
  r->start = 0;
  while (!r->at_end && r->end < sizeof r->block) {
    ssize_t n = read(r->fd, r->block + r->end, sizeof r->block - r->end);
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0)
      r->failed = true;
    if (n <= 0)
      r->at_end = true;
    else
      r->end += n;
  }
}

int table_open(TableReader *r, const char *path) {
  r->fd = open_regular(path, O_RDONLY);
  r->start = r->end = 0;
  r->at_end = r->failed = false;
  if (r->fd >= 0)
    return 1;
  // Only a table that is not there (or is no table at all) may count as
  // one without the row: any other failure says nothing about its rows.
  return errno == 0 || errno == ENOENT ? kNoTable : kUnreadable;
}

int table_close(TableReader *r) {
  close(r->fd);
  return r->failed ? kUnreadable : 1;
}

size_t table_piece(TableReader *r, char *row) {
  if (r->end - r->start < (size_t)kPieceMax)
    refill(r);
  // After a failed read the rest of the table is unknown, and a row cut
  // short by it must not pass for a whole one.
  if (r->failed)
    return 0;
  size_t available = r->end - r->start;
  if (available == 0)
    return 0;
  const char *p = r->block + r->start;
  size_t len = available < (size_t)kPieceMax ? available : kPieceMax;
  const char *line_feed = (const char *)memchr(p, '\n', len);
  if (line_feed)
    len = line_feed - p + 1;
  memcpy(row, p, len);
  row[len] = '\0';
  r->start += len;
  return len;
}

enum RowStep { kNextColumn, kGiveUp, kComplete };

char *next_field(char **cursor) {
  char *p = *cursor;
  while (*p == ',')
    p++;
  if (*p == '\0')
    return nullptr;
  char *end = p;
  while (*end && *end != ',')
    end++;
  *cursor = *end ? end + 1 : end;
  *end = '\0';
  return p;
}

// One pass over the field: this runs for every field of every row of a
// large table.
void blank_placeholder(char *field) {
  for (const char *p = field; *p; p++) {
    if ((p[0] == 'N' && p[1] == 'A') || (p[0] == 'b' && strncmp(p, "blank", 5) == 0)) {
      field[0] = '\0';
      return;
    }
  }
}

void drop_line_end(char *field) {
  size_t len = strlen(field);
  while (len > 0 && (field[len - 1] == '\r' || field[len - 1] == '\n'))
    field[--len] = '\0';
}

int technology_code(const char *field) {
  for (int code = 0; code < kTechnologies; code++)
    if (strstr(field, kTechnologyNames[code]))
      return code;
  return -1;
}

static void set_system(int32_t *system, const char *field) {
  int code = technology_code(field);
  if (code >= 0)
    *system = code;
}

// A value too long for its field refuses the row instead of being cut.
static RowStep store(char *dst, size_t size, const char *field) {
  return copy_text(dst, size, field, strlen(field)) > 0 ? kNextColumn : kGiveUp;
}

static RowStep match(char *dst, size_t size, const char *field, const char *code) {
  if (strcmp(field, code) != 0)
    return kGiveUp;
  return store(dst, size, code);
}

static RowStep take_column(int column, char *field, const LookupKey &key, isp_profile *p) {
  switch (column) {
    case kIndex: return store(p->index, sizeof p->index, field);
    case kMcc: return match(p->mcc, sizeof p->mcc, field, key.mcc);
    case kMnc: return match(p->mnc, sizeof p->mnc, field, key.mnc);
    case kIsp: return store(p->isp, sizeof p->isp, field);
    case kRegion: return store(p->region, sizeof p->region, field);
    case kSystem: set_system(&p->system, field); return kNextColumn;
    case kApn: return store(p->apn, sizeof p->apn, field);
    case kNumber: return store(p->number, sizeof p->number, field);
    case kUsr: return store(p->usr, sizeof p->usr, field);
  }
  drop_line_end(field);
  return store(p->pwd, sizeof p->pwd, field) == kNextColumn ? kComplete : kGiveUp;
}

// A row that runs out of fields before the password gives no result.
bool take_row(char *row, const LookupKey &key, isp_profile *profile) {
  char *cursor = row;
  for (int column = 0; column < kColumns; column++) {
    char *field = next_field(&cursor);
    if (!field)
      return false;
    blank_placeholder(field);
    RowStep step = take_column(column, field, key, profile);
    if (step != kNextColumn)
      return step == kComplete;
  }
  return false;
}

static bool key_field(char **cursor, char *code) {
  char *field = next_field(cursor);
  if (!field)
    return false;
  blank_placeholder(field);
  return copy_text(code, kCodeSize, field, strlen(field)) > 0;
}

bool row_key(const char *row, LookupKey *key) {
  char copy[kRowSize];
  if (copy_text(copy, sizeof copy, row, strlen(row)) < 0)
    return false;
  char *cursor = copy;
  return next_field(&cursor) && key_field(&cursor, key->mcc) && key_field(&cursor, key->mnc);
}

static int find_piece(TableReader *r, const LookupKey &key, isp_profile *profile) {
  char row[kRowSize];
  if (!table_piece(r, row))  // the header, unexamined
    return 0;
  for (int piece = 2; table_piece(r, row); piece++)
    if (take_row(row, key, profile))
      return piece;
  return 0;
}

// Reads after a failed read are unknown: that lookup finds nothing.
int find_row(TableReader *r, const char *path, const LookupKey &key, isp_profile *profile) {
  int opened = table_open(r, path);
  if (opened < 0)
    return opened;
  int piece = find_piece(r, key, profile);
  return table_close(r) < 0 ? kUnreadable : piece;
}
