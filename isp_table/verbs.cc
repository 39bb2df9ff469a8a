// What the verbs share: reading their inputs, each with its failure said
// once, in the same words for every verb.
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "cli.h"
#include "input.h"
#include "markets.h"
#include "merge.h"
#include "table_text.h"
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

std::vector<std::string> input_paths(const Command &command) {
  return command.files.empty() ? std::vector<std::string>{kDefaultDb} : command.files;
}

bool load_inputs(const Command &command, std::vector<Source> *sources,
                 std::vector<std::string> *bytes) {
  if (!load_public_data(input_paths(command), sources, bytes))
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

// The files the command line names for reading: databases, tables,
// ALLOWED, MANIFEST.
static std::vector<std::string> read_files(const Command &c) {
  std::vector<std::string> files = c.files;
  files.insert(files.end(), c.against.begin(), c.against.end());
  for (const std::string *path : {&c.table, &c.old_table, &c.new_table, &c.gate, &c.checked_manifest})
    if (!path->empty())
      files.push_back(*path);
  return files;
}

// Whether `a` and `b` name one regular file: the null device and the
// standard streams may be named twice.
static bool same_file(const std::string &a, const std::string &b) {
  struct stat x, y;
  return stat(a.c_str(), &x) == 0 && stat(b.c_str(), &y) == 0 && S_ISREG(x.st_mode) &&
         x.st_dev == y.st_dev && x.st_ino == y.st_ino;
}

static bool refuse(const char *option, const std::string &path, const std::string &what) {
  fprintf(stderr, "isp_table: %s %s is %s: write it to another file\n", option, path.c_str(),
          what.c_str());
  return false;
}

bool outputs_apart(const Command &command) {
  const std::pair<const char *, const std::string *> outputs[] = {{"--json", &command.json},
                                                                  {"--manifest", &command.manifest}};
  for (const auto &out : outputs)
    for (const std::string &in : read_files(command))
      if (!out.second->empty() && same_file(*out.second, in))
        return refuse(out.first, *out.second, "the input " + in);
  if (!command.json.empty() &&
      (command.json == command.manifest || same_file(command.json, command.manifest)))
    return refuse("--json", command.json, "the file of --manifest");
  // Only a regular file goes: a link, a device or a folder is the user's.
  struct stat st;
  for (const auto &out : outputs)
    if (!out.second->empty() && lstat(out.second->c_str(), &st) == 0 && S_ISREG(st.st_mode))
      unlink(out.second->c_str());
  return true;
}

ExitStatus check_status(const Findings &findings) {
  return findings.errors ? ExitStatus::kFindings : ExitStatus::kClean;
}

std::string generated_table(const std::vector<TableRow> &rows) {
  // With no kept table every key's first index is free.
  std::string table = kTableHeader;
  NetworkId unused;
  indexed_rows(rows, {}, &table, &unused);
  return table;
}

std::vector<ManifestInput> database_inputs(const Command &command,
                                           const std::vector<Source> &sources,
                                           const std::vector<std::string> &bytes) {
  std::vector<std::string> paths = input_paths(command);
  std::vector<ManifestInput> inputs;
  for (size_t i = 0; i < sources.size(); i++)
    inputs.push_back(database_input(paths[i], sources[i], bytes[i]));
  return inputs;
}

bool write_manifest(const Command &command, const char *verb,
                    const std::vector<ManifestInput> &inputs, const std::string &table) {
  Manifest manifest;
  manifest.version = ISP_TABLE_VERSION;
  manifest.verb = verb;
  manifest.only_given = !command.only.empty();
  manifest.only = command.only;
  manifest.inputs = inputs;
  manifest.table = table_digest(table);
  return write_json(command.manifest, manifest_json(manifest));
}
