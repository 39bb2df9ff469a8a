// What the verbs share: reading their inputs, each with its failure said
// once, in the same words for every verb.
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>

#include "cli.h"
#include "input.h"
#include "markets.h"
#include "merge.h"
#include "verbs.h"

// The likely cause of a table of no bytes, as its kind tells it: a file
// the shell emptied for this command's own output before the run read it
// ("extend T.csv DB | tee T.csv"); for the null device, none.
static std::string empty_cause(const char *path) {
  if (null_device(path))
    return "";
  struct stat st;
  if (strcmp(path, "-") == 0 || stat(path, &st) != 0 || !S_ISREG(st.st_mode))
    return " (was its file emptied by this command's own output, \"> FILE\" or \"| tee FILE\"?)";
  return std::string(" (was it emptied by this command's own output, \"> ") + path +
         "\" or \"| tee " + path + "\"?)";
}

// A table has its header line at least: one of no bytes at all, passed
// for a table of no rows, would lose every hand-kept row.
static bool refuse_empty(const char *path, const char *purpose) {
  fprintf(stderr, "isp_table: %s is empty: no table to %s%s\n",
          strcmp(path, "-") == 0 ? "standard input" : path, purpose, empty_cause(path).c_str());
  return false;
}

bool load_or_report(const char *path, Table *table, const char *purpose) {
  std::string why;
  if (!load_table(path, table, &why)) {
    fprintf(stderr, "isp_table: cannot read %s: %s\n", path, why.c_str());
    return false;
  }
  return !purpose || !table->pieces.empty() || refuse_empty(path, purpose);
}

static const char kDefaultDb[] = "/usr/share/mobile-broadband-provider-info/serviceproviders.xml";

bool load_inputs(const Command &command, std::vector<Source> *sources) {
  std::vector<std::string> paths = command.files;
  if (paths.empty())
    paths.push_back(kDefaultDb);
  if (!load_public_data(paths, sources))
    return false;
  fill_android_regions(sources);
  Markets markets;
  if (command.only.empty() || !read_markets(command.only, &markets))
    return true;
  bool providers = std::any_of(sources->begin(), sources->end(),
                               [](const Source &s) { return !s.android && !s.carrier_list; });
  if (!markets.countries.empty() && !providers) {
    report_usage_error("--only names a country, but no FILE is a provider database");
    return false;
  }
  // A code the databases write otherwise ("uk" for "gb") gives no rows.
  for (const std::string &market : keep_markets(markets, sources))
    fprintf(stderr, "isp_table: warning: --only %s: no public data is in that market\n",
            market.c_str());
  return true;
}

ExitStatus check_status(const Findings &findings) {
  return findings.errors ? ExitStatus::kFindings : ExitStatus::kClean;
}
