// The traps of a table saved from a spreadsheet: quotes, another
// separator, empty values, a comma inside a value. Each moves the later
// values out of their columns, so it is reported by its cause, once per row.
#include <algorithm>
#include <string>
#include <vector>

#include "checker.h"
#include "columns.h"
#include "digits.h"
#include "values.h"

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
                "one value and never returns the row",
            "other-separator");
  return true;
}

static bool printed_only(size_t column) {
  return column == kIsp || column == kRegion || column == kSystem;
}

// Values in quotes whole keep their columns, but the quotes go with them:
// to the store, or into the lookup's comparison; a name or region only
// prints them. Returns true when a quote reaches more than the print.
static bool in_quotes(Checker *c, int line, const std::vector<size_t> &columns) {
  std::vector<std::string> names;
  bool harmful = false;
  for (size_t column : columns) {
    names.push_back(column_name(column));
    harmful = harmful || !printed_only(column);
  }
  c->report(line, harmful,
            listed(names, "and") + (columns.size() > 1 ? " are" : " is") +
                " in double quotes: isp_pick reads no quotes and takes them as part of the value",
            "quoted-value");
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
                  "shifts every later column",
              "leading-quote");
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
                  "shifts; write \"NA\"",
              "empty-value");
    return true;
  }
  return false;
}

// A row with more fields than the table has columns holds a comma inside
// a value, and so does a row of more than ten fields whose ten columns
// hold what no person writes there until some fields are joined. Joining
// neighbouring fields back into one value, the readings of the row are the
// joins after which every column holds what a person writes there; they
// name the value that held the comma.
namespace {

bool made_of(const std::string &v, bool (*byte)(char)) {
  return std::all_of(v.begin(), v.end(), byte);
}

// The readings of one row, found column by column (a row has at most 125
// fields, so the tables stay small): which columns can take which fields.
class Readings {
 public:
  Readings(const std::string &text, const std::vector<Span> &fields, size_t columns);

  /// Fields [first, last) joined back into one value, as written.
  std::string value(size_t first, size_t last) const {
    return text_.substr(fields_[first].start, fields_[last - 1].end - fields_[first].start);
  }

  /// Whether some reading takes the whole row.
  bool any() const { return rest_[0][0]; }

  /// The fewest fields that the ten columns isp_pick reads take in some
  /// reading of them, or 0 when no reading makes them plausible.
  size_t fewest_fields() const;

  /// Whether fields [first, last), joined, are what a person writes in
  /// `column`.
  bool plausible(size_t column, size_t first, size_t last) const;

  /// Up to `most` readings, each as the first field of every column and
  /// then the field count.
  std::vector<std::vector<size_t>> list(size_t most) const;

  /// The columns that hold a join in some reading.
  std::vector<size_t> joined_columns() const;

 private:
  void collect(std::vector<size_t> *starts, size_t most,
               std::vector<std::vector<size_t>> *found) const;

