#include "check.h"

#include <ctype.h>
#include <string.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "against.h"
#include "identity.h"
#include "merge.h"
#include "operator_table.h"
#include "pieces.h"


// The fields of a row as isp_pick cuts them: as written, without the line
// end (for messages), and as isp_pick takes them (placeholders blanked).
struct Fields {
  std::vector<std::string> written, taken;
};

// Only the password loses the line end: a CR or LF that ends up in another
// column stays in its value, as it does in isp_pick's record.
static Fields split(const std::string &row) {
  std::vector<char> buf(row.c_str(), row.c_str() + strlen(row.c_str()) + 1);
  Fields f;
  char *cursor = buf.data();
  for (char *field; (field = next_field(&cursor)) != nullptr;) {
    std::vector<char> written(field, field + strlen(field) + 1);
    drop_line_end(written.data());
    f.written.push_back(written.data());
    blank_placeholder(field);
    if (f.taken.size() == kPwd)
      drop_line_end(field);
    f.taken.push_back(field);
  }
  return f;
}

static bool all_digits(const std::string &s) {
  for (char c : s)
    if (!isdigit((unsigned char)c))
      return false;
  return !s.empty();
}

// True when isp_pick returns this row to a lookup of its own MCC and MNC.
static bool complete(const std::string &row, const Fields &f) {
  LookupKey key;
  if (f.taken.size() < kColumns || !row_key(row.c_str(), &key))
    return false;
  std::vector<char> buf(row.c_str(), row.c_str() + strlen(row.c_str()) + 1);
  isp_profile profile{};
  return take_row(buf.data(), key, &profile);
}

struct Finding {
  int line;
  bool error;
  std::string text;
};

struct Checker {
  int errors = 0, warnings = 0, rows = 0;
  std::map<std::pair<std::string, std::string>, int> answered;  // identity -> its line
  std::vector<int> placeholder_rows;
  std::map<std::string, std::pair<int, std::vector<std::string>>> indexes;  // -> line, profile
  int last_row = 0;
  std::vector<Finding> findings;

  void report(int line, bool error, const std::string &text) {
    (error ? errors : warnings)++;
    findings.push_back({line, error, text});
  }
};

// "NA" or "blank" standing alone is the table's way to write an empty value.
static bool stray_placeholder(const Fields &f, size_t column) {
  const std::string &w = f.written[column];
  return f.taken[column].empty() && !w.empty() && w != "NA" && w != "blank";
}

static const char *placeholder_word(const std::string &s) {
  return s.find("NA") != std::string::npos ? "NA" : "blank";
}

static void check_identity(Checker *c, int line, const Fields &f) {
  const std::string &m = f.taken[1], &n = f.taken[2];
  if (m.empty() && n.empty())
    return;
  if (!all_digits(m) || m.size() != 3)
    c->report(line, true,
              "MCC " + shown(f.written[1]) + " is not three digits: the row is never returned");
  if (!all_digits(n) || n.size() < 2 || n.size() > 3) {
    c->report(
        line, true,
        "MNC " + shown(f.written[2]) + " is not two or three digits: the row is never returned");
    return;
  }
  if (lookup_key({m, n}).second != n)
    c->report(line, true,
              "MNC " + shown(n) + " has three characters under MCC " + m +
                  ": isp_pick looks up only the MNC's first two (all three only under "
                  "MCC 405), so the row is never returned");
}

struct Column {
  size_t index;
  const char *name;
  size_t width;
};

static const Column kWidths[] = {
    {kIndex, "index", sizeof(isp_profile::index) - 1},
    {kIsp, "operator name", sizeof(isp_profile::isp) - 1},
    {kRegion, "region", sizeof(isp_profile::region) - 1},
    {kApn, "APN", sizeof(isp_profile::apn) - 1},
    {kNumber, "dial number", sizeof(isp_profile::number) - 1},
    {kUsr, "user name", sizeof(isp_profile::usr) - 1},
    {kPwd, "password", sizeof(isp_profile::pwd) - 1},
};

// The code isp_pick stores for the technology column, -1 for none: the
// store then keeps the code an earlier row left.
static int technology_code(const std::string &field) {
  for (int code = 0; code < kTechnologies; code++)
    if (field.find(kTechnologyNames[code]) != std::string::npos)
      return code;
  return -1;
}

// "HSDPA, CDMA2000 and TD-SCDMA"
static std::string technology_list() {
  std::string list;
  for (int code = 0; code < kTechnologies; code++)
    list += std::string(code == 0 ? "" : code + 1 < kTechnologies ? ", " : " and ") +
            kTechnologyNames[code];
  return list;
}

