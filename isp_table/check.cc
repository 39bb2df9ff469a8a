#include "check.h"

#include <string>
#include <vector>

#include "checker.h"
#include "columns.h"
#include "digits.h"
#include "operator_table.h"
#include "utf8.h"

bool only_line_end(const std::string &text) {
  return text.find_first_not_of("\r\n") == std::string::npos;
}

static void check_line_end(Checker *c, int line, const std::string &whole) {
  size_t n = whole.size();
  if (n >= 1 && whole[n - 1] == '\n' && (n < 2 || whole[n - 2] != '\r'))
    c->report(line, false, "the row ends with a line feed alone, not CR LF",
              "lf-line-end");
}

// "character 27", or "byte 31 (character 27)" after a UTF-8 character.
static std::string position(const std::string &text, size_t at) {
  std::string before = text.substr(0, at);
  std::string character = "character " + std::to_string(characters(before) + 1);
  return ascii(before) ? character : "byte " + std::to_string(at + 1) + " (" + character + ")";
}

// isp_pick reads a row as text, so a NUL byte ends it. Returns whether
// the line has one.
static bool check_nul(Checker *c, int line, const std::string &whole) {
  size_t at = whole.find('\0');
  if (at == std::string::npos)
    return false;
  c->report(line, true,
            "a NUL byte at " + position(whole, at) +
                " of the line: isp_pick ends the row there as text, so the values after it "
                "are lost",
            "nul-byte");
  return true;
}

// `p` is the line's first read, the row isp_pick takes; `whole` is the
// line with the line end that fell past the read.
static void check_row(Checker *c, const Piece &p, const std::string &whole) {
  Fields f = split(p.text);
  c->found.rows++;
  c->last_row = p.line;
  check_line_end(c, p.line, whole);
  // A NUL byte that leaves the row short of fields is that row's cause.
  bool cut_short = check_nul(c, p.line, whole) && f.taken.size() < kColumns;
  // Field count, identity and values of a row with shifted columns show
  // only the shift, which its cause already reports.
  if (!shifted_columns(c, p.line, whole) && !cut_short)
    check_columns(c, p.line, f);
  check_answer(c, p, f);
}

// Each read of a cut line is a row of its own to isp_pick. The cut is the
// finding; the model answers with such a piece too, so it can still shadow
// a later row.
static void count_cut_piece(Checker *c, const Piece &p) {
  if (p.offset == 0) {
    c->found.rows++;
    c->last_row = p.line;
  }
}

// A line is cut when more than its line end falls past the first read.
// A line end alone is a read that yields no row, so a row of 250 or 251
// bytes with CR LF is taken whole.
static bool is_cut(const Piece *first, const Piece *end) {
  for (const Piece *p = first + 1; p < end; p++)
    if (!only_line_end(p->text))
      return true;
  return false;
}

// A read holds bytes, so a cut may fall inside a UTF-8 character.
static void report_cut(Checker *c, const Piece *first, const Piece *end) {
  std::string line;
  size_t rows = 0;
  for (const Piece *p = first; p < end; p++) {
    line += p->text;
    rows += !only_line_end(p->text);
  }
  c->report(first->line, true,
            "the line is " + byte_size(line) + " long, more than one read of " +
                std::to_string(kPieceMax) + " bytes: isp_pick cuts it " +
                (rows > 2 ? "every " : "after byte ") + std::to_string(kPieceMax) +
                (rows > 2 ? " bytes and takes each piece as a row of its own"
                          : " and takes the rest as a row of its own"),
            "line-past-read");
}

// isp_pick ends a row only at a line feed. A CR before the line end is one
// it does not see (a table saved with CR alone runs all its rows into one
// line), or a character that goes to the store with its value.
static void check_carriage_return(Checker *c, int line, const std::string &whole) {
  if (line_text(whole).find('\r') != std::string::npos)
    c->report(line, true,
              "a carriage return inside the line: isp_pick ends a row only at a line feed, "
              "so a line ended by CR alone runs into the next, and a CR in a value goes to "
              "the store with it",
              "carriage-return");
}

