// isp_table diff OLD NEW: for every SIM the router can meet, what the store
// gets from table NEW that it did not get from table OLD.
#pragma once

#include <stdio.h>

#include <string>
#include <vector>

#include "json_report.h"
#include "table.h"

/// The groups for a comparison of tables `a` and `b`, sorted by identity:
/// IMSI groups by their digits under every three-digit MCC either table
/// has a row key for, then the SID table's ranges in its order, then a SID
/// outside it.
std::vector<Sim> sim_groups(const Table &a, const Table &b);

/// A group of sim_groups and which SIMs it holds, for a machine to read.
struct Group {
  Sim sim;
  /// An IMSI group: its IMSIs' three digits after the MCC run from
  /// `mnc_from` to `mnc_to` ("010" to "019" for 262-01, "854" alone for
  /// 405-854), but for the three-digit groups of their own in `except`.
  std::string mnc_from, mnc_to;
  std::vector<std::string> except;
  /// A range of the SID table: its first and last SID. Both 0, as for an
  /// IMSI group, for a SID outside the table ("SID other").
  int sid_from = 0, sid_to = 0;
};

/// sim_groups(a, b), each with the SIMs it holds.
std::vector<Group> compared_groups(const Table &a, const Table &b);

enum class Change { kNone, kChanged, kGains, kLoses };

/// How the profile a SIM gets changes from `was` to `now`, and in `*text`
/// what follows its group's name and ": " on its line. Only what reaches
/// the store counts: G_ISP_INDEX, G_SYSTEM, G_APN, G_USERNAME, G_PASSWORD
/// and G_NUMBER.
Change profile_change(const Answer &was, const Answer &now, std::string *text);

/// One group whose profile changes: its line of diff is
/// "NAME: TEXT". `was` and `now` are its runs on the two tables.
struct GroupChange {
  Group group;
  Change change;
  Answer was, now;
  std::string text;
};

/// What a comparison of two tables found: the groups compared, and those
/// whose profile changes, in the order diff prints them.
struct Comparison {
  size_t groups = 0;
  std::vector<GroupChange> changes;
  size_t changed = 0, gaining = 0, losing = 0;
};

/// Compares the profile every group of SIMs gets from table `was` and from
/// table `now`.
Comparison compare_tables(const Table &was, const Table &now);

/// Writes diff's text of `c`: a line per change, then the count.
void write_comparison(const Comparison &c, FILE *out);

/// The "diff" report's keys of `c` on tables `old_path` and `new_path`,
/// added to `doc`: old, new, groups, changes and counts, as isp_table(1)
/// lays them out.
void add_comparison_json(const Comparison &c, const std::string &old_path,
                         const std::string &new_path, Json *doc);

/// Writes one line per group of SIMs whose profile changes from table
/// `was` to table `now`, then a count. Returns whether some group's does.
bool diff_tables(const Table &was, const Table &now, FILE *out);