static void check_values(Checker *c, int line, const Fields &f) {
  for (const Column &col : kWidths) {
    size_t len = f.taken[col.index].size();
    if (len > col.width)
      c->report(line, true,
                std::string(col.name) + " is " + std::to_string(len) +
                    " characters, more than the " + std::to_string(col.width) +
                    " its field holds: the row is never returned");
  }
  for (const Column &col : kWidths) {
    if (col.index < 3 || !stray_placeholder(f, col.index))
      continue;
    const std::string &w = f.written[col.index];
    bool sent = col.index >= 6;
    c->report(line, sent,
              std::string(col.name) + " " + shown(w) + " contains " + shown(placeholder_word(w)) +
                  (sent ? ": isp_pick sends it as empty" : ": printed empty"));
  }
  if (technology_code(f.taken[5]) < 0)
    c->report(line, false,
              "technology " + shown(f.written[5]) + " names none of " + technology_list() +
                  ": the store gets the code that an earlier row left (0 when none)");
  if (f.taken.size() > kColumns)
    c->report(line, false, "a column after the password: it is not read");
}

// Records the row as the one that answers for its MCC and MNC when no
// earlier row does; returns the line of the earlier one, or 0.
static int shadowed_by(Checker *c, const Piece &p, const Fields &f) {
  if (f.taken.size() < kColumns)
    return 0;
  std::pair<std::string, std::string> identity{f.taken[1], f.taken[2]};
  auto earlier = c->answered.find(identity);
  if (earlier != c->answered.end())
    return earlier->second;
  if (complete(p.text, f))
    c->answered[identity] = p.line;
  return 0;
}

// What the messages call each column.
static const char *const kColumnNames[kColumns] = {
    "index", "MCC", "MNC", "operator name", "region", "technology",
    "APN", "dial number", "user name", "password"};

static std::string column_name(size_t column) {
  return column < kColumns ? kColumnNames[column] : "column " + std::to_string(column + 1);
}

static bool only_line_end(const std::string &text) {
  return text.find_first_not_of("\r\n") == std::string::npos;
}

// The line as isp_pick sees it as text (up to a NUL byte), without its
// line end.
static std::string line_text(const std::string &line) {
  std::vector<char> buf(line.c_str(), line.c_str() + strlen(line.c_str()) + 1);
  drop_line_end(buf.data());
  return buf.data();
}

