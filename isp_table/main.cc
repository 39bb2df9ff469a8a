// isp_table: the router's operator table from the public operator
// databases, and a check of hand-kept tables.
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "check.h"
#include "explain.h"
#include "merge.h"
#include "sources.h"

static const char kDefaultDb[] = "/usr/share/mobile-broadband-provider-info/serviceproviders.xml";
static const char kUsage[] =
    "usage: isp_table [FILE...] | isp_table check TABLE [--imsi DIGITS | --sid N]\n";

static const char kHelp[] =
    "isp_table [FILE...]\n"
    "  Writes the router's operator table (/var/3.5G_Infomation.csv) to standard\n"
    "  output and a summary to standard error. Each FILE is a provider database\n"
    "  (serviceproviders.xml of mobile-broadband-provider-info) or an Android APN\n"
    "  database (apns-conf.xml); without FILE the installed provider database is\n"
    "  read. One row per key isp_pick looks a SIM up by: the internet APN that\n"
    "  serves the most of the key's networks, then the most providers or\n"
    "  carriers, then the file given first, then the file's own order.\n"
    "\n"
    "isp_table check TABLE\n"
    "  Reads TABLE as isp_pick reads it and reports every row a network will not\n"
    "  get as meant, one \"TABLE:LINE: error: ...\" or \"TABLE:LINE: warning: ...\"\n"
    "  line each, then a count. Exit status 0 without errors, 1 with errors, 2\n"
    "  when TABLE cannot be read.\n"
    "\n"
    "isp_table check TABLE --imsi DIGITS\n"
    "isp_table check TABLE --sid N\n"
    "  Explains one run of isp_pick for a SIM whose IMSI starts with DIGITS, or a\n"
    "  CDMA card that reports SID N: the keys it searches, in order, the line that\n"
    "  answers and the profile it writes. Exit status 0 when a line answers, 1\n"
    "  when none does, 2 when TABLE cannot be read.\n"
    "\n"
    "isp_table --help | --version\n";

static int usage_error(const std::string &problem) {
  fprintf(stderr, "isp_table: %s\n%s", problem.c_str(), kUsage);
  return 2;
}

static bool imsi_digits(const char *s) {
  size_t len = strlen(s);
  return len >= 6 && len <= 15 && strspn(s, "0123456789") == len;
}

static bool integer(const char *s, int *value) {
  char *end;
  errno = 0;
  long v = strtol(s, &end, 10);
  if (!*s || *end || errno || v < -2147483647L - 1 || v > 2147483647L)
    return false;
  *value = (int)v;
  return true;
}

static int check_command(int argc, char **argv) {
  if (argc < 3 || argv[2][0] == '-')
    return usage_error("check needs a TABLE");
  const char *table = argv[2];
  if (argc == 3)
    return check_table(table, stdout);
  std::string option = argv[3];
  if (argc != 5 || (option != "--imsi" && option != "--sid"))
    return usage_error("check takes TABLE and at most one of --imsi DIGITS and --sid N");
  if (option == "--imsi") {
    if (!imsi_digits(argv[4]))
      return usage_error("--imsi needs 6 to 15 digits");
    return explain_imsi(table, argv[4], stdout);
  }
  int sid;
  if (!integer(argv[4], &sid))
    return usage_error("--sid needs a whole number");
  return explain_sid(table, sid, stdout);
}

static int generate(const std::vector<const char *> &paths) {
  std::vector<Source> sources(paths.size());
  size_t next_lister = 0;
  for (size_t i = 0; i < paths.size(); i++) {
    std::string error;
    if (!load_source(paths[i], i, &next_lister, &sources[i], &error)) {
      fprintf(stderr, "isp_table: cannot read %s: %s\n", paths[i], error.c_str());
      return 1;
    }
  }
  fill_android_regions(&sources);
  std::vector<const Source *> all;
  for (const Source &s : sources)
    all.push_back(&s);
  std::string table;
  TableFigures merged = merge_table(all, &table);
  write_summary(sources, merged, stderr);
  if (fwrite(table.data(), 1, table.size(), stdout) != table.size() || fflush(stdout) != 0) {
    perror("isp_table: writing the table");
    return 1;
  }
  return 0;
}

int main(int argc, char **argv) {
  if (argc > 1 && strcmp(argv[1], "check") == 0)
    return check_command(argc, argv);
  std::vector<const char *> paths;
  bool options = true;
  for (int i = 1; i < argc; i++) {
    std::string arg = argv[i];
    if (options && arg == "--") {
      options = false;
    } else if (options && arg == "--help") {
      fputs(kHelp, stdout);
      return 0;
    } else if (options && arg == "--version") {
      printf("isp_table %s\n", ISP_TABLE_VERSION);
      return 0;
    } else if (options && arg.size() > 1 && arg[0] == '-') {
      return usage_error("unknown option " + arg);
    } else {
      paths.push_back(argv[i]);
    }
  }
  if (paths.empty())
    paths.push_back(kDefaultDb);
  return generate(paths);
}
