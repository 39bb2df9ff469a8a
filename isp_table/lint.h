// The lint of the public databases: what they get wrong that their XML
// checks cannot see, found before it reaches a table. An APN a router
// would send wrong is an error; a doubt is a warning.
#pragma once

#include <stdio.h>

#include <string>
#include <vector>

#include "findings.h"
#include "json_report.h"
#include "network_id.h"
#include "sources.h"
#include "table_text.h"

/// One mistake of a database, where its entry stands.
struct LintFinding {
  size_t file = 0;                  // position of its database among the inputs
  Finding finding;                  // its line (0 for the file as a whole), severity, text and code
  std::vector<NetworkId> networks;  // the networks it concerns
  std::string apn;                  // the APN it concerns, trimmed, if one
};

/// Whether `typed` is `apn` (both folded) mistyped: two neighbouring letters
/// swapped, or one letter inserted, dropped or changed inside a word
/// (a run of letters and digits) of four or more characters, neither its
/// first nor its last. A digit, a dot or a blank changed, or a letter at a
/// word's end, makes another APN as often ("web1" and "web2", "net" and
/// "unet", "orangemms" and "orange.mms").
bool mistyped(const std::string &typed, const std::string &apn);

/// Every finding on `sources`, as load_public_data and fill_android_regions
/// leave them: by file, then line, findings of one line in the order made.
std::vector<LintFinding> lint_sources(const std::vector<Source> &sources);

/// Of the lint of `sources`, the findings on a network and APN that became
/// a row of `rows`: a network's lookup key is the row's, and the APN,
/// case aside, the row's APN.
std::vector<LintFinding> lint_table(const std::vector<Source> &sources,
                                    const std::vector<TableRow> &rows);

/// Whether `found` is on the row of `key` whose APN is `apn`: one of its
/// networks is looked up by `key`, and its APN, case aside, is `apn`.
bool lint_reaches(const LintFinding &found, const NetworkId &key, const std::string &apn);

/// `found` as a report's findings (finding_json), each with its
/// database's path, in order.
Json lint_findings_json(const std::vector<Source> &sources, const std::vector<LintFinding> &found);

/// `found` as lines "FILE:LINE: error: ..." ("FILE: ..." on line 0).
std::string lint_line(const std::vector<Source> &sources, const LintFinding &found);

/// The lint findings on the table's rows, for generating's summary: a
/// count line and each finding indented under it; nothing when none.
void write_lint_summary(const std::vector<Source> &sources, const std::vector<LintFinding> &found,
                        FILE *out);

/// Every APN entry of `s`, internet and service APNs, by line.
std::vector<const Listing *> lint_entries(const Source &s);

/// A finding on entry `l`: its file, line, networks and APN.
LintFinding lint_finding(const Listing &l, bool error, const std::string &text, const char *code);

// The kinds, a file each; every one adds its findings to `found`.

/// APNs with blanks around them, misspelt, and listed twice by one provider;
/// networks a provider lists twice.
void lint_apns(const std::vector<Source> &sources, std::vector<LintFinding> *found);

/// Two primary providers of one network, a network also written with three
/// MNC digits, three-digit ids that carry another country's APN.
void lint_networks(const std::vector<Source> &sources, std::vector<LintFinding> *found);
