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

// Only the rows of the key reach past its MCC and MNC columns, so only they
// can leave anything in the record that the answering row does not write.
static int walk(const Table &table, const LookupKey &key, isp_profile *profile) {
  auto rows = table.by_key.find({key.mcc, key.mnc});
  if (rows == table.by_key.end())
    return 0;
  for (size_t i : rows->second) {
    const Piece &p = table.pieces[i];
    std::vector<char> row(p.text.c_str(), p.text.c_str() + strlen(p.text.c_str()) + 1);
    if (take_row(row.data(), key, profile))
      return p.line;
  }
  return 0;
}

Answer run_lookups(const Table &table, const char *m, const char *n, bool from_imsi) {
  Answer a;
  a.count = lookup_order(m, n, from_imsi, a.keys);
  while (a.tried < a.count && a.line == 0)
    a.line = walk(table, a.keys[a.tried++], &a.profile);
  return a;
}

template <size_t N>
static StoreItem text_item(const char *name, const char (&field)[N]) {
  return {name, quoted(field, N)};
}

std::vector<StoreItem> store_items(const isp_profile &p) {
  const ColumnRule *c = kColumnRules;
  return {text_item(c[kIndex].store_item, p.index),
          {c[kSystem].store_item, std::to_string(p.system)},
          text_item(c[kApn].store_item, p.apn),
          text_item(c[kUsr].store_item, p.usr),
          text_item(c[kPwd].store_item, p.pwd),
          text_item(c[kNumber].store_item, p.number)};
}
