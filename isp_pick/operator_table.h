// The operator table "/var/3.5G_Infomation.csv" and the profile it yields.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "identity.h"

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

// The row reader and the row walk that the run's lookup (run.h) is made of.
// These take all their state from the caller: the host tool that checks
// tables calls these very functions, so that it reads a table exactly as
// the router does.

constexpr int kRowSize = 250;  // one read: at most kPieceMax characters
constexpr int kPieceMax = kRowSize - 1;
constexpr int kReadBlockSize = 64 * 1024;

/// Technology codes in `isp_profile::system`, and the names that a row's
/// technology column holds for them (the first one it contains wins).
enum Technology { kHsdpa, kCdma2000, kTdScdma, kTechnologies };
extern const char *const kTechnologyNames[kTechnologies];  // HSDPA, CDMA2000, TD-SCDMA

/// The code of the first technology name that `field` contains, or -1 for
/// none (the store then keeps the code an earlier row left).
int technology_code(const char *field);

/// The table's columns, numbered from 0.
enum RowColumn { kIndex, kMcc, kMnc, kIsp, kRegion, kSystem, kApn, kNumber, kUsr, kPwd, kColumns };

/// What a placeholder word ("NA" or "blank") inside a column's value does.
enum class Placeholder {
  kKey,      // MCC and MNC: both blank make the row answer the empty identity
  kIndex,    // the store gets an empty index and loses which profile it holds
  kPrinted,  // name and region: only printed empty
  kSent,     // APN, dial number, user name, password: sent to the store empty
  kNone,     // technology: read by name, never blanked into the store
};

/// A column's rules, declared once for the router and the host tool.
struct ColumnRule {
  const char *name;        // what the host tool's messages call the column
  size_t width;            // the characters its field holds; 0: not kept as text
  const char *store_item;  // the store item the run writes from it, or nullptr
  Placeholder placeholder;
};

#define ISP_PROFILE_WIDTH(field) (sizeof(isp_profile::field) - 1)

/// The rules of each column, indexed by RowColumn. Constant, so that the
/// router keeps only the store items it names.
constexpr ColumnRule kColumnRules[kColumns] = {
    /* kIndex */ {"index", ISP_PROFILE_WIDTH(index), "G_ISP_INDEX", Placeholder::kIndex},
    /* kMcc */ {"MCC", ISP_PROFILE_WIDTH(mcc), nullptr, Placeholder::kKey},
    /* kMnc */ {"MNC", ISP_PROFILE_WIDTH(mnc), nullptr, Placeholder::kKey},
    /* kIsp */ {"operator name", ISP_PROFILE_WIDTH(isp), nullptr, Placeholder::kPrinted},
    /* kRegion */ {"region", ISP_PROFILE_WIDTH(region), nullptr, Placeholder::kPrinted},
    /* kSystem */ {"technology", 0, "G_SYSTEM", Placeholder::kNone},
    /* kApn */ {"APN", ISP_PROFILE_WIDTH(apn), "G_APN", Placeholder::kSent},
    /* kNumber */ {"dial number", ISP_PROFILE_WIDTH(number), "G_NUMBER", Placeholder::kSent},
    /* kUsr */ {"user name", ISP_PROFILE_WIDTH(usr), "G_USERNAME", Placeholder::kSent},
    /* kPwd */ {"password", ISP_PROFILE_WIDTH(pwd), "G_PASSWORD", Placeholder::kSent},
};

#undef ISP_PROFILE_WIDTH

/// The columns whose items a run writes to the store, in the order it
/// writes them: the index, which tells the store which profile it holds,
/// then the profile.
constexpr RowColumn kStoreColumns[] = {kIndex, kSystem, kApn, kUsr, kPwd, kNumber};

/// The text field of `p` that column `column` fills; null for the
/// technology, which holds a code. Inline, so that a column known when
/// compiling names its field as a constant.
inline const char *profile_text(const isp_profile &p, int column) {
  switch (column) {
    case kIndex: return p.index;
    case kMcc: return p.mcc;
    case kMnc: return p.mnc;
    case kIsp: return p.isp;
    case kRegion: return p.region;
    case kApn: return p.apn;
    case kNumber: return p.number;
    case kUsr: return p.usr;
    case kPwd: return p.pwd;
  }
  return nullptr;
}

/// Results of a lookup besides a piece's number: no table (none at the
/// path, or not a regular file), and a table that is there but whose
/// open, fstat or a read failed.
constexpr int kNoTable = -1;
constexpr int kUnreadable = -2;

/// An open table, read in large blocks: a table of hundreds of thousands of
/// rows is scanned in milliseconds.
struct TableReader {
  int fd;
  size_t start, end;
  bool at_end, failed;
  char block[kReadBlockSize];
};

/// Opens the table at `path` (a regular file only) for `table_piece`.
/// Returns 1, kNoTable or kUnreadable.
int table_open(TableReader *reader, const char *path);

/// The next piece of the open table into `row` (kRowSize bytes): a line
/// through its line feed, at most kPieceMax characters; the rest of a
/// longer line comes as a piece of its own. Returns its length (a NUL
/// byte in it ends the row as text, not the piece), or 0 at the end or
/// after a failed read.
size_t table_piece(TableReader *reader, char *row);

/// Closes the table. Returns 1, or kUnreadable when a read of it failed:
/// the pieces then ended early.
int table_close(TableReader *reader);

/// Cuts the next field off a row at `*cursor` (in place) and moves the
/// cursor past it; nullptr when none is left. Separators run together and a
/// leading one yields no field, so no field is ever empty.
char *next_field(char **cursor);

/// Makes `field` empty when it holds "NA" or "blank" anywhere.
void blank_placeholder(char *field);

/// Drops the row's line-end characters (CR and LF) from the end of `field`.
void drop_line_end(char *field);

/// Walks the fields of `row` (cut in place) into `profile` as a lookup of
/// `key` does. Returns true when the row matched and all ten columns were
/// taken. Like the router's record, `profile` keeps what earlier rows wrote
/// into the fields this row does not reach.
bool take_row(char *row, const LookupKey &key, isp_profile *profile);

/// The key that `row` can answer: its MCC and MNC columns cut and blanked
/// as a lookup compares them. False when the row has no such columns or one
/// is longer than a key holds, so that no lookup can match it.
bool row_key(const char *row, LookupKey *key);

/// The lookup of `parse` for `key` in the table at `path`, without its
/// messages, into `profile`. Returns the number of the piece whose row
/// answered (the header is piece 1), 0 when none did, or kNoTable or
/// kUnreadable.
int find_row(TableReader *reader, const char *path, const LookupKey &key, isp_profile *profile);