// The values as a spreadsheet wrote them: cut at every comma, empty ones
// kept, which isp_pick's own cutting skips.
static std::vector<std::string> cells(const std::string &text) {
  std::vector<std::string> values;
  size_t start = 0;
  for (size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
    values.push_back(text.substr(start, comma - start));
  values.push_back(text.substr(start));
  return values;
}

static bool other_separator(Checker *c, int line, const std::string &text) {
  if (text.find(',') != std::string::npos)
    return false;
  bool semicolons = text.find(';') != std::string::npos;
  bool tabs = text.find('\t') != std::string::npos;
  if (!semicolons && !tabs)
    return false;
  std::string used = semicolons && tabs ? "semicolons and tabs" : semicolons ? "semicolons" : "tabs";
  c->report(line, true,
            "values separated by " + used +
                ", not commas: isp_pick splits at commas only, so it reads the line as "
                "one value and never returns the row");
  return true;
}

static bool printed_only(size_t column) {
  return column == kIsp || column == kRegion || column == kSystem;
}

// Values in quotes whole keep their columns, but the quotes go with them:
// to the store, or into the lookup's comparison; a name or region only
// prints them. Returns true when a quote reaches more than the print.
static bool in_quotes(Checker *c, int line, const std::vector<size_t> &columns) {
  std::string names;
  bool harmful = false;
  for (size_t i = 0; i < columns.size(); i++) {
    names += (i == 0 ? "" : i + 1 < columns.size() ? ", " : " and ") + column_name(columns[i]);
    harmful = harmful || !printed_only(columns[i]);
  }
  c->report(line, harmful,
            names + (columns.size() > 1 ? " are" : " is") +
                " in double quotes: isp_pick reads no quotes and takes them as part of the value");
  return harmful;
}

// Columns after the password are never read, so their quotes shift nothing.
static bool quoted_value(Checker *c, int line, const std::vector<std::string> &values) {
  std::vector<size_t> whole;
  for (size_t i = 0; i < values.size() && i < kColumns; i++) {
    const std::string &v = values[i];
    if (v.empty() || v[0] != '"')
      continue;
    if (v.size() > 1 && v.back() == '"') {
      whole.push_back(i);
      continue;
    }
    c->report(line, true,
              column_name(i) +
                  " begins with a double quote: spreadsheets quote a value that holds a "
                  "comma, but isp_pick reads no quotes, so the comma splits the value and "
                  "shifts every later column");
    return true;
  }
  return !whole.empty() && in_quotes(c, line, whole);
}

// Empty values after the password shift nothing, so only the first ten
// count; a leading comma is an empty index. A comma that ends the line
// shifts nothing either: it leaves the last value empty, and a row short of
// columns is reported as such.
static bool empty_value(Checker *c, int line, const std::vector<std::string> &values) {
  for (size_t i = 0; i + 1 < values.size() && i < kColumns; i++) {
    if (!values[i].empty())
      continue;
    c->report(line, true,
              column_name(i) +
                  " is empty: isp_pick skips an empty value, so every later column "
                  "shifts; write \"NA\"");
    return true;
  }
  return false;
}

// Reports the traps of a table saved from a spreadsheet that move values
// out of their columns; returns true when there was one.
static bool shifted_columns(Checker *c, int line, const std::string &whole) {
  std::string text = line_text(whole);
  if (other_separator(c, line, text))
    return true;
  std::vector<std::string> values = cells(text);
  bool quoted = quoted_value(c, line, values);
  bool empty = empty_value(c, line, values);
  return quoted || empty;
}

// The values isp_pick hands to the modem go as they stand, spaces too.
static void check_spaces(Checker *c, int line, const Fields &f) {
  std::string found;
  for (int column : {kApn, kNumber, kUsr, kPwd}) {
    const std::string &v = f.taken[column];
    // Spaces and tabs: a CR has a finding of its own.
    if (v.empty() || (!strchr(" \t", v.front()) && !strchr(" \t", v.back())))
      continue;
    found += (found.empty() ? "" : ", ") + column_name(column) + " " + shown(v);
  }
  if (!found.empty())
    c->report(line, false,
              "white space at the start or end of " + found +
                  ": isp_pick sends each value as it stands, and most modems refuse an "
                  "APN with a trailing space");
}

// G_ISP_INDEX is how the store knows which profile it holds.
static void check_index(Checker *c, int line, const Fields &f) {
  const std::string &w = f.written[kIndex];
  if (!f.taken[kIndex].empty() || w.empty())
    return;
  c->report(line, true,
            "index " + shown(w) + " contains " + shown(placeholder_word(w)) +
                ": isp_pick writes it empty, and the store loses which profile it holds");
}

// G_ISP_INDEX is all the store keeps to tell profiles apart, so one index
// stands for one profile: the items isp_pick writes besides it. Rows of one
// operator's networks may share an index and their profile.
static void check_shared_index(Checker *c, int line, const Fields &f) {
  const std::string &index = f.taken[kIndex];
  if (index.empty())
    return;
  std::vector<std::string> profile = {std::to_string(technology_code(f.taken[kSystem])),
                                      f.taken[kApn], f.taken[kNumber], f.taken[kUsr],
                                      f.taken[kPwd]};
  auto first = c->indexes.emplace(index, std::make_pair(line, profile)).first;
  if (first->second.second != profile)
    c->report(line, false,
              "index " + shown(index) + " is line " + std::to_string(first->second.first) +
                  "'s too, with another profile: G_ISP_INDEX no longer tells which profile "
                  "the store holds");
}

static void check_line_end(Checker *c, int line, const std::string &whole) {
  size_t n = whole.size();
  if (n >= 1 && whole[n - 1] == '\n' && (n < 2 || whole[n - 2] != '\r'))
    c->report(line, false, "the row ends with a line feed alone, not CR LF");
}

// Where it answers: a later row of its MCC and MNC is shadowed, and a
// placeholder row answers the empty identity.
static void check_answer(Checker *c, const Piece &p, const Fields &f) {
  if (f.taken.size() < kColumns)
    return;
  if (int earlier = shadowed_by(c, p, f))
    c->report(p.line, true,
              "shadowed by line " + std::to_string(earlier) +
                  ", which has the same MCC and MNC: the row is never returned");
  if (f.taken[kMcc].empty() && f.taken[kMnc].empty())
    c->placeholder_rows.push_back(p.line);
}

// The findings of a row whose values stand in their columns.
static void check_columns(Checker *c, int line, const Fields &f) {
  if (f.taken.size() < kColumns) {
    c->report(line, true,
              "the row has " + std::to_string(f.taken.size()) +
                  " fields, fewer than the ten isp_pick needs: it is never returned");
    return;
  }
  check_identity(c, line, f);
  check_index(c, line, f);
  check_shared_index(c, line, f);
  check_values(c, line, f);
  check_spaces(c, line, f);
}

// `p` is the line's first read, the row isp_pick takes; `whole` is the
// line with the line end that fell past the read.
static void check_row(Checker *c, const Piece &p, const std::string &whole) {
  Fields f = split(p.text);
  c->rows++;
  c->last_row = p.line;
  check_line_end(c, p.line, whole);
  // Field count, identity and values of a row with shifted columns show
  // only the shift, which its cause already reports.
  if (!shifted_columns(c, p.line, whole))
    check_columns(c, p.line, f);
  check_answer(c, p, f);
}

// Each read of a cut line is a row of its own to isp_pick. The cut is the
// finding; yet a piece can still answer, and so shadow a later row.
static void check_cut_piece(Checker *c, const Piece &p) {
  if (p.offset == 0) {
    c->rows++;
    c->last_row = p.line;
  }
  shadowed_by(c, p, split(p.text));
}

// A line is cut when more than its line end falls past the first read.
// A line end alone is a read that yields no row, so a row of 250 or 251
// characters with CR LF is taken whole.
static bool is_cut(const Piece *first, const Piece *end) {
  for (const Piece *p = first + 1; p < end; p++)
    if (!only_line_end(p->text))
      return true;
  return false;
}

static void report_cut(Checker *c, const Piece *first, const Piece *end) {
  size_t length = 0, rows = 0;
  for (const Piece *p = first; p < end; p++) {
    length += p->text.size();
    rows += !only_line_end(p->text);
  }
  c->report(first->line, true,
            "the line is " + std::to_string(length) + " characters long, more than one read of " +
                std::to_string(kPieceMax) + ": isp_pick cuts it " +
                (rows > 2 ? "every " : "after character ") + std::to_string(kPieceMax) +
                (rows > 2 ? " characters and takes each piece as a row of its own"
                          : " and takes the rest as a row of its own"));
}

// isp_pick ends a row only at a line feed. A CR before the line end is one
// it does not see (a table saved with CR alone runs all its rows into one
// line), or a character that goes to the store with its value.
static void check_carriage_return(Checker *c, int line, const std::string &whole) {
  if (line_text(whole).find('\r') != std::string::npos)
    c->report(line, true,
              "a carriage return inside the line: isp_pick ends a row only at a line feed, "
              "so a line ended by CR alone runs into the next, and a CR in a value goes to "
              "the store with it");
}

// A header is dropped unread, so a first line that looks like a row is lost.
static void check_header(Checker *c, const Piece &header) {
  Fields f = split(header.text);
  if (f.taken.size() < kColumns)
    return;
  const std::string &m = f.taken[1], &n = f.taken[2];
  if ((all_digits(m) && all_digits(n)) || (m.empty() && n.empty()))
    c->report(header.line, true, "the first line is a data row: isp_pick drops it as the header");
}

// A spreadsheet writes a row it has no values for as separators alone, or
// white space. isp_pick finds no MCC and MNC in it and passes it over, so it
// is no row; advice to fill it with "NA" would make it a placeholder row,
// which answers every CDMA card outside the SID table.
static bool empty_row(const std::string &whole) {
  std::string text = line_text(whole);
  return !text.empty() && text.find_first_not_of(" \t,;") == std::string::npos;
}

// The reads [first, end) of one line. The header's first read is dropped,
// but the rest of a cut header is read as rows.
static void check_line(Checker *c, const Piece *first, const Piece *end) {
  bool header = first->line == 1;
  std::string whole;
  for (const Piece *p = first; p < end; p++)
    whole += p->text;
  check_carriage_return(c, first->line, whole);
  if (header)
    check_header(c, *first);
  if (is_cut(first, end)) {
    report_cut(c, first, end);
    for (const Piece *p = first + header; p < end; p++)
      check_cut_piece(c, *p);
    return;
  }
  if (header || only_line_end(whole))
    return;
  if (empty_row(whole))
    c->report(first->line, false, "empty row: delete the line");
  else
    check_row(c, *first, whole);
}

static std::string plural(int n, const char *word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

int check_table(const char *path, FILE *out, const std::vector<Source> *against) {
  std::vector<Piece> pieces;
  if (!read_pieces(path, &pieces)) {
    cannot_read(path);
    return 2;
  }
  Checker c;
  for (size_t i = 0, end; i < pieces.size(); i = end) {
    for (end = i + 1; end < pieces.size() && pieces[end].line == pieces[i].line; end++) {
    }
    check_line(&c, pieces.data() + i, pieces.data() + end);
  }
  for (int line : c.placeholder_rows)
    if (line != c.last_row)
      c.report(line, false,
               "a placeholder row (MCC and MNC both placeholders) before the last "
               "row: it is no fallback, it serves only SIDs outside the SID table");
  if (against)
    for (const AgainstFinding &f : check_against(path, *against))
      c.report(f.line, false, f.text);
  std::stable_sort(c.findings.begin(), c.findings.end(),
                   [](const Finding &a, const Finding &b) { return a.line < b.line; });
  for (const Finding &f : c.findings)
    fprintf(out, "%s:%d: %s: %s\n", path, f.line, f.error ? "error" : "warning", f.text.c_str());
  fprintf(out, "%s: %s, %s, %s\n", path, plural(c.errors, "error").c_str(),
          plural(c.warnings, "warning").c_str(), plural(c.rows, "row").c_str());
  return c.errors ? 1 : 0;
}