  const std::string &text_;
  const std::vector<Span> &fields_;
  size_t columns_;
  // The fields before each one that an APN or a dial number cannot hold,
  // so that a join's test is a subtraction.
  std::vector<size_t> not_apn_, not_dial_;
  // [column][field]: the columns from `column` on can take the fields
  // from `field` on (rest_), the columns before it the fields before it
  // (reach_).
  std::vector<std::vector<char>> rest_, reach_;
};

Readings::Readings(const std::string &text, const std::vector<Span> &fields, size_t columns)
    : text_(text), fields_(fields), columns_(columns) {
  size_t n = fields.size();
  not_apn_.assign(n + 1, 0);
  not_dial_.assign(n + 1, 0);
  for (size_t i = 0; i < n; i++) {
    std::string v = value(i, i + 1);
    not_apn_[i + 1] = not_apn_[i] + !made_of(v, apn_byte);
    not_dial_[i + 1] = not_dial_[i] + !made_of(v, dial_byte);
  }
  rest_.assign(columns + 1, std::vector<char>(n + 1, 0));
  rest_[columns][n] = 1;
  for (size_t c = columns; c-- > 0;)
    for (size_t i = 0; i < n; i++)
      for (size_t j = i + 1; j <= n && !rest_[c][i]; j++)
        rest_[c][i] = rest_[c + 1][j] && plausible(c, i, j);
  reach_.assign(columns + 1, std::vector<char>(n + 1, 0));
  reach_[0][0] = 1;
  for (size_t c = 0; c < columns; c++)
    for (size_t i = 0; i < n; i++)
      for (size_t j = i + 1; j <= n && reach_[c][i]; j++)
        reach_[c + 1][j] = reach_[c + 1][j] || plausible(c, i, j);
}

// What a person writes in each column: an MCC of three digits, an MNC of
// two or three, a technology's name (none holds a comma, so each is one
// field), an APN of APN bytes, a dial number of dial bytes; MCC, MNC and
// dial number may be a placeholder. Names, region, login and the columns
// after them may hold anything.
bool Readings::plausible(size_t column, size_t first, size_t last) const {
  bool one = last - first == 1;
  switch (column) {
    case kMcc: return one && (intended_placeholder(value(first, last)) ||
                              all_digits(value(first, last), 3, 3));
    case kMnc: return one && (intended_placeholder(value(first, last)) ||
                              all_digits(value(first, last), 2, 3));
    case kSystem: return one && technology_code(value(first, last).c_str()) >= 0;
    case kApn: return not_apn_[last] == not_apn_[first];
    case kNumber:
      return not_dial_[last] == not_dial_[first] ||
             (one && intended_placeholder(value(first, last)));
  }
  return true;
}

// `starts` holds the first field of each column so far, then where the
// next column begins.
void Readings::collect(std::vector<size_t> *starts, size_t most,
                       std::vector<std::vector<size_t>> *found) const {
  size_t column = starts->size() - 1, first = starts->back();
  if (column == columns_) {
    found->push_back(*starts);
    return;
  }
  // The longest first, so that readings come in the order of their first join.
  for (size_t last = fields_.size(); last > first && found->size() < most; last--) {
    if (!rest_[column + 1][last] || !plausible(column, first, last))
      continue;
    starts->push_back(last);
    collect(starts, most, found);
    starts->pop_back();
  }
}

size_t Readings::fewest_fields() const {
  for (size_t i = kColumns; i <= fields_.size(); i++)
    if (reach_[kColumns][i])
      return i;
  return 0;
}

std::vector<std::vector<size_t>> Readings::list(size_t most) const {
  std::vector<std::vector<size_t>> found;
  std::vector<size_t> starts = {0};
  if (any())
    collect(&starts, most, &found);
  return found;
}

std::vector<size_t> Readings::joined_columns() const {
  std::vector<size_t> joined;
  size_t n = fields_.size();
  for (size_t c = 0; c < columns_; c++) {
    bool found = false;
    for (size_t i = 0; i < n && !found; i++)
      for (size_t j = i + 2; j <= n && reach_[c][i] && !found; j++)
        found = rest_[c + 1][j] && plausible(c, i, j);
    if (found)
      joined.push_back(c);
  }
  return joined;
}

// The joined values of one reading: `user name "NA,NA"`, `password "x,y"`.
std::vector<std::string> joins(const Readings &r, const std::vector<size_t> &starts) {
  std::vector<std::string> values;
  for (size_t c = 0; c + 1 < starts.size(); c++)
    if (starts[c + 1] - starts[c] > 1)
      values.push_back(named_value(c, r.value(starts[c], starts[c + 1])));
  return values;
}

// Where the comma is (`one`: a single comma): in the values of the one
// reading or of the few, or in some of the columns that many readings join.
std::string where(const Readings &r, bool one) {
  const size_t kFew = 3;
  std::vector<std::vector<size_t>> readings = r.list(kFew + 1);
  std::vector<std::string> names;
  if (readings.size() > kFew) {
    for (size_t c : r.joined_columns())
      names.push_back(column_name(c));
    return (one ? "in one of " : "in some of ") + listed(names, "and");
  }
  bool several = false;
  for (const std::vector<size_t> &starts : readings) {
    std::vector<std::string> values = joins(r, starts);
    several = several || values.size() > 1;
    names.push_back(listed(values, "and"));
  }
  std::string text = "in " + names[0];
  for (size_t i = 1; i < names.size(); i++)
    text += (several ? ", or in " : i + 1 < names.size() ? ", in " : " or in ") + names[i];
  return text;
}

}  // namespace

// The columns that the readings of a row fill, the ten columns taking at
// least `fewest` of its `n` fields: as many as the table has and the
// fields left after the ten can fill, so that a reading joins as few
// fields as it can. A row may leave later columns (notes) out.
static size_t filled_columns(size_t fewest, size_t n, size_t columns) {
  if (fewest == 0 || fewest == n)
    return kColumns;
  return std::min(columns, kColumns + n - fewest);
}

// What tells a row of more than ten fields holds a comma: more fields than
// the table's columns, or else the first of the ten columns whose field
// as it stands no person writes there.
static std::string why_a_comma(const Readings &r, size_t n, size_t columns) {
  std::string fields = "the row has " + std::to_string(n) + " fields, ";
  if (n > columns)
    return fields + "more than the table's " + std::to_string(columns) + " columns: ";
  size_t column = 0;
  while (column + 1 < kColumns && r.plausible(column, column, column + 1))
    column++;
  return fields + "and as they stand the " + column_name(column) + " is " +
         shown_in(column, r.value(column, column + 1)) + ": ";
}

// After a comma inside a value isp_pick reads every value in the wrong
// column, so the row's other findings would only show the shift. A row
// whose ten columns are plausible as they stand fills the header's notes:
// a comma in its password before a note cannot be told from a note, and a
// false error would be worse than none.
static bool extra_fields(Checker *c, int line, const std::string &text) {
  std::vector<Span> fields = field_spans(text);
  size_t n = fields.size(), columns = c->columns;
  if (n <= kColumns)
    return false;
  size_t fewest = Readings(text, fields, kColumns).fewest_fields();
  if (n <= columns && (fewest == 0 || fewest == kColumns))
    return false;
  size_t filled = filled_columns(fewest, n, columns);
  Readings r(text, fields, filled);
  // The commas a reading finds, or at least those past the table's columns.
  bool one = n - (r.any() ? filled : columns) == 1;
  std::string found = why_a_comma(r, n, columns);
  if (r.any())
    found += std::string(one ? "a comma " : "commas ") + where(r, one) +
             (one ? " moves" : " move") +
             " every later value out of its column, since isp_pick cuts values at every comma";
  else
    found += std::string(one ? "a value holds a comma" : "values hold commas") +
             ", and since isp_pick cuts values at every comma, every later value moves out of "
             "its column";
  c->report(line, true, found, "comma-in-value");
  return true;
}

bool shifted_columns(Checker *c, int line, const std::string &whole) {
  std::string text = line_text(whole);
  if (other_separator(c, line, text))
    return true;
  std::vector<std::string> values = cells(text);
  bool quoted = quoted_value(c, line, values);
  bool empty = empty_value(c, line, values);
  return quoted || empty || extra_fields(c, line, text);
}
