#include "explain.h"

#include <memory>
#include <vector>

#include "identity.h"
#include "input.h"
#include "operator_table.h"
#include "pieces.h"
#include "sid_table.h"

// One explained run: the table, where its pieces stand, and the profile
// record as the router's run fills it.
struct Run {
  const char *path;
  std::vector<Piece> pieces;
  std::unique_ptr<TableReader> reader{new TableReader};
  isp_profile profile{};
};

// One lookup by isp_pick's own code, shown as its "searching" line shows
// it. Returns the line that answers, 0 when none does, or kUnreadable.
static int explain_lookup(Run *run, const LookupKey &key, int step, FILE *out) {
  int piece = find_row(run->reader.get(), table_source(run->path), key, &run->profile);
  if (piece < 0)
    return kUnreadable;
  int line = piece > 0 && (size_t)piece <= run->pieces.size() ? run->pieces[piece - 1].line : 0;
  fprintf(out, "lookup %d: [%s,%s]: ", step, key.mcc, key.mnc);
  if (line == 0)
    fputs("no line answers\n", out);
  else
    fprintf(out, "line %d answers\n", line);
  return line;
}

static int explain_outcome(const Run &run, int line, FILE *out) {
  if (line < 0) {
    cannot_read(run.path);
    return 2;
  }
  if (line == 0) {
    fputs("no profile: isp_pick removes the memo and ends with status -1 (255)\n", out);
    return 1;
  }
  const isp_profile &p = run.profile;
  fprintf(out,
          "isp_pick writes the profile of line %d (G_ISP_INDEX always, each other item when the "
          "store holds another value) and ends with status 1:\n"
          "  G_ISP_INDEX \"%s\"\n  G_SYSTEM %d\n  G_APN \"%s\"\n  G_USERNAME \"%s\"\n"
          "  G_PASSWORD \"%s\"\n  G_NUMBER \"%s\"\n",
          line, p.index, (int)p.system, p.apn, p.usr, p.pwd, p.number);
  return 0;
}

// The lookups of the run in isp_pick's own order, until a line answers.
static int explain_lookups(Run *run, const char *m, const char *n, bool from_imsi, FILE *out) {
  LookupKey keys[kMaxLookups];
  int count = lookup_order(m, n, from_imsi, keys);
  if (count > 1)
    fputs("MCC 405: looked up with all three MNC characters first\n", out);
  int line = 0;
  for (int i = 0; i < count && line == 0; i++)
    line = explain_lookup(run, keys[i], i + 1, out);
  return explain_outcome(*run, line, out);
}

static bool start_run(Run *run, const char *path) {
  run->path = path;
  if (read_pieces(path, &run->pieces))
    return true;
  cannot_read(path);
  return false;
}

int explain_imsi(const char *path, const char *digits, FILE *out) {
  Run run;
  if (!start_run(&run, path))
    return 2;
  char m[kCodeSize] = "", n[kCodeSize] = "";
  take_identity(digits, m, n);
  fprintf(out, "IMSI %s: MCC %s, MNC %s\n", digits, m, n);
  return explain_lookups(&run, m, n, true, out);
}

int explain_sid(const char *path, int sid, FILE *out) {
  Run run;
  if (!start_run(&run, path))
    return 2;
  fprintf(out, "SID %d: ", sid);
  if (sid < 1) {
    fputs("no SID of 1 or more: isp_pick ends the run without a lookup (status -1)\n", out);
    return 1;
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
  return explain_lookups(&run, range ? range->mcc : "", range ? range->mnc : "", false, out);
}
