// The table's text: the header, each row's text and whether isp_pick reads
// it back unchanged, the index every row is written under, and the writer
// of the indexed rows.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "network_id.h"
#include "sources.h"

/// The header line of the tables isp_table writes, ended by CR LF.
extern const char kTableHeader[];

/// One row of the table: its lookup key, the listing ranked first for the
/// key, and the row's text after the index (MCC to Password, CR LF). The
/// listing is one of the sources', or, for a row that takes its provider's
/// other spelling of the APN, the merge's own: valid while the merge lives
/// (merge_table's rows keep only their key and text, the listing null).
struct TableRow {
  NetworkId key;
  const Listing *listing;
  std::string text;
};

/// Why `unwritable` refuses an APN that is no DNS name ("Tele2 GPRS",
/// "#777"): the summary names each such APN.
extern const char *const kNotDnsName;

/// The text of listing `l` as the row of lookup key `key`, after the
/// index: MCC to Password, an empty value as the placeholder, the name and
/// region cut to fit their fields, ended by CR LF.
std::string row_text(const Listing &l, const NetworkId &key);

/// Whether `row_text` cuts the name or the region of `l` to fit its field.
bool name_or_region_cut(const Listing &l);

/// Why listing `l` cannot be the row of `key` as isp_pick reads it back
/// (a comma or line end in a value, a value isp_pick blanks, a byte the
/// check calls an error, a value too long for its field, a line longer
/// than one read, a value that does not come back unchanged), or null.
const char *unwritable(const Listing &l, const NetworkId &key);

/// The index of the public row of lookup key `key`, the same in every
/// release: "2", the MCC and the MNC for a two-digit MNC ("226201"), "3"
/// for a three-digit one ("3405854"). When `used` (a kept table's indexes,
/// as `stored_index` gives them) holds it, the first free of the leading
/// digits 4, 6, 8 (two-digit) or 5, 7, 9 (three-digit) instead. "" when
/// none is free or it would not fit isp_pick's index field.
std::string stable_index(const NetworkId &key, const std::set<std::string> &used);

/// The index of a table's row (`row`: the row, or its index field alone)
/// as the store holds it and every verb compares it: the first field as
/// isp_pick cuts it, placeholders blanked; spaces and tabs around it and
/// the leading zeros of digits left out, as the store reads a number, so
/// that " 226201", "226201 " and "0226201" are all "226201".
std::string stored_index(const std::string &row);

/// The lines of `rows`, each with its key's stable index and ended by CR
/// LF, into `text`. False when a key has no index left; `key` names it.
bool indexed_rows(const std::vector<TableRow> &rows, const std::set<std::string> &used,
                  std::string *text, NetworkId *key);
