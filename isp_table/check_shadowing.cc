// What answers: a row that an earlier line answers for is shadowed, asked
// of the model's own lookup, and a placeholder row is no fallback.
#include <string>

#include "checker.h"

// The line of an earlier row that answers this row's MCC and MNC, or 0:
// the key looked up once, as it stands.
static int shadowed_by(const Checker &c, const Piece &p) {
  LookupKey key;
  if (!row_key(p.text.c_str(), &key))
    return 0;
  Answer a = run_lookups(*c.table, key.mcc, key.mnc, false);
  return a.line < p.line ? a.line : 0;
}

void check_answer(Checker *c, const Piece &p, const Fields &f) {
  if (f.taken.size() < kColumns)
    return;
  if (int earlier = shadowed_by(*c, p))
    c->report(p.line, true,
              "shadowed by line " + std::to_string(earlier) +
                  ", which has the same MCC and MNC: the row is never returned",
              "shadowed");
  if (f.taken[kMcc].empty() && f.taken[kMnc].empty())
    c->placeholder_rows.push_back(p.line);
}

void check_placeholder_rows(Checker *c) {
  for (int line : c->placeholder_rows)
    if (line != c->last_row)
      c->report(line, false,
                "a placeholder row (MCC and MNC both placeholders) before the last "
                "row: it is no fallback, it serves only SIDs outside the SID table",
                "early-placeholder-row");
}
