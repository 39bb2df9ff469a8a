// A table read once and looked up many times, exactly as isp_pick would
// look it up: for tools that run thousands of lookups over whole tables.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "identity.h"
#include "operator_table.h"
#include "pieces.h"

/// What a run of isp_pick gets from a table: the line that answered (0 for
/// none) and the profile record as the run leaves it.
struct Answer {
  int line = 0;
  isp_profile profile{};
};

struct Table {
  std::string path;
  std::vector<Piece> pieces;
  /// Every piece after the header, by the key it can answer, in table order.
  std::map<std::pair<std::string, std::string>, std::vector<size_t>> by_key;
};

/// Reads the table at `path` with isp_pick's own reader. False when it
/// cannot be opened or read.
bool load_table(const char *path, Table *table);

/// The run of a SIM with identity `m`, `n` (`from_imsi`: read from the
/// IMSI, else from the SID table or empty): isp_pick's own lookup order,
/// each key's rows walked with isp_pick's own row walk into one record.
Answer run_lookups(const Table &table, const char *m, const char *n, bool from_imsi);
