// isp_table explain FILE... --key MCC-MNC: why the generated table holds
// the row it holds for one lookup key.
#pragma once

#include <stdio.h>

#include <string>
#include <vector>

#include "json_report.h"
#include "lint.h"
#include "merge.h"
#include "sources.h"

/// Reads "262-01", "262,01" or "26201"-style text (MCC, then an MNC of
/// two or three digits) into `id`; false when it is none.
bool read_network_id(const std::string &text, NetworkId *id);

/// A network of a key whose operator the carrier identity database names.
struct CarrierNaming {
  NetworkId network;
  const NetworkOperator *op;
};

/// Why a key has its row, as one merge ranks it: the one account that
/// explain --key prints and that the reports hold, for explain --key and
/// for each row generating writes. Valid while the merge lives.
struct KeyExplanation {
  NetworkId network;                       // as asked
  NetworkId key;                           // the key it is looked up by
  std::vector<CarrierNaming> carriers;     // by network
  std::vector<WeighedOperator> operators;  // in the ranking's order, the first ranked first
  std::vector<LeftOut> left_out;           // by file and line
  Choice choice;                           // its row null: the key has no row
  std::string index;                       // the row's index; empty when it has none
};

/// The account of the key that network `id` is looked up by, in `merge`.
KeyExplanation explain_key(const Merge &merge, const NetworkId &id);

/// Writes `e` as explain --key prints it: every candidate APN by operator,
/// who lists it and where (FILE:LINE, files named by `sources`, the merge's
/// own), each sign's count, the operator the carrier identity database
/// names, the listings left out and why, the sign that decided, the row.
void write_explanation(const std::vector<Source> &sources, const KeyExplanation &e, FILE *out);

/// `e` as a report's object: "key" ("network" too when it is another),
/// the row's values ("index", "system", "apn", "user", "password",
/// "number"; null without a row), "operator" and "decided_by" (the code
/// of outcome_code; null without a row), "chosen_over" (an undecided
/// key's runner-up, else null), "carrier_list", "candidates" (by operator,
/// each APN with its entries, the row's marked "chosen", its "signs" by
/// code), "left_out" (each "why" a left_out_code), and
/// "findings": those of `mistakes`, the lint of `sources`, on the row's
/// network and APN (none without a row).
/// share/isp_table/isp_table.schema.json's explain_key.
Json explanation_json(const std::vector<Source> &sources, const KeyExplanation &e,
                      const std::vector<LintFinding> &mistakes);

/// Merges `sources` and writes the account of network `id`'s key to
/// `out`. Returns whether the key has a row.
bool explain_key(const std::vector<Source> &sources, const NetworkId &id, FILE *out);
