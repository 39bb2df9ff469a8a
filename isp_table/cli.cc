// isp_table's command line, read with CLI11. CLI11 never prints here: its
// errors become our "isp_table: PROBLEM" and the usage line, and --help and
// --version print our own text.
#include "cli.h"

#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>

#include <CLI/CLI.hpp>

#include "digits.h"
#include "markets.h"

namespace {

/// The one usage line of every usage error; it grows with the verbs.
const char kUsage[] =
    "usage: isp_table [--only LIST] [FILE...] | isp_table check TABLE [--imsi DIGITS | --sid N | "
    "--against FILE...] | isp_table explain TABLE --imsi DIGITS | --sid N | "
    "isp_table diff OLD NEW | isp_table extend TABLE [--only LIST] [FILE...]\n";

/// Each verb's help; --help alone prints them all, VERB --help its own.
struct VerbHelp {
  const char *verb;  // "" for generating
  const char *text;
};

const char kOnlyHelp[] =
    "--only LIST (generating and extend)\n"
    "  Only the public data of the markets in LIST, a comma list: a country code\n"
    "  as the provider database writes it (\"de\"), or an MCC (\"262\"). A\n"
    "  provider or carrier of a chosen country gives rows for all its networks,\n"
    "  any other only for its networks under a chosen MCC; CDMA rows are under\n"
    "  their SID's MCC and their provider's country. A country code needs a\n"
    "  provider database among the FILEs. The summary counts the markets only,\n"
    "  but for the providers or carriers and the entries left out while reading,\n"
    "  which count whole files. TABLE's rows are always kept.\n";

const char kTableHelp[] =
    "TABLE, OLD and NEW may be - (standard input) or a pipe, such as\n"
    "  <(git show v1:table.csv); FILE is a regular file.\n";

const VerbHelp kVerbHelp[] = {
    {"",
     "isp_table [FILE...]\n"
     "  Writes the router's operator table (/var/3.5G_Infomation.csv) to standard\n"
     "  output and a summary to standard error. Each FILE is a provider database\n"
     "  (serviceproviders.xml of mobile-broadband-provider-info) or an Android APN\n"
     "  database (apns-conf.xml); without FILE the installed provider database is\n"
     "  read. One row per key isp_pick looks a SIM up by: the internet APN of the\n"
     "  network's own operator, ranked by these signs, strongest first: the\n"
     "  provider database's primary mark, the network's brand in the APN or its\n"
     "  lister's name, both kinds of database listing it, the most of the key's\n"
     "  networks served, a provider listing several networks under the MCC; then\n"
     "  the lister offering more APNs, more providers or carriers, the file\n"
     "  given first and the file's own order. The summary names the keys only\n"
     "  those last choose. A row's index is made of its key, the same in every\n"
     "  release: 2, MCC and MNC (226201), or 3 for a three-digit MNC (3405854).\n"
     "  Exit status 0; 2 when a FILE cannot be read.\n"},
    {"check",
     "isp_table check TABLE\n"
     "  Reads TABLE as isp_pick reads it and reports every row a network will not\n"
     "  get as meant, one \"TABLE:LINE: error: ...\" or \"TABLE:LINE: warning: ...\"\n"
     "  line each, then a count. Exit status 0 without errors, 1 with errors, 2\n"
     "  when TABLE cannot be read.\n"
     "\n"
     "isp_table check TABLE --against FILE...\n"
     "  The check, with a warning on each row whose APN the databases FILE (either\n"
     "  kind above) list only for other networks, or for no network while they\n"
     "  list others for the row's networks; an APN they list under six or more\n"
     "  MCCs by six or more operators (\"internet\") is held only against what\n"
     "  the row's networks list. Rows of networks they do not know, CDMA rows\n"
     "  and placeholder rows get none. Exit status as the check's; 2\n"
     "  also when a FILE cannot be read.\n"
     "\n"
     "isp_table check TABLE --imsi DIGITS | --sid N\n"
     "  The same as isp_table explain.\n"},
    {"explain",
     "isp_table explain TABLE --imsi DIGITS\n"
     "isp_table explain TABLE --sid N\n"
     "  Explains one run of isp_pick for a SIM whose IMSI starts with DIGITS, or a\n"
     "  CDMA card that reports SID N: the keys it searches, in order, the line that\n"
     "  answers and the profile it writes, values escaped as diff shows them. Exit\n"
     "  status 0 when a line answers, 1 when none does, 2 when TABLE cannot be\n"
     "  read.\n"},
    {"diff",
     "isp_table diff OLD NEW\n"
     "  For every SIM isp_pick can meet (each six-digit IMSI start under an MCC\n"
     "  either table names, each range of the SID table, a SID outside it), the\n"
     "  profile it writes to the store from table OLD and from table NEW: one\n"
     "  line per group of SIMs whose profile changes, gains or is lost, sorted\n"
     "  by identity, then a count. Exit status 0 when none changes, 1 when some\n"
     "  do, 2 when a table cannot be read.\n"},
    {"extend",
     "isp_table extend TABLE [FILE...]\n"
     "  Writes TABLE, a hand-kept table, byte for byte, its placeholder rows (MCC\n"
     "  and MNC both placeholders) moved last, and before them the rows generated\n"
     "  from FILE that change the profile of no SIM TABLE serves, each indexed\n"
     "  by its key as generated tables are, never with an index TABLE uses\n"
     "  (see the README). The summary adds the rows kept, written and left out,\n"
     "  and each row of TABLE (TABLE:LINE) that gives some public row's SIMs\n"
     "  another technology, APN, user, password or dial number than the public\n"
     "  data's first, with whether its APN is listed for them at all. Exit\n"
     "  status 0; 1 when TABLE has errors (the check's findings on standard\n"
     "  error, no table); 2 when TABLE or a FILE cannot be read or standard\n"
     "  output is TABLE itself.\n"},
};

const char kHelpEnd[] =
    "isp_table --help | --version\n"
    "  -h or --help prints this help; after a verb, that verb's help.\n";

// The help of `verb` ("" for the whole tool): its text, then the notes on
// its arguments that it shares with other verbs.
std::string help(const std::string &verb) {
  std::string text;
  for (const VerbHelp &h : kVerbHelp)
    if (verb.empty() || verb == h.verb)
      text += (text.empty() ? "" : "\n") + std::string(h.text);
  if (verb.empty() || verb == "extend")
    text += "\n" + std::string(kOnlyHelp);
  text += "\n" + std::string(kTableHelp);
  return verb.empty() ? text + "\n" + kHelpEnd : text;
}

// A CLI11 check answers "" to accept the value, else the problem, which
// CLI11 reports after the option's name and a colon.
std::string imsi_problem(std::string &value) {
  if (!all_digits(value, 6, 15))
    return "needs 6 to 15 digits";
  return "";
}

// CLI11 2.1 converts text to an int with strtoll in base 0, so "010" would
// be eight and "0x10" sixteen. A SID is decimal: checked here and rewritten
// in plain decimal before CLI11 converts it.
std::string sid_problem(std::string &value) {
  char *end;
  errno = 0;
  long long sid = strtoll(value.c_str(), &end, 10);
  if (value.empty() || *end)
    return "needs a whole number";
  // A whole number past the range (strtoll stops at its own) is one, just
  // not one a SID can be.
  if (sid > INT_MAX)
    return value + " is out of range (at most " + std::to_string(INT_MAX) + ")";
  if (sid < INT_MIN)
    return value + " is out of range (at least " + std::to_string(INT_MIN) + ")";
  value = std::to_string(sid);
  return "";
}

// Each verb adds its arguments and options; generating is the app itself.
using Files = std::vector<std::string>;

std::string only_problem(std::string &value) {
  Markets markets;
  return read_markets(value, &markets) ? "" : "needs country codes and MCCs";
}

void add_only(CLI::App *verb, Command *command) {
  verb->add_option("--only", command->only)->check(CLI::Validator(only_problem, "LIST"));
}

void add_generate(CLI::App *app, Command *command) {
  app->add_option_function<std::vector<std::string>>("FILE", [command](const Files &files) {
    command->files.insert(command->files.end(), files.begin(), files.end());
  });
  add_only(app, command);
}

// check --imsi and --sid are explain's options too, and kept there.
void add_run_options(CLI::App *verb, Command *command) {
  CLI::Option *imsi = verb->add_option("--imsi", command->imsi);
  imsi->check(CLI::Validator(imsi_problem, "DIGITS"));
  CLI::Option *sid = verb->add_option("--sid", command->sid);
  sid->transform(CLI::Validator(sid_problem, "N"))->excludes(imsi);
}

void add_check(CLI::App *app, Command *command) {
  CLI::App *check = app->add_subcommand("check");
  check->add_option("TABLE", command->table)->required();
  add_run_options(check, command);
  check->add_option("--against", command->against)
      ->excludes(check->get_option("--imsi"))
      ->excludes(check->get_option("--sid"));
}

void add_extend(CLI::App *app, Command *command) {
  CLI::App *extend = app->add_subcommand("extend");
  extend->add_option("TABLE", command->table)->required();
  // What follows extend's "--" reaches the top level's FILE, and either
  // can be taken up first: these files go before those.
  extend->add_option_function<std::vector<std::string>>("FILE", [command](const Files &files) {
    command->files.insert(command->files.begin(), files.begin(), files.end());
  });
  add_only(extend, command);
}

void add_explain(CLI::App *app, Command *command) {
  CLI::App *explain = app->add_subcommand("explain");
  explain->add_option("TABLE", command->table)->required();
  add_run_options(explain, command);
}

void add_diff(CLI::App *app, Command *command) {
  CLI::App *diff = app->add_subcommand("diff");
  diff->add_option("OLD", command->old_table)->required();
  diff->add_option("NEW", command->new_table)->required();
}

// Verbs inherit the help flag the app has when they are added, so each of
// them takes -h and --help among its arguments.
void build(CLI::App *app, Command *command) {
  app->set_help_flag("-h,--help");
  app->require_subcommand(0, 1);
  add_generate(app, command);
  add_check(app, command);
  add_explain(app, command);
  add_diff(app, command);
  add_extend(app, command);
  app->set_version_flag("--version", ISP_TABLE_VERSION);
}

// A verb is the first argument only: anywhere else the same word is a file.
void verbs_first_only(CLI::App *app, int argc, char **argv) {
  std::string first = argc > 1 ? argv[1] : "";
  for (CLI::App *verb : app->get_subcommands([](CLI::App *) { return true; }))
    verb->disabled(verb->get_name() != first);
}

// The verb that was parsed, or the app itself when generating.
const CLI::App &parsed_verb(const CLI::App &app) {
  std::vector<CLI::App *> verbs = app.get_subcommands();
  return verbs.empty() ? app : *verbs.front();
}

// CLI11 keeps a "--" among the extras, though it is never one itself.
std::string not_expected(const CLI::App &app) {
  std::vector<std::string> extra = app.remaining(true);
  extra.erase(std::remove(extra.begin(), extra.end(), "--"), extra.end());
  std::string first = extra.empty() ? "" : extra.front();
  if (first.size() > 1 && first[0] == '-')
    return "unknown option " + first;
  return "unexpected argument " + first;
}

std::string missing(const CLI::App &app) {
  const CLI::App &verb = parsed_verb(app);
  std::string names;
  for (const CLI::Option *opt : verb.get_options()) {
    if (!opt->get_positional() || !opt->get_required() || opt->count() > 0)
      continue;
    names += (names.empty() ? "" : " and ") + opt->get_name();
  }
  return verb.get_name() + " needs " + names;
}

std::string clash(const CLI::App &app) {
  for (const CLI::Option *opt : parsed_verb(app).get_options()) {
    for (const CLI::Option *other : opt->get_excludes()) {
      if (opt->count() > 0 && other->count() > 0)
        return opt->get_name() + " and " + other->get_name() + " do not go together";
    }
  }
  return "options that do not go together";
}

// CLI11 names the option first: "--imsi: 1 required TEXT missing" when the
// value is missing, "--imsi: At Most 1 ..." when the option comes twice.
std::string mismatch(const CLI::ParseError &e, const CLI::App &app) {
  std::string what = e.what();
  std::string name = what.substr(0, what.find(':'));
  const CLI::Option *opt = parsed_verb(app).get_option_no_throw(name);
  if (opt && opt->count() > 1)
    return name + " is given more than once";
  return name + " needs a value";
}

// CLI11's "--imsi: needs 6 to 15 digits" as "--imsi needs 6 to 15 digits".
std::string invalid(const CLI::ParseError &e) {
  std::string what = e.what();
  size_t colon = what.find(": ");
  return colon == std::string::npos ? what : what.erase(colon, 1);
}

int usage_error(const std::string &problem) {
  fprintf(stderr, "isp_table: %s\n%s", problem.c_str(), kUsage);
  return 2;
}

std::string problem(const CLI::ParseError &e, const CLI::App &app) {
  if (dynamic_cast<const CLI::ExtrasError *>(&e))
    return not_expected(app);
  if (dynamic_cast<const CLI::RequiredError *>(&e))
    return missing(app);
  if (dynamic_cast<const CLI::ExcludesError *>(&e))
    return clash(app);
  if (dynamic_cast<const CLI::ArgumentMismatch *>(&e))
    return mismatch(e, app);
  if (dynamic_cast<const CLI::ValidationError *>(&e))
    return invalid(e);
  return e.what();
}

// The verb on the command line, "" for generating: only ever the first
// argument.
std::string verb_named(const CLI::App &app, int argc, char **argv) {
  std::string first = argc > 1 ? argv[1] : "";
  for (const CLI::App *verb : app.get_subcommands([](const CLI::App *) { return true; }))
    if (verb->get_name() == first)
      return first;
  return "";
}

// -1 when the command is to run, else the exit status of a run that ends here.
int parse(CLI::App *app, int argc, char **argv) {
  try {
    app->parse(argc, argv);
    return -1;
  } catch (const CLI::CallForHelp &) {
    fputs(help(verb_named(*app, argc, argv)).c_str(), stdout);
    return 0;
  } catch (const CLI::CallForVersion &) {
    printf("isp_table %s\n", ISP_TABLE_VERSION);
    return 0;
  } catch (const CLI::ParseError &e) {
    return usage_error(problem(e, *app));
  }
}

// Which verb was parsed, and what only the app knows about its options.
void note_verb(const CLI::App &app, Command *command) {
  if (app.got_subcommand("extend"))
    command->verb = Command::Verb::kExtend;
  if (app.got_subcommand("diff"))
    command->verb = Command::Verb::kDiff;
  if (app.got_subcommand("explain")) {
    command->verb = Command::Verb::kExplain;
    command->sid_given = app.get_subcommand("explain")->count("--sid") > 0;
  }
  if (!app.got_subcommand("check"))
    return;
  command->verb = Command::Verb::kCheck;
  command->sid_given = app.get_subcommand("check")->count("--sid") > 0;
}

}  // namespace

bool read_command_line(int argc, char **argv, Command *command, int *status) {
  CLI::App app{"", "isp_table"};
  build(&app, command);
  verbs_first_only(&app, argc, argv);
  *status = parse(&app, argc, argv);
  if (*status >= 0)
    return false;
  note_verb(app, command);
  if (command->verb == Command::Verb::kExplain && command->imsi.empty() && !command->sid_given) {
    *status = usage_error("explain needs --imsi or --sid");
    return false;
  }
  // CLI11 hands what follows a verb's "--" or "++" back to the top level,
  // which would take it as a FILE to generate from.
  if (command->verb == Command::Verb::kGenerate || command->files.empty())
    return true;
  if (command->verb == Command::Verb::kExtend)
    return true;
  *status = usage_error("unexpected argument " + command->files.front());
  return false;
}

int report_usage_error(const std::string &problem) { return usage_error(problem); }
