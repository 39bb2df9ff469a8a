// Reads the public mobile broadband provider database (serviceproviders.xml)
// into the networks and profiles the operator table is made of.
#pragma once

#include <string>
#include <vector>

/// One connection profile: a future table row without its index and key.
struct Profile {
  std::string name, country, technology, apn, number, user, password;
  std::string left_out;  // why it cannot be a row; empty when it can
};

/// One network a profile is meant for, under the key isp_pick looks it up by.
struct Network {
  std::string mcc, mnc;        // the lookup key
  std::string label;           // "262-01 Congstar", "SID 2222 Reliance"
  size_t profile;              // index into ProviderDb::profiles
  std::vector<std::string> apns;  // every internet APN its provider lists
};

struct ProviderDb {
  std::vector<Profile> profiles;
  std::vector<Network> networks;  // database order
  size_t providers = 0;
  size_t sids_outside_table = 0;
  size_t bad_network_ids = 0;
};

/// Loads `path`. Returns false with `error` set when the file cannot be read
/// or is not a provider database.
bool load_provider_db(const char *path, ProviderDb *db, std::string *error);
