#include "explain.h"

#include <vector>

#include "identity.h"
#include "imsi_capture.h"
#include "operator_table.h"
#include "pieces.h"
#include "sid_table.h"

// One lookup of `mcc` and `mnc` by isp_pick's own code, shown as its
// "searching" line shows it. Returns the line that answers, or 0.
static int explain_lookup(const char *path, const std::vector<Piece> &pieces, int step,
                          FILE *out) {
  int piece = find_row(path);
  int line = piece > 0 && (size_t)piece <= pieces.size() ? pieces[piece - 1].line : 0;
  fprintf(out, "lookup %d: [%s,%s]: ", step, mcc, mnc);
  if (line == 0)
    fputs("no line answers\n", out);
  else
    fprintf(out, "line %d answers\n", line);
  return line;
}

static int explain_outcome(int line, FILE *out) {
  if (line == 0) {
    fputs("no profile: isp_pick removes the memo and ends with status -1 (255)\n", out);
    return 1;
  }
  fprintf(out,
          "isp_pick writes the profile of line %d (G_ISP_INDEX always, each other item when the "
          "store holds another value) and ends with status 1:\n"
          "  G_ISP_INDEX \"%s\"\n  G_SYSTEM %d\n  G_APN \"%s\"\n  G_USERNAME \"%s\"\n"
          "  G_PASSWORD \"%s\"\n  G_NUMBER \"%s\"\n",
          line, isp_info.index, (int)isp_info.system, isp_info.apn, isp_info.usr, isp_info.pwd,
          isp_info.number);
  return 0;
}

// A fresh run: nothing known yet, the profile record empty. The pieces of
// the table tell the line of the piece that answers.
static bool start_run(const char *path, std::vector<Piece> *pieces) {
  mcc[0] = mnc[0] = '\0';
  isp_info = isp_profile{};
  if (read_pieces(path, pieces))
    return true;
  cannot_read(path);
  return false;
}

int explain_imsi(const char *path, const char *digits, FILE *out) {
  std::vector<Piece> pieces;
  if (!start_run(path, &pieces))
    return 2;
  take_identity(digits);
  fprintf(out, "IMSI %s: MCC %s, MNC %s\n", digits, mcc, mnc);
  int step = 0, line = 0;
  if (long_mnc_first()) {
    fputs("MCC 405: looked up with all three MNC characters first\n", out);
    line = explain_lookup(path, pieces, ++step, out);
  }
  if (line == 0) {
    shorten_mnc();
    line = explain_lookup(path, pieces, ++step, out);
  }
  return explain_outcome(line, out);
}

int explain_sid(const char *path, int sid, FILE *out) {
  std::vector<Piece> pieces;
  if (!start_run(path, &pieces))
    return 2;
  fprintf(out, "SID %d: ", sid);
  if (sid < 1) {
    fputs("no SID of 1 or more: isp_pick ends the run without a lookup (status -1)\n", out);
    return 1;
  }
  if (mapping(sid) == 1)
    fprintf(out, "the SID table gives MCC %s, MNC %s, looked up exactly as given\n", mcc, mnc);
  else
    fputs(
        "not in the SID table: looked up with the empty identity, which only a placeholder "
        "row (MCC and MNC both placeholders) answers\n",
        out);
  return explain_outcome(explain_lookup(path, pieces, 1, out), out);
}
