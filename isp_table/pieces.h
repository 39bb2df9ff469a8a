// A table as isp_pick reads it: every read it makes, and the line each
// read stands on.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

/// One read of the table, and where it stands.
struct Piece {
  int line;
  size_t offset;     // bytes of its line before it
  std::string text;  // every byte read, NUL bytes too
};

/// Reads the table at `path` with isp_pick's own row reader into `pieces`.
/// Returns false with `why` set (the system's reason, or what kind of file
/// it is not) when it cannot be opened or a read fails.
bool read_pieces(const char *path, std::vector<Piece> *pieces, std::string *why);

/// The reads of one line of a table: the pieces [first, end).
struct Line {
  const Piece *first, *end;

  /// The line's bytes: its reads joined, NUL bytes too.
  std::string whole() const;
};

/// `pieces`, a table's reads in order, grouped by the line each stands on.
/// Valid while `pieces` is unchanged.
std::vector<Line> table_lines(const std::vector<Piece> &pieces);

/// A value from a table or a database as findings print it: between double
/// quotes, with a tab, a double quote, a backslash and every byte below 32
/// or above 126 written as \t, \", \\ or \xNN, so that a line of output
/// stays one line. `quoted` takes a record's field of `size` bytes.
std::string shown(const std::string &value);
std::string quoted(const char *text, size_t size);

/// An operator name or a region as every message prints it: as `shown`
/// prints a value, but each well-formed UTF-8 character from U+00A0 on as
/// it stands ("M\xc3\xbcller Funk" reads "Müller Funk"). Control bytes (C0,
/// DEL, the C1 controls U+0080 to U+009F), characters that print as
/// nothing or reverse the text (U+200B, U+202E, U+FEFF ...) and bytes of no
/// well-formed character stay escaped. Values for the store (APN, user name, password,
/// number) are never printed so: an invisible or look-alike character in
/// an APN must show. `quoted_name` takes a record's field of `size` bytes.
std::string shown_name(const std::string &name);
std::string quoted_name(const char *text, size_t size);
