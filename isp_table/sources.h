// The databases the operator table is made from: the provider database of
// desktop Linux (serviceproviders.xml) and Android's APN database
// (apns-conf.xml), read into the internet APNs that each network's
// providers or carriers list; and Android's carrier identity database
// (carrier_list.textpb), read into its carriers and their networks.
#pragma once

#include <stdio.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "carrier_list.h"
#include "network_id.h"

/// One internet APN as one provider or carrier lists it: a candidate row.
struct Listing {
  size_t file = 0;    // position of its file among the inputs
  size_t line = 0;    // the line of its entry in its file
  size_t lister = 0;  // the provider or carrier, numbered across the inputs
  // Position among its provider's internet APNs, in the provider
  // database's order (its maintainers' preference); 0 in Android's, whose
  // entries keep no order.
  size_t position = 0;
  std::string usage;  // the uses it is listed for: usage types, or Android's type list
  std::string name, region, technology, apn, number, user, password;
  std::string written_apn;  // the APN as its entry writes it, blanks and all
  std::vector<NetworkId> networks;  // the networks it is listed for
  bool gid1 = false;  // its provider tells its SIMs apart by their GID1 file
  int primary = 0;    // the provider's primary mark: 1 "true", -1 "false", 0 none
  bool android = false;  // from Android's database, not the provider database
  bool mvno = false;     // Android's entry for SIMs told apart by mvno_type
  bool proxy = false;    // Android's entry sends the web through an HTTP proxy

  /// Marked as a reseller on its host's network: GID1, primary="false" or mvno_type.
  bool reseller() const { return gid1 || mvno || primary < 0; }
};

/// What one input file holds.
struct Source {
  std::string path;
  bool android = false;
  // Android's format, generated from the provider database (Debian's
  // apns-conf.xml): read as Android's kind, and only when no other
  // database is given, so that it never passes for a second one.
  bool generated = false;
  bool set_aside = false;  // generated, beside another database: no entry
                           // of it counts, its carriers in `listers` aside
  // Android's carrier identity database: carriers and their networks, no
  // APN, so no listing; no figure of the table counts its networks.
  bool carrier_list = false;
  CarrierList carriers;
  size_t listers = 0;                              // providers or carriers
  // lister -> the APNs it lists for other uses than the internet (MMS,
  // WAP), folded: a second spelling of its internet APN is told by them.
  std::map<size_t, std::set<std::string>> service_apns;
  std::vector<Listing> listings;                   // file order
  // The APNs for other uses than the internet (MMS, WAP), each as a
  // listing of its own, in file order: no row, but a database's mistakes
  // in them are its mistakes all the same.
  std::vector<Listing> service_listings;
  std::map<NetworkId, std::string> networks;  // every network its entries name: the first name
  std::map<std::string, size_t> left_out;          // entries that give no row, by reason
  // Provider database only: MCC -> country code -> its networks there.
  std::map<std::string, std::map<std::string, size_t>> mcc_countries;
  size_t sids_outside_table = 0;
  size_t bad_network_ids = 0;
};

/// Loads `path` as the `file`-th input; its kind is told by its first
/// word for a carrier list, else by its root element, and the provider
/// database in Android's format by a comment before it (`generated`). `next_lister` numbers providers and carriers across the inputs.
/// Returns false with `error` set when the file cannot be read or parsed
/// ("line N: ..." for a carrier list) or is of none of the kinds.
bool load_source(const char *path, size_t file, size_t *next_lister, Source *source,
                 std::string *error);

/// load_source from the file's `bytes`, already read from `path`.
bool parse_source(const char *path, const std::string &bytes, size_t file, size_t *next_lister,
                  Source *source, std::string *error);

/// Loads the public databases at `paths`, in order, into `sources`. On a
/// file that cannot be used, reports "isp_table: cannot read PATH: WHY" on
/// standard error ("isp_table: -: ..." for "-", standard input, which is
/// never a database) and returns false. With `bytes` holding one entry per
/// path, those are parsed as each file's bytes, already read; otherwise
/// `bytes`, when given, gets the bytes read and parsed from each file, for
/// a manifest to hash what the run used rather than the file again. A file
/// generated from the provider database is set aside as set_aside_generated
/// does, warned on `warnings` (not at all when it is null).
bool load_public_data(const std::vector<std::string> &paths, std::vector<Source> *sources,
                      std::vector<std::string> *bytes = nullptr, FILE *warnings = stderr);

/// Warns on `warnings` of each file among `sources` that was generated from
/// the provider database, and sets each one aside (no listing, network or
/// figure of it left, but its carriers) when another database of APNs (not
/// a carrier list) is among `sources`: it would count the same providers
/// twice, or pass its MMS APNs and extra listers off as a second database's.
/// A null `warnings` warns nowhere (lint reports it as a finding of its own).
void set_aside_generated(std::vector<Source> *sources, FILE *warnings);

/// Gives every Android listing the country code that the provider databases
/// among `sources` give for its MCC, else none.
void fill_android_regions(std::vector<Source> *sources);
