// The SIMs the router can meet, in groups that isp_pick looks up by the
// same keys: what diff compares tables on, and what extend asks a table
// about a public row.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "sources.h"
#include "table.h"

/// Whether a table in question has rows of the key `mcc`, `mnc`.
using HasKey = std::function<bool(const std::string &mcc, const std::string &mnc)>;

/// The IMSI groups under MCC `m` whose MNC begins with the two digits
/// `xy`: one, "m-xy"; or, under an MCC looked up with all three MNC digits
/// first, one for the rest of the ten ("m-xy", looked up as its first
/// digit without a key; none when all have one) and then one for each
/// three-digit key that `has_key`, in digit order.
std::vector<Sim> imsi_sims(const std::string &m, const std::string &xy, const HasKey &has_key);

/// The CDMA cards of the SID table, a group per range in the table's
/// order ("SID 14554-14574", "SID 2222"): all of them, or only those the
/// table gives MCC `*mcc`.
std::vector<Sim> sid_sims(const std::string *mcc);

/// The SIMs whose lookups can reach `key`: the IMSIs of its first five
/// digits, grouped as imsi_sims groups them, and the CDMA cards the SID
/// table gives its MCC.
std::vector<Sim> sims_reaching(const NetworkId &key, const HasKey &has_key);
