// The operator table "/var/3.5G_Infomation.csv" and the profile it yields.
#pragma once

#include <stddef.h>
#include <stdint.h>

/// One connection profile. Text fields are zero-terminated.
struct isp_profile {
  char index[8];
  char mcc[5];
  char mnc[5];
  char region[64];
  char isp[64];
  int32_t system;  // 0 HSDPA, 1 CDMA2000, 2 TD-SCDMA
  char apn[64];
  char usr[70];
  char pwd[70];
  char number[16];
};

/// The profile found by the last lookup. Never cleared between rows or
/// lookups: a field keeps what the last row that reached its column wrote.
extern isp_profile isp_info;

/// Finds the first row whose MCC and MNC columns equal `mcc` and `mnc` and
/// that has all ten columns, fills `isp_info` and prints it. Returns 1, or -1
/// when no row matches or the table cannot be opened.
int parse();

/// Writes `isp_info` to standard error, password in clear.
void print_isp_info();

// The row reader and the row walk that `parse` is made of. The host tool
// that checks tables calls these very functions, so that it reads a table
// exactly as the router does.

constexpr int kRowSize = 250;  // one read: at most 249 characters

/// Opens the table at `path` (a regular file only) for `table_piece`.
/// Returns 1, or -1 when it cannot be opened.
int table_open(const char *path);

/// The next piece of the open table into `row` (kRowSize bytes): a line
/// through its line feed, at most kRowSize - 1 characters; the rest of a
/// longer line comes as a piece of its own. Returns its length (a NUL
/// byte in it ends the row as text, not the piece), or 0 at the end or
/// after a failed read.
size_t table_piece(char *row);

/// Closes the table. Returns 1, or -1 when a read of it failed: the pieces
/// then ended early.
int table_close();

/// Cuts the next field off a row at `*cursor` (in place) and moves the
/// cursor past it; nullptr when none is left. Separators run together and a
/// leading one yields no field, so no field is ever empty.
char *next_field(char **cursor);

/// Makes `field` empty when it holds "NA" or "blank" anywhere.
void blank_placeholder(char *field);

/// Drops the row's line-end characters (CR and LF) from the end of `field`.
void drop_line_end(char *field);

/// The lookup of `parse` in the table at `path`, without its messages.
/// Returns the number of the piece whose row answered (the header is piece
/// 1), 0 when none did or a read failed, -1 when the table cannot be opened.
int find_row(const char *path);

/// Walks the fields of `row` (cut in place) into `isp_info` as a lookup of
/// `mcc` and `mnc` does. Returns true when the row matched and all ten
/// columns were taken.
bool take_row(char *row);
