#include "table_text.h"

#include <string.h>

#include "digits.h"
#include "operator_table.h"
#include "pieces.h"
#include "reasons.h"
#include "utf8.h"
#include "values.h"

const char kTableHeader[] = "Index,MCC,MNC,ISP,Region,System,APN,Number,User,Password\r\n";

static std::string placeholder(const std::string &value) {
  return value.empty() ? kPlaceholderNa : value;
}

// A value the row holds in one field: no comma or line end in it.
static bool one_field(const std::string &value) {
  return value.find_first_of(",\r\n") == std::string::npos;
}

// isp_pick's own rule: a value holding "NA" or "blank" is taken as empty.
static bool blanked(const std::string &value) {
  std::string copy = value;
  blank_placeholder(&copy[0]);
  return !value.empty() && copy.c_str()[0] == '\0';
}

// A blank inside ("Tele2 GPRS") or a dial string ("#777"): no gateway
// answers to it.
const char *const kNotDnsName = kLeftOut[kNotDnsNameOut].words;

// The check's own rule for the bytes sent to the store, so that a row it
// calls an error is never written: the reason it names, or null.
static const char *faulty_byte(const Listing &l) {
  const std::pair<const std::string *, RowColumn> sent[] = {
      {&l.apn, kApn}, {&l.number, kNumber}, {&l.user, kUsr}, {&l.password, kPwd}};
  for (const auto &v : sent) {
    ValueFault fault = value_fault(v.second, *v.first);
    if (!fault.error)
      continue;
    if (fault.fault == ByteFault::kNotApn)
      return kNotDnsName;
    return fault.fault == ByteFault::kControl
               ? kLeftOut[kControlOut].words
               : kLeftOut[kDialByteOut].words;
  }
  return nullptr;
}

// Why listing `l` cannot be a row that isp_pick reads back unchanged.
static const char *unrepresentable(const Listing &l) {
  const std::pair<const std::string *, RowColumn> values[] = {
      {&l.name, kIsp}, {&l.region, kRegion}, {&l.apn, kApn}, {&l.user, kUsr}, {&l.password, kPwd}};
  for (const auto &v : values)
    if (!one_field(*v.first))
      return kLeftOut[kCommaOut].words;
  // isp_pick would blank these, so the row would carry the wrong login.
  if (blanked(l.apn) || blanked(l.user) || blanked(l.password))
    return kLeftOut[kBlankedOut].words;
  if (const char *why = faulty_byte(l))
    return why;
  // A name and a region are cut to fit (fitted): only what the store
  // gets must come whole.
  for (const auto &v : values)
    if (v.second != kIsp && v.second != kRegion && v.first->size() > kColumnRules[v.second].width)
      return kLeftOut[kTooLongOut].words;
  return nullptr;
}

// A name or region only shows which profile the store holds: longer than
// its field, it would keep isp_pick from ever returning the row, so it is
// cut to fit, the network kept.
static std::string fitted(const std::string &value, RowColumn column) {
  return cut_to_width(value, kColumnRules[column].width);
}

bool name_or_region_cut(const Listing &l) {
  return fitted(l.name, kIsp) != l.name || fitted(l.region, kRegion) != l.region;
}

std::string row_text(const Listing &l, const NetworkId &key) {
  return key.first + "," + key.second + "," + placeholder(fitted(l.name, kIsp)) + "," +
         placeholder(fitted(l.region, kRegion)) + "," + l.technology + "," + placeholder(l.apn) +
         "," + l.number + "," + placeholder(l.user) + "," + placeholder(l.password) + "\r\n";
}

// The row as isp_pick reads it back for its key: every value it sends to
// the store must come back unchanged.
static bool read_back(const Listing &l, const NetworkId &key) {
  std::string line = std::string(kColumnRules[kIndex].width, '9') + "," + row_text(l, key);
  char row[kRowSize];
  if (line.size() >= sizeof row)
    return false;
  memcpy(row, line.c_str(), line.size() + 1);
  isp_profile p{};
  if (!take_row(row, first_lookup(key), &p))
    return false;
  return l.apn == p.apn && l.user == p.usr && l.password == p.pwd && l.number == p.number &&
         l.technology == kTechnologyNames[p.system];
}

const char *unwritable(const Listing &l, const NetworkId &key) {
  if (const char *why = unrepresentable(l))
    return why;
  // The index at its widest, and its comma.
  if (kColumnRules[kIndex].width + 1 + row_text(l, key).size() > kPieceMax)
    return kLeftOut[kLineTooLongOut].words;
  if (!read_back(l, key))
    return kLeftOut[kNotReadBackOut].words;
  return nullptr;
}

// Derived from the key alone, a row's index names the same profile in
// every release, whatever networks a new database adds before it; the
// leading digit keeps two- and three-digit MNCs apart (2 and 3 differ in
// length anyway) and leaves a small index, as kept tables use, free.
std::string stable_index(const NetworkId &key, const std::set<std::string> &used) {
  const char *leading = key.second.size() == 3 ? "3579" : "2468";
  for (const char *digit = leading; *digit; digit++) {
    std::string index = *digit + key.first + key.second;
    if (index.size() > kColumnRules[kIndex].width)
      return "";
    if (!used.count(index))
      return index;
  }
  return "";
}

std::string stored_index(const std::string &row) {
  std::vector<char> copy(row.c_str(), row.c_str() + strlen(row.c_str()) + 1);
  char *cursor = copy.data();
  char *field = next_field(&cursor);
  if (!field)
    return "";
  blank_placeholder(field);
  std::string index = field;
  size_t start = index.find_first_not_of(" \t"), end = index.find_last_not_of(" \t");
  index = start == std::string::npos ? "" : index.substr(start, end - start + 1);
  if (!all_digits(index))
    return index;
  size_t first = index.find_first_not_of('0');
  return first == std::string::npos ? "0" : index.substr(first);
}

bool indexed_rows(const std::vector<TableRow> &rows, const std::set<std::string> &used,
                  std::string *text, NetworkId *key) {
  for (const TableRow &row : rows) {
    std::string index = stable_index(row.key, used);
    if (index.empty()) {
      *key = row.key;
      return false;
    }
    *text += index + "," + row.text;
  }
  return true;
}
