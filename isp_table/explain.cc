#include "explain.h"

#include <string.h>

#include "identity.h"
#include "sid_table.h"

// A record's text field, up to its NUL.
template <size_t size>
static std::string text(const char (&field)[size]) {
  return std::string(field, strnlen(field, size));
}

// The run for a machine: the keys the text lists and what it writes.
static void add_run(const Answer &a, Json *report) {
  Json searched = Json::array();
  for (int i = 0; i < a.tried; i++)
    searched.push_back({{"mcc", text(a.keys[i].mcc)},
                        {"mnc", text(a.keys[i].mnc)},
                        {"line", i + 1 == a.tried && a.line ? Json(a.line) : Json()}});
  (*report)["searched"] = searched;
  const isp_profile &p = a.profile;
  (*report)["answer"] = a.line == 0 ? Json()
                                    : Json{{"line", a.line},
                                           {"index", text(p.index)},
                                           {"system", p.system},
                                           {"apn", text(p.apn)},
                                           {"user", text(p.usr)},
                                           {"password", text(p.pwd)},
                                           {"number", text(p.number)}};
}

// The model's one lookup, shown step by step as isp_pick's "searching"
// lines would show it, then what it writes to the store.
static bool explain_lookups(const Table &table, const char *m, const char *n, bool from_imsi,
                            FILE *out, Json *report) {
  Answer a = run_lookups(table, m, n, from_imsi);
  if (report)
    add_run(a, report);
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

bool explain_imsi(const Table &table, const char *digits, FILE *out, Json *report) {
  char m[kCodeSize] = "", n[kCodeSize] = "";
  take_identity(digits, m, n);
  fprintf(out, "IMSI %s: MCC %s, MNC %s\n", digits, m, n);
  return explain_lookups(table, m, n, true, out, report);
}

bool explain_sid(const Table &table, int sid, FILE *out, Json *report) {
  fprintf(out, "SID %d: ", sid);
  if (sid < 1) {
    if (report)
      add_run(Answer(), report);
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
  return explain_lookups(table, range ? range->mcc : "", range ? range->mnc : "", false, out,
                         report);
}