// A header is dropped unread, so a first line that looks like a row is lost.
static void check_header(Checker *c, const Piece &header) {
  Fields f = split(header.text);
  if (f.taken.size() < kColumns)
    return;
  const std::string &m = f.taken[1], &n = f.taken[2];
  if ((all_digits(m) && all_digits(n)) || (m.empty() && n.empty()))
    c->report(header.line, true, "the first line is a data row: isp_pick drops it as the header",
              "header-is-data");
}

// A spreadsheet writes a row it has no values for as separators alone, or
// white space. isp_pick finds no MCC and MNC in it and passes it over, so it
// is no row; advice to fill it with "NA" would make it a placeholder row,
// which answers every CDMA card outside the SID table.
bool empty_row(const std::string &whole) {
  std::string text = line_text(whole);
  return !text.empty() && text.find_first_not_of(" \t,;") == std::string::npos;
}

// The reads of one line. The header's first read is dropped,
// but the rest of a cut header is read as rows.
static void check_line(Checker *c, const Line &l) {
  const Piece *first = l.first, *end = l.end;
  bool header = first->line == 1;
  std::string whole = l.whole();
  check_carriage_return(c, first->line, whole);
  if (header)
    check_header(c, *first);
  if (is_cut(first, end)) {
    report_cut(c, first, end);
    for (const Piece *p = first + header; p < end; p++)
      count_cut_piece(c, *p);
    return;
  }
  if (header || only_line_end(whole))
    return;
  if (empty_row(whole))
    c->report(first->line, false, "empty row: delete the line", "empty-row");
  else
    check_row(c, *first, whole);
}

// Whether the table's bytes, read as UTF-16 units in the byte order `big`,
// begin with a line that holds a comma or a CR: the characters a table
// has whatever its letters, a comma between its columns and CR LF after
// each line. Such a character is its ASCII byte and a NUL, the NUL after it
// in little-endian order (the byte at an even offset) and before it in
// big-endian. The line ends at the first line feed unit, or with the bytes
// when none of them is a line feed at all.
static bool utf16_line(const std::vector<Piece> &pieces, bool big) {
  bool sign = false, line_feed = false, second = false;
  char unit[2];
  for (const Piece &p : pieces)
    for (char b : p.text) {
      line_feed = line_feed || b == '\n';
      unit[second] = b;
      second = !second;
      if (second)
        continue;
      char c = unit[big], nul = unit[!big];
      if (nul != '\0')
        continue;
      if (c == '\n')
        return sign;
      sign = sign || c == ',' || c == '\r';
    }
  return sign && !line_feed;
}

// A table saved as UTF-16 has a NUL byte in every ASCII character, and
// isp_pick, which reads bytes, ends each row at its first: it returns no
// row of it. The byte order and how it shows (`how`), or null.
static const char *utf16(const std::vector<Piece> &pieces, const char **how) {
  std::string first = pieces.empty() ? "" : pieces[0].text.substr(0, 2);
  if (first == "\xff\xfe") {
    *how = "it begins with the byte-order mark FF FE";
    return "little-endian";
  }
  if (first == "\xfe\xff") {
    *how = "it begins with the byte-order mark FE FF";
    return "big-endian";
  }
  if (utf16_line(pieces, false)) {
    *how = "its first line has a NUL byte after each comma, CR and LF";
    return "little-endian";
  }
  if (utf16_line(pieces, true)) {
    *how = "its first line has a NUL byte before each comma, CR and LF";
    return "big-endian";
  }
  return nullptr;
}

void add_findings(const std::string &path, const Findings &found, Json *doc) {
  (*doc)["findings"] = findings_json(path, found);
  (*doc)["errors"] = found.errors;
  (*doc)["warnings"] = found.warnings;
  (*doc)["rows"] = found.rows;
}

Findings check_table(const Table &table) {
  Checker c;
  c.table = &table;
  c.columns = table_columns(table);
  const std::vector<Piece> &pieces = table.pieces;
  // Every line of a UTF-16 table would draw findings that are all noise.
  const char *how;
  if (const char *order = utf16(pieces, &how)) {
    c.report(0, true,
             std::string("the table is UTF-16, ") + order + " (" + how +
                 "): isp_pick reads bytes and ends a row at its first NUL byte, so it returns "
                 "no row of it; save it as UTF-8 or ASCII text",
             "utf16-table");
    return c.found;
  }
  for (const Line &line : table_lines(pieces))
    check_line(&c, line);
  check_placeholder_rows(&c);
  return c.found;
}
