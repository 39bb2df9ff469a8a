#include "operator_table.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include "files.h"
#include "identity.h"
#include "text.h"

isp_profile isp_info;

static const char kTablePath[] = "/var/3.5G_Infomation.csv";
constexpr size_t kPieceMax = kRowSize - 1;
constexpr size_t kReadBufferSize = 64 * 1024;

// The table is read in large blocks and cut into rows here: a table of
// hundreds of thousands of rows is scanned in milliseconds. Rows come
// out exactly as fgets into a kRowSize buffer would give them.
struct TableReader {
  int fd;
  size_t start, end;
  bool at_end, failed;
  char block[kReadBufferSize];
};
static TableReader reader;

static void refill() {
  memmove(reader.block, reader.block + reader.start, reader.end - reader.start);
  reader.end -= reader.start;
  reader.start = 0;
  while (!reader.at_end && reader.end < sizeof reader.block) {
    ssize_t n = read(reader.fd, reader.block + reader.end, sizeof reader.block - reader.end);
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0)
      reader.failed = true;
    if (n <= 0)
      reader.at_end = true;
    else
      reader.end += n;
  }
}

int table_open(const char *path) {
  reader.fd = open_regular(path, O_RDONLY);
  reader.start = reader.end = 0;
  reader.at_end = reader.failed = false;
  return reader.fd < 0 ? -1 : 1;
}

int table_close() {
  close(reader.fd);
  return reader.failed ? -1 : 1;
}

size_t table_piece(char *row) {
  if (reader.end - reader.start < kPieceMax)
    refill();
  // After a failed read the rest of the table is unknown, and a row cut
  // short by it must not pass for a whole one.
  if (reader.failed)
    return 0;
  size_t available = reader.end - reader.start;
  if (available == 0)
    return 0;
  const char *p = reader.block + reader.start;
  size_t len = available < kPieceMax ? available : kPieceMax;
  const char *line_feed = (const char *)memchr(p, '\n', len);
  if (line_feed)
    len = line_feed - p + 1;
  memcpy(row, p, len);
  row[len] = '\0';
  reader.start += len;
  return len;
}

constexpr int kLastColumn = 9;

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

static void set_system(const char *field) {
  if (strstr(field, "HSDPA"))
    isp_info.system = 0;
  else if (strstr(field, "CDMA2000"))
    isp_info.system = 1;
  else if (strstr(field, "TD-SCDMA"))
    isp_info.system = 2;
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

static RowStep take_column(int column, char *field) {
  switch (column) {
    case 0: return store(isp_info.index, sizeof isp_info.index, field);
    case 1: return match(isp_info.mcc, sizeof isp_info.mcc, field, mcc);
    case 2: return match(isp_info.mnc, sizeof isp_info.mnc, field, mnc);
    case 3: return store(isp_info.isp, sizeof isp_info.isp, field);
    case 4: return store(isp_info.region, sizeof isp_info.region, field);
    case 5: set_system(field); return kNextColumn;
    case 6: return store(isp_info.apn, sizeof isp_info.apn, field);
    case 7: return store(isp_info.number, sizeof isp_info.number, field);
    case 8: return store(isp_info.usr, sizeof isp_info.usr, field);
  }
  drop_line_end(field);
  return store(isp_info.pwd, sizeof isp_info.pwd, field) == kNextColumn ? kComplete : kGiveUp;
}

// A row that runs out of fields before the password gives no result.
bool take_row(char *row) {
  char *cursor = row;
  for (int column = 0; column <= kLastColumn; column++) {
    char *field = next_field(&cursor);
    if (!field)
      return false;
    blank_placeholder(field);
    RowStep step = take_column(column, field);
    if (step != kNextColumn)
      return step == kComplete;
  }
  return false;
}

// Reads after a failed read are unknown: that lookup finds nothing.
static int find_piece() {
  char row[kRowSize];
  if (!table_piece(row))  // the header, unexamined
    return 0;
  for (int piece = 2; table_piece(row); piece++)
    if (take_row(row))
      return piece;
  return 0;
}

int find_row(const char *path) {
  if (table_open(path) < 0)
    return -1;
  int piece = find_piece();
  return table_close() < 0 ? 0 : piece;
}

int parse() {
  fprintf(stderr, "------ searching [%s,%s] ------\n", mcc, mnc);
  int piece = find_row(kTablePath);
  if (piece < 0)
    fputs("error to open isp information file", stderr);
  if (piece <= 0)
    return -1;
  print_isp_info();
  return 1;
}

void print_isp_info() {
  fputs("------ print isp information -----\n", stderr);
  fprintf(stderr,
          "INDEX:%s,MCC:%s, MNC:%s, ISP:%s, Region:%s, system:%d, APN:%s, Number:%s, USR:%s, PWD:%s \n",
          isp_info.index, isp_info.mcc, isp_info.mnc, isp_info.isp, isp_info.region,
          (int)isp_info.system, isp_info.apn, isp_info.number, isp_info.usr, isp_info.pwd);
}
