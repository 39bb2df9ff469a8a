#include "explain.h"

#include "identity.h"
#include "sid_table.h"

// The model's one lookup, shown step by step as isp_pick's "searching"
// lines would show it, then what it writes to the store.
static bool explain_lookups(const Table &table, const char *m, const char *n, bool from_imsi,
                            FILE *out) {
  Answer a = run_lookups(table, m, n, from_imsi);
  if (a.count > 1)
    fputs("MCC 405: looked up with all three MNC characters first\n", out);
  for (int i = 0; i < a.tried; i++) {
    fprintf(out, "lookup %d: [%s,%s]: ", i + 1, a.keys[i].mcc, a.keys[i].mnc);
    if (i + 1 < a.tried || a.line == 0)
      fputs("no line answers\n", out);
    else
      fprintf(out, "line %d answers\n", a.line);
  }
  if (a.line == 0) {
    fputs("no profile: isp_pick removes the memo and ends with status -1 (255)\n", out);
    return false;
  }
  fprintf(out,
          "isp_pick writes the profile of line %d (G_ISP_INDEX always, each other item when the "
          "store holds another value) and ends with status 1:\n",
          a.line);
  for (const StoreItem &item : store_items(a.profile))
    fprintf(out, "  %s %s\n", item.name, item.value.c_str());
  return true;
}

bool explain_imsi(const Table &table, const char *digits, FILE *out) {
  char m[kCodeSize] = "", n[kCodeSize] = "";
  take_identity(digits, m, n);
  fprintf(out, "IMSI %s: MCC %s, MNC %s\n", digits, m, n);
  return explain_lookups(table, m, n, true, out);
}

bool explain_sid(const Table &table, int sid, FILE *out) {
  fprintf(out, "SID %d: ", sid);
  if (sid < 1) {
    fputs("no SID of 1 or more: isp_pick ends the run without a lookup (status -1 (255))\n", out);
    return false;
  }
  const SidRange *range = sid_range(sid);
  if (range)
    fprintf(out, "the SID table gives MCC %s, MNC %s, looked up exactly as given\n", range->mcc,
            range->mnc);
  else
    fputs(
        "not in the SID table: looked up with the empty identity, which only a placeholder "
        "row (MCC and MNC both placeholders) answers\n",
        out);
  return explain_lookups(table, range ? range->mcc : "", range ? range->mnc : "", false, out);
}
