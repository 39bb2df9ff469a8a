// What the verbs share: reading their inputs, each with its failure said
// once, in the same words for every verb.
#include <stdio.h>

#include <algorithm>
#include <string>

#include "against.h"
#include "markets.h"
#include "merge.h"
#include "verbs.h"

bool load_or_report(const char *path, Table *table) {
  std::string why;
  if (load_table(path, table, &why))
    return true;
  fprintf(stderr, "isp_table: cannot read %s: %s\n", path, why.c_str());
  return false;
}

static const char kDefaultDb[] = "/usr/share/mobile-broadband-provider-info/serviceproviders.xml";

int load_inputs(const Command &command, std::vector<Source> *sources) {
  std::vector<std::string> paths = command.files;
  if (paths.empty())
    paths.push_back(kDefaultDb);
  if (!load_public_data(paths, sources))
    return 2;
  fill_android_regions(sources);
  Markets markets;
  if (command.only.empty() || !read_markets(command.only, &markets))
    return 0;
  bool providers =
      std::any_of(sources->begin(), sources->end(), [](const Source &s) { return !s.android; });
  if (!markets.countries.empty() && !providers)
    return report_usage_error("--only names a country, but no FILE is a provider database");
  // A code the databases write otherwise ("uk" for "gb") gives no rows.
  for (const std::string &market : keep_markets(markets, sources))
    fprintf(stderr, "isp_table: warning: --only %s: no public data is in that market\n",
            market.c_str());
  return 0;
}
