// The values of a row whose columns stand where they belong: the
// identity, widths, placeholders, technology, white space and the index.
#include <string.h>

#include <string>
#include <vector>

#include "checker.h"
#include "columns.h"
#include "digits.h"
#include "table_text.h"
#include "values.h"

// A value blanked without being the placeholder itself.
static bool stray_placeholder(const Fields &f, size_t column) {
  const std::string &w = f.written[column];
  return f.taken[column].empty() && !w.empty() && !intended_placeholder(w);
}

// The placeholder isp_pick found inside `s`, a value it blanked.
static const char *placeholder_inside(const std::string &s) {
  return s.find(kPlaceholderNa) != std::string::npos ? kPlaceholderNa : "blank";
}

static void check_identity(Checker *c, int line, const Fields &f) {
  const std::string &m = f.taken[1], &n = f.taken[2];
  if (m.empty() && n.empty())
    return;
  if (!all_digits(m, 3, 3))
    c->report(line, true,
              named_value(kMcc, f.written[kMcc]) +
                  " is not three digits: the row is never returned",
              "not-digits");
  if (!all_digits(n, 2, 3)) {
    c->report(line, true,
              named_value(kMnc, f.written[kMnc]) +
                  " is not two or three digits: the row is never returned",
              "not-digits");
    return;
  }
  if (lookup_key({m, n}).second != n)
    c->report(line, true,
              named_value(kMnc, n) + " has three characters under MCC " + m +
                  ": isp_pick looks up only the MNC's first two (all three only under "
                  "MCC 405), so the row is never returned",
              "three-digit-mnc");
}

// "HSDPA, CDMA2000 and TD-SCDMA"
static std::string technology_list() {
  return listed({kTechnologyNames, kTechnologyNames + kTechnologies}, "and");
}

static void check_values(Checker *c, int line, const Fields &f) {
  for (size_t column = 0; column < kColumns; column++) {
    const ColumnRule &rule = kColumnRules[column];
    const std::string &v = f.taken[column];
    // An MCC or MNC too long is the identity's finding.
    if (rule.placeholder != Placeholder::kKey && rule.width && v.size() > rule.width)
      c->report(line, true,
                named_value(column, v) + " is " + byte_size(v) + ", more than the " +
                    std::to_string(rule.width) +
                    " bytes its field holds: the row is never returned",
                "too-long");
  }
  for (size_t column = 0; column < kColumns; column++) {
    const ColumnRule &rule = kColumnRules[column];
    bool sent = rule.placeholder == Placeholder::kSent;
    if ((!sent && rule.placeholder != Placeholder::kPrinted) || !stray_placeholder(f, column))
      continue;
    const std::string &w = f.written[column];
    c->report(line, sent,
              named_value(column, w) + " contains " + shown(placeholder_inside(w)) +
                  (sent ? ": isp_pick sends it as empty" : ": printed empty"),
              "placeholder-in-value");
  }
  if (technology_code(f.taken[kSystem].c_str()) < 0)
    c->report(line, false,
              named_value(kSystem, f.written[kSystem]) + " names none of " + technology_list() +
                  ": the store gets the code that an earlier row left (0 when none)",
              "unknown-technology");
}

// What a faulty byte is and does where it stands.
static std::string fault_effect(const ValueFault &v) {
  switch (v.fault) {
    case ByteFault::kNotApn:
      return ": an APN is ASCII letters, digits, hyphens and dots, as a DNS name is, so no "
             "network has an APN with another byte";
    case ByteFault::kControl:
      return ", a tab or control byte: it reaches the store and the modem as it stands";
    case ByteFault::kNotDial:
      return ": a dial number is digits, \"*\", \"#\" and \"+\", so a value with another byte "
             "is most likely another column's, moved there";
    default:
      return std::string(", a non-ASCII byte: ") +
             (v.error ? "the modem dials ASCII alone"
                      : "it reaches the store and the modem as it stands, and many modems "
                        "take ASCII alone");
  }
}

// A byte fault's code: one per fault, whichever column holds it.
static const char *fault_code(ByteFault fault) {
  switch (fault) {
    case ByteFault::kNotApn: return "not-apn-byte";
    case ByteFault::kControl: return "control-byte";
    case ByteFault::kNotDial: return "not-dial-byte";
    default: return "non-ascii-byte";
  }
}

// The bytes of the values isp_pick sends to the store, as it takes them.
static void check_bytes(Checker *c, int line, const Fields &f) {
  for (int column : {kApn, kNumber, kUsr, kPwd}) {
    const std::string &v = f.taken[column];
    ValueFault fault = value_fault(column, v);
    if (fault.fault != ByteFault::kNone)
      c->report(line, fault.error,
                named_value(column, v) + " holds " + shown(v.substr(fault.at, 1)) +
                    fault_effect(fault),
                fault_code(fault.fault));
  }
}

// The values isp_pick hands to the modem go as they stand, spaces too. A
// tab is a byte fault, and an APN and a dial number hold no space at all.
static void check_spaces(Checker *c, int line, const Fields &f) {
  std::string found;
  for (int column : {kUsr, kPwd}) {
    const std::string &v = f.taken[column];
    if (v.empty() || (v.front() != ' ' && v.back() != ' '))
      continue;
    found += (found.empty() ? "" : ", ") + named_value(column, v);
  }
  if (!found.empty())
    c->report(line, false,
              "a space at the start or end of " + found +
                  ": isp_pick sends each value as it stands",
              "space-at-edge");
}

// G_ISP_INDEX is how the store knows which profile it holds.
static void check_index(Checker *c, int line, const Fields &f) {
  const std::string &w = f.written[kIndex];
  if (!f.taken[kIndex].empty() || w.empty())
    return;
  c->report(line, true,
            named_value(kIndex, w) + " contains " + shown(placeholder_inside(w)) +
                ": isp_pick writes it empty, and the store loses which profile it holds",
            "placeholder-index");
}

// G_ISP_INDEX is all the store keeps to tell profiles apart, so one index
// stands for one profile: the items isp_pick writes besides it. Rows of one
// operator's networks may share an index and their profile. The index is
// compared as the store holds it: " 7" and "07" are "7".
static void check_shared_index(Checker *c, int line, const Fields &f) {
  std::string index = stored_index(f.written[kIndex]);
  if (index.empty())
    return;
  std::vector<std::string> profile;
  for (RowColumn column : kStoreColumns)
    if (column != kIndex)
      profile.push_back(column == kSystem
                            ? std::to_string(technology_code(f.taken[kSystem].c_str()))
                            : f.taken[column]);
  auto first = c->indexes.emplace(index, std::make_pair(line, profile)).first;
  if (first->second.second != profile)
    c->report(line, false,
              named_value(kIndex, f.taken[kIndex]) + " is line " +
                  std::to_string(first->second.first) +
                  "'s too, with another profile: G_ISP_INDEX no longer tells which profile "
                  "the store holds",
              "shared-index");
}

void check_columns(Checker *c, int line, const Fields &f) {
  if (f.taken.size() < kColumns) {
    c->report(line, true,
              "the row has " + std::to_string(f.taken.size()) +
                  " fields, fewer than the ten isp_pick needs: it is never returned",
              "too-few-fields");
    return;
  }
  check_identity(c, line, f);
  check_index(c, line, f);
  check_shared_index(c, line, f);
  check_values(c, line, f);
  check_bytes(c, line, f);
  check_spaces(c, line, f);
}
