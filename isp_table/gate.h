// isp_table diff OLD NEW --gate ALLOWED: a release gate on diff's changes.
// A router that loses its profile, or gets another APN, stops working until
// someone acts; every other change a release makes passes. ALLOWED lists
// the changes of those two kinds that a release may make, each with a
// date and a reason.
#pragma once

#include <stdio.h>

#include <string>
#include <vector>

#include "diff.h"
#include "findings.h"
#include "json_report.h"

/// One line of ALLOWED: a change the gate lets through, written as diff
/// names it, "262-01 "internet.t-mobile" -> "internet.telekom" DATE REASON".
struct Allowance {
  int line = 0;
  std::string group;          // "262-01", "405-854", "SID 14554-14574", "SID other"
  std::string before, after;  // the APN as diff quotes it ("\"web\""), "-" for no profile
  std::string date;           // YYYY-MM-DD, the day it was allowed, for the record
  std::string reason;         // the rest of the line, never empty
};

/// Reads the text of ALLOWED: an allowance per line (LF or CR LF ended),
/// blank lines and lines whose first non-blank character is "#" left out.
/// Each line that is malformed, allows what needs no allowance (a gain, an
/// APN kept) or repeats an earlier line is an error in `*found` at its
/// line, and is left out of the result.
std::vector<Allowance> read_allowances(const std::string &text, Findings *found);

/// A change the gate counts: a group that loses its profile or whose APN
/// changes, and the allowance that lets it through (nullptr: none).
struct GatedChange {
  const GroupChange *change;
  std::string before, after;  // its APNs as diff quotes them, "-" for no profile
  const Allowance *allowance;
};

/// What the gate makes of a comparison, holding pointers into the
/// comparison and the allowances it was given.
struct Verdict {
  /// The counted changes, in diff's order.
  std::vector<GatedChange> counted;
  /// An error per counted change no allowance matches exactly (group, APN
  /// before and after), on ALLOWED as a whole (line 0), in diff's order.
  Findings refused;
  /// A warning per allowance that matches no counted change, at its line.
  Findings stale;
  /// How many allowances the gate was given.
  size_t allowances = 0;
};

/// Holds each change of `c` the gate counts against `allowances`.
Verdict judge(const Comparison &c, const std::vector<Allowance> &allowances);

/// Writes the verdict on ALLOWED at `path`: the refused changes' errors,
/// the stale allowances' warnings, then the count
/// "gate: N changes counted: N allowed, N not allowed; N of N allowances stale".
void write_verdict(const std::string &path, const Verdict &v, FILE *out);

/// The "diff" report's "gate" of `v` on ALLOWED at `path`.
Json verdict_json(const std::string &path, const Verdict &v);
