// isp_table diff OLD NEW: for every SIM the router can meet, what the store
// gets from table NEW that it did not get from table OLD.
#pragma once

#include <stdio.h>

#include <string>
#include <vector>

#include "table.h"

/// The groups for a comparison of tables `a` and `b`, sorted by identity:
/// IMSI groups by their digits under every three-digit MCC either table
/// has a row key for, then the SID table's ranges in its order, then a SID
/// outside it.
std::vector<Sim> sim_groups(const Table &a, const Table &b);

enum class Change { kNone, kChanged, kGains, kLoses };

/// How the profile a SIM gets changes from `was` to `now`, and in `*text`
/// what follows its group's name and ": " on its line. Only what reaches
/// the store counts: G_ISP_INDEX, G_SYSTEM, G_APN, G_USERNAME, G_PASSWORD
/// and G_NUMBER.
Change profile_change(const Answer &was, const Answer &now, std::string *text);

/// Writes one line per group of SIMs whose profile changes from table
/// `was` to table `now`, then a count. Returns whether some group's does.
bool diff_tables(const Table &was, const Table &now, FILE *out);
