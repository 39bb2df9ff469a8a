#include "table.h"

#include <string.h>

#include "columns.h"

bool load_table(const char *path, Table *table, std::string *why) {
  table->path = path;
  std::string ignored;
  if (!read_pieces(path, &table->pieces, why ? why : &ignored))
    return false;
  for (size_t i = 1; i < table->pieces.size(); i++) {
    LookupKey key;
    if (row_key(table->pieces[i].text.c_str(), &key))
      table->by_key[{key.mcc, key.mnc}].push_back(i);
  }
  return true;
}

// isp_pick's row walk on a copy: it cuts the row in place.
static bool take_text(const std::string &text, const LookupKey &key, isp_profile *profile) {
  std::vector<char> row(text.c_str(), text.c_str() + strlen(text.c_str()) + 1);
  return take_row(row.data(), key, profile);
}

// Only the rows of the key reach past its MCC and MNC columns, so only they
// can leave anything in the record that the answering row does not write.
static int walk(const Table &table, const LookupKey &key, const CandidateRow *candidate,
                isp_profile *profile) {
  NetworkId id(key.mcc, key.mnc);
  if (candidate && candidate->key == id && take_text(candidate->text, key, profile))
    return kCandidateLine;
  auto rows = table.by_key.find(id);
  if (rows == table.by_key.end())
    return 0;
  for (size_t i : rows->second)
    if (take_text(table.pieces[i].text, key, profile))
      return table.pieces[i].line;
  return 0;
}

static Answer run(const Table &table, const char *m, const char *n, bool from_imsi,
                  const CandidateRow *candidate) {
  Answer a;
  a.count = lookup_order(m, n, from_imsi, a.keys);
  while (a.tried < a.count && a.line == 0)
    a.line = walk(table, a.keys[a.tried++], candidate, &a.profile);
  return a;
}

Answer run_lookups(const Table &table, const char *m, const char *n, bool from_imsi) {
  return run(table, m, n, from_imsi, nullptr);
}

Answer run_lookups(const Table &table, const Sim &sim) {
  return run(table, sim.mcc.c_str(), sim.mnc.c_str(), sim.from_imsi, nullptr);
}

Answer run_with_candidate(const Table &table, const Sim &sim, const CandidateRow &candidate) {
  return run(table, sim.mcc.c_str(), sim.mnc.c_str(), sim.from_imsi, &candidate);
}

std::vector<StoreItem> store_items(const isp_profile &p) {
  std::vector<StoreItem> items;
  for (RowColumn column : kStoreColumns) {
    const ColumnRule &rule = kColumnRules[column];
    items.push_back({rule.store_item, column == kSystem
                                          ? std::to_string(p.system)
                                          : quoted(profile_text(p, column), rule.width + 1)});
  }
  return items;
}
