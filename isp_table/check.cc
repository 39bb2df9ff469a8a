#include "check.h"

#include <ctype.h>
#include <string.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "identity.h"
#include "merge.h"
#include "operator_table.h"
#include "pieces.h"
#include "text.h"

constexpr size_t kPieceMax = kRowSize - 1;
constexpr size_t kColumns = 10;

// The fields of a row as isp_pick cuts them: as written, without the line
// end (for messages), and as isp_pick takes them (placeholders blanked).
struct Fields {
  std::vector<std::string> written, taken;
};

static Fields split(const std::string &row) {
  std::vector<char> buf(row.c_str(), row.c_str() + strlen(row.c_str()) + 1);
  Fields f;
  char *cursor = buf.data();
  for (char *field; (field = next_field(&cursor)) != nullptr;) {
    std::vector<char> shown(field, field + strlen(field) + 1);
    drop_line_end(shown.data());
    f.written.push_back(shown.data());
    blank_placeholder(field);
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

static bool set_identity(const std::string &m, const std::string &n) {
  return copy_text(mcc, sizeof mcc, m.c_str(), m.size()) > 0 &&
         copy_text(mnc, sizeof mnc, n.c_str(), n.size()) > 0;
}

// True when isp_pick returns this row to a lookup of its own MCC and MNC.
static bool complete(const std::string &row, const Fields &f) {
  if (f.taken.size() < kColumns || !set_identity(f.taken[1], f.taken[2]))
    return false;
  std::vector<char> buf(row.c_str(), row.c_str() + strlen(row.c_str()) + 1);
  return take_row(buf.data());
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
  int last_row = 0;
  std::vector<Finding> findings;

  void report(int line, bool error, const std::string &text) {
    (error ? errors : warnings)++;
    findings.push_back({line, error, text});
  }
};

static std::string quoted(const std::string &s) { return "\"" + s + "\""; }

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
              "MCC " + quoted(f.written[1]) + " is not three digits: the row is never returned");
  if (!all_digits(n) || n.size() < 2 || n.size() > 3) {
    c->report(
        line, true,
        "MNC " + quoted(f.written[2]) + " is not two or three digits: the row is never returned");
    return;
  }
  if (lookup_key({m, n}).second != n)
    c->report(line, true,
              "MNC " + quoted(n) + " has three characters under MCC " + m +
                  ": isp_pick looks up only the MNC's first two (all three only under "
                  "MCC 405), so the row is never returned");
}

struct Column {
  size_t index;
  const char *name;
  size_t width;
};

static const Column kWidths[] = {
    {0, "index", sizeof isp_info.index - 1},        {3, "operator name", sizeof isp_info.isp - 1},
    {4, "region", sizeof isp_info.region - 1},      {6, "APN", sizeof isp_info.apn - 1},
    {7, "dial number", sizeof isp_info.number - 1}, {8, "user name", sizeof isp_info.usr - 1},
    {9, "password", sizeof isp_info.pwd - 1},
};

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
              std::string(col.name) + " " + quoted(w) + " contains " + quoted(placeholder_word(w)) +
                  (sent ? ": isp_pick sends it as empty" : ": printed empty"));
  }
  const std::string &tech = f.taken[5];
  if (tech.find("HSDPA") == std::string::npos && tech.find("CDMA2000") == std::string::npos &&
      tech.find("TD-SCDMA") == std::string::npos)
    c->report(line, false,
              "technology " + quoted(f.written[5]) +
                  " names none of HSDPA, CDMA2000 and TD-SCDMA: the store gets the "
                  "code that an earlier row left (0 when none)");
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

static void check_row(Checker *c, const Piece &p) {
  Fields f = split(p.text);
  c->rows++;
  c->last_row = p.line;
  if (f.taken.size() < kColumns) {
    c->report(p.line, true,
              "the row has " + std::to_string(f.taken.size()) +
                  " fields, fewer than the ten isp_pick needs: it is never returned");
    return;
  }
  check_identity(c, p.line, f);
  if (int earlier = shadowed_by(c, p, f))
    c->report(p.line, true,
              "shadowed by line " + std::to_string(earlier) +
                  ", which has the same MCC and MNC: the row is never returned");
  if (f.taken[1].empty() && f.taken[2].empty())
    c->placeholder_rows.push_back(p.line);
  check_values(c, p.line, f);
  const std::string &t = p.text;
  if (t.size() >= 1 && t.back() == '\n' && (t.size() < 2 || t[t.size() - 2] != '\r'))
    c->report(p.line, false, "the row ends with a line feed alone, not CR LF");
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

static bool only_line_end(const std::string &text) {
  return text.find_first_not_of("\r\n") == std::string::npos;
}

// Returns the lines that were cut.
static std::set<int> check_cut_lines(Checker *c, const std::vector<Piece> &pieces) {
  std::set<int> cut;
  for (size_t i = 0; i < pieces.size(); i++) {
    if (pieces[i].offset != 0)
      continue;
    size_t length = pieces[i].text.size(), reads = 1;
    for (size_t j = i + 1; j < pieces.size() && pieces[j].line == pieces[i].line; j++, reads++)
      length += pieces[j].text.size();
    if (reads == 1)
      continue;
    cut.insert(pieces[i].line);
    c->report(pieces[i].line, true,
              "the line is " + std::to_string(length) + " characters long, more than one read of " +
                  std::to_string(kPieceMax) + ": isp_pick cuts it " +
                  (reads > 2 ? "every " : "after character ") + std::to_string(kPieceMax) +
                  (reads > 2 ? " characters and takes each piece as a row of its own"
                             : " and takes the rest as a row of its own"));
  }
  return cut;
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

static std::string plural(int n, const char *word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

int check_table(const char *path, FILE *out) {
  std::vector<Piece> pieces;
  if (!read_pieces(path, &pieces)) {
    cannot_read(path);
    return 2;
  }
  Checker c;
  std::set<int> cut = check_cut_lines(&c, pieces);
  for (size_t i = 0; i < pieces.size(); i++) {
    const Piece &p = pieces[i];
    if (i == 0)
      check_header(&c, p);
    else if (cut.count(p.line))
      check_cut_piece(&c, p);
    else if (!only_line_end(p.text))
      check_row(&c, p);
  }
  for (int line : c.placeholder_rows)
    if (line != c.last_row)
      c.report(line, false,
               "a placeholder row (MCC and MNC both placeholders) before the last "
               "row: it is no fallback, it serves only SIDs outside the SID table");
  std::stable_sort(c.findings.begin(), c.findings.end(),
                   [](const Finding &a, const Finding &b) { return a.line < b.line; });
  for (const Finding &f : c.findings)
    fprintf(out, "%s:%d: %s: %s\n", path, f.line, f.error ? "error" : "warning", f.text.c_str());
  fprintf(out, "%s: %s, %s, %s\n", path, plural(c.errors, "error").c_str(),
          plural(c.warnings, "warning").c_str(), plural(c.rows, "row").c_str());
  return c.errors ? 1 : 0;
}
