// isp_table's command line, read with CLI11. CLI11 never prints here: its
// errors, in its own words, become "isp_table: PROBLEM" and the usage line,
// and --help and --version print our own text.
#include "cli.h"

#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <sys/stat.h>

#include <algorithm>

#include <CLI/CLI.hpp>

#include "digits.h"
#include "explain_key.h"
#include "markets.h"
#include "verb_entries.h"

namespace {

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

// Where a verb's tables may come from, in the help of each verb that reads one.
#define PIPED "(standard input) or a pipe, such as\n" \
              "  <(git show v1:table.csv), read into memory up to 64 MiB"

// Each verb's help; --help alone prints them all, VERB --help its own.
const char kGenerateHelp[] =
    "isp_table [FILE...]\n"
    "  Writes the router's operator table (/var/3.5G_Infomation.csv) to standard\n"
    "  output and a summary to standard error. Each FILE is a provider database\n"
    "  (serviceproviders.xml of mobile-broadband-provider-info), an Android APN\n"
    "  database (apns-conf.xml), or Android's carrier identity database\n"
    "  (carrier_list.textpb, in assets/latest_carrier_id/ of AOSP's\n"
    "  TelephonyProvider), which lists no APN but names each network's\n"
    "  operator and marks resellers. Without FILE the installed provider\n"
    "  database is read. One row per key isp_pick looks a SIM up by: first the\n"
    "  network's own operator, ranked by these signs, strongest first: the\n"
    "  carrier identity database, the provider database's primary mark, the\n"
    "  network's brand in the APN or its lister's name, both kinds of database\n"
    "  listing it, the most of the key's networks served, a provider listing\n"
    "  several networks under the MCC; then the operator offering more APNs,\n"
    "  more providers or carriers, the APN's bytes. The summary names the keys\n"
    "  only those last choose. Then that operator's data APN: not a WAP, MMS or\n"
    "  other service APN, not behind a proxy, listed by both kinds, serving\n"
    "  more networks, listed first by its providers, by more listers, first in\n"
    "  byte order. The brand, agreement and breadth decide nothing against an\n"
    "  operator offering more APNs: the key is undecided. The order of the FILEs\n"
    "  and of their entries changes nothing. A row's index is made of its key,\n"
    "  the same in every release: 2, MCC and MNC (226201), or 3 for a\n"
    "  three-digit MNC (3405854).\n"
    "  Exit status 0; 2 when a FILE cannot be read.\n";

const char kCheckHelp[] =
    "isp_table check TABLE\n"
    "  Reads TABLE as isp_pick reads it and reports every row a network will not\n"
    "  get as meant, one \"TABLE:LINE: error: ...\" or \"TABLE:LINE: warning: ...\"\n"
    "  line each, then a count. Exit status 0 without errors, 1 with errors, 2\n"
    "  when TABLE cannot be read or is empty (not even a header).\n"
    "\n"
    "isp_table check TABLE --against FILE...\n"
    "  The check, with a warning on each row whose APN the databases FILE (any\n"
    "  kind above; a carrier list only weighs in the ranking) list only for\n"
    "  other networks, or for no network while they list others for the row's\n"
    "  networks; an APN they list under six or more MCCs by six or more\n"
    "  operators (\"internet\") is held only against what the row's networks\n"
    "  list; and on each row whose APN the ranking of generating gives to\n"
    "  another operator on its network by a deciding sign (never on a key it\n"
    "  leaves undecided). Rows of networks they do not know, CDMA rows and\n"
    "  placeholder rows get none. Exit status as the check's; 2 also when a\n"
    "  FILE cannot be read.\n"
    "\n"
    "isp_table check TABLE --imsi DIGITS | --sid N\n"
    "  The same as isp_table explain.\n"
    "\n"
    "TABLE may be - " PIPED ";\n  FILE is a regular file.\n";

const char kExplainHelp[] =
    "isp_table explain TABLE --imsi DIGITS\n"
    "isp_table explain TABLE --sid N\n"
    "  Explains one run of isp_pick for a SIM whose IMSI starts with DIGITS, or a\n"
    "  CDMA card that reports SID N: the keys it searches, in order, the line that\n"
    "  answers and the profile it writes, values escaped as diff shows them. Exit\n"
    "  status 0 when a line answers, 1 when none does, 2 when TABLE cannot be\n"
    "  read or is empty.\n"
    "\n"
    "isp_table explain [FILE...] --key MCC-MNC\n"
    "  Explains the row that generating from the databases FILE gives the key\n"
    "  network MCC-MNC is looked up by: the operator the carrier identity\n"
    "  database names, every candidate APN by operator with each entry that\n"
    "  lists it (FILE:LINE), each sign's count, the entries that cannot be the\n"
    "  row and why, the sign that decided and the row. MCC-MNC is written\n"
    "  262-01, 262,01 or 26201; without FILE the installed provider database\n"
    "  is read. Exit status 0 when the key has a row, 1 when it has none, 2\n"
    "  when a FILE cannot be read.\n"
    "\n"
    "TABLE may be - " PIPED ";\n  FILE is a regular file.\n";

const char kDiffHelp[] =
    "isp_table diff OLD NEW\n"
    "  For every SIM isp_pick can meet (each six-digit IMSI start under an MCC\n"
    "  either table names, each range of the SID table, a SID outside it), the\n"
    "  profile it writes to the store from table OLD and from table NEW: one\n"
    "  line per group of SIMs whose profile changes, gains or is lost, sorted\n"
    "  by identity, then a count. Exit status 0 when none changes, 1 when some\n"
    "  do, 2 when a table cannot be read or NEW is empty. An empty OLD, such as\n"
    "  /dev/null, is a first release: every group gains.\n"
    "\n"
    "isp_table diff OLD NEW --gate ALLOWED\n"
    "  The diff, then a release gate: only a group that loses its profile or\n"
    "  whose APN changes counts. ALLOWED lists the changes a release may make,\n"
    "  one per line as diff names them, with the day and why:\n"
    "    262-01 \"internet.t-mobile\" -> \"internet.telekom\" 2026-11-30 renamed\n"
    "    262-03 \"internet.eplus.de\" -> - 2026-11-30 E-Plus shut down\n"
    "  (- for no profile; # comments and blank lines). Then an error for each\n"
    "  counted change no line allows, a warning for each line that matches no\n"
    "  change (stale), and a count. Exit status 0 when every counted change is\n"
    "  allowed, 1 when one is not, 2 also when ALLOWED cannot be read or a\n"
    "  line of it is malformed (ALLOWED:LINE: error: ..., nothing decided).\n"
    "\n"
    "OLD or NEW, not both, may be - " PIPED ".\n";

const char kExtendHelp[] =
    "isp_table extend TABLE [FILE...]\n"
    "  Writes TABLE, a hand-kept table, byte for byte, its placeholder rows (MCC\n"
    "  and MNC both placeholders) moved last, and before them the rows generated\n"
    "  from FILE that change the profile of no SIM TABLE serves, each indexed\n"
    "  by its key as generated tables are, never with an index TABLE uses\n"
    "  (see isp_table(1)). The summary adds the rows kept, written and left out,\n"
    "  and each row of TABLE (TABLE:LINE) that gives some public row's SIMs\n"
    "  another technology, APN, user, password or dial number than the public\n"
    "  data's first, with whether its APN is another operator's, listed only by\n"
    "  a marked reseller, not listed for them at all (likely wrong) or ranked\n"
    "  lower (a choice). Exit status 0; 1 when TABLE has errors (the check's\n"
    "  findings on standard error, no table) or a public row's key has no index\n"
    "  left; 2 when TABLE or a FILE cannot be read, TABLE is empty, or standard\n"
    "  output is TABLE itself.\n"
    "\n"
    "TABLE may be - " PIPED ";\n  FILE is a regular file.\n";

const char kLintHelp[] =
    "isp_table lint DB...\n"
    "  Reports what the databases DB (any kind generating reads) get wrong that\n"
    "  their XML checks cannot see, one \"DB:LINE: error: ...\" or \"DB:LINE:\n"
    "  warning: ...\" line each, by DB in the order given, then line, then a\n"
    "  count: an APN with blanks around it; an APN one slip (letters swapped,\n"
    "  a letter dropped, added or changed) from another spelling listed for\n"
    "  the same network; two providers marked primary on one network, or none\n"
    "  of several with different APNs; a network also written with three MNC\n"
    "  digits; a three-digit id isp_pick reads as two digits carrying another\n"
    "  country's APN; a provider listing a network or an APN twice; an Android\n"
    "  file generated from the provider database. An APN a router would send\n"
    "  wrong is an error, a doubt a warning. Exit status 0 without errors, 1\n"
    "  with errors, 2 when a DB cannot be read.\n"
    "\n"
    "DB is a regular file.\n";

const char kVerifyHelp[] =
    "isp_table verify MANIFEST\n"
    "  Reads MANIFEST, written by --manifest, checks the size and SHA-256 of\n"
    "  each input it names (a relative path from the current directory, as the\n"
    "  run that wrote it took it), then makes the table again from them with\n"
    "  the same verb and --only and compares its SHA-256 with the manifest's:\n"
    "  a line for each input that changed and for a table that differs or is\n"
    "  not made, then one saying whether the table is reproduced. A manifest of\n"
    "  another release draws a note and is checked all the same. Exit status 0\n"
    "  when the table is reproduced, 1 when it is not (an input changed, the\n"
    "  table differs), 2 when MANIFEST cannot be read or is not a manifest of\n"
    "  isp_table, or an input cannot be read.\n";

const char kManifestHelp[] =
    "--manifest FILE (generating and extend)\n"
    "  Also writes to FILE, as JSON, which inputs made the table: the verb and\n"
    "  --only, each input's path as given, kind, size, SHA-256 and what it\n"
    "  states of itself (a format, version or date), and the table's SHA-256,\n"
    "  size and rows; isp_table verify FILE makes the table again. Status 2\n"
    "  when FILE cannot be written; the table is written all the same.\n";

const char kHelpEnd[] =
    "--json FILE (every verb)\n"
    "  Also writes what the run reports (the summary, findings, rows or\n"
    "  changes) to FILE as one JSON document, laid out as isp_table(1) and\n"
    "  share/isp_table/isp_table.schema.json describe; the text and the exit\n"
    "  status stay as they are, but for status 2 when FILE cannot be written.\n"
    "\n"
    "isp_table --help | --version\n"
    "  -h or --help prints this help; after a verb, that verb's help.\n"
    "\n"
    "Every verb ends with status 2 when what it writes on standard output or\n"
    "standard error (a table, findings, a summary, a warning) cannot be written.\n";

// A CLI11 check answers "" to accept the value, else the problem, which
// CLI11 reports after the option's name and a colon.
std::string imsi_problem(std::string &value) {
  return all_digits(value, 6, 15) ? "" : "needs 6 to 15 digits";
}

// CLI11 converts text to an int with strtoll in base 0, so "010" would be
// eight and "0x10" sixteen. A SID is decimal: checked here and written
// without leading zeros before CLI11's range check converts it.
std::string sid_problem(std::string &value) {
  bool minus = !value.empty() && value[0] == '-';
  std::string digits = value.substr(minus);
  if (!all_digits(digits, 1, digits.size()))
    return "needs a whole number";
  digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
  value = (minus ? "-" : "") + digits;
  return "";
}

// An empty FILE would pass for no option given: no report, status 0.
std::string path_problem(std::string &value) { return value.empty() ? "needs a file name" : ""; }

std::string only_problem(std::string &value) {
  Markets markets;
  return read_markets(value, &markets) ? "" : "needs country codes and MCCs";
}

using Files = std::vector<std::string>;

void add_only(CLI::App *verb, Command *command) {
  verb->add_option("--only", command->only)->check(CLI::Validator(only_problem, "LIST"));
}

// Generating and extend, the verbs that write a table, say what made it.
void add_manifest(CLI::App *verb, Command *command) {
  verb->add_option("--manifest", command->manifest)
      ->type_name("FILE")
      ->check(CLI::Validator(path_problem, ""));
}

// --imsi and --sid in a group, which check gives --against too: the verb
// says how many of the group may be given.
CLI::App *add_run_options(CLI::App *verb, Command *command) {
  CLI::App *key = verb->add_option_group("key");
  key->add_option("--imsi", command->imsi)->type_name("DIGITS")->check(CLI::Validator(imsi_problem, ""));
  key->add_option_function<int>("--sid", [command](const int &sid) {
       command->sid = sid;
       command->sid_given = true;
     })
      ->type_name("N")
      ->transform(CLI::Validator(sid_problem, ""))
      ->check(CLI::Range(INT_MIN, INT_MAX));
  return key;
}

void add_generate(CLI::App *app, Command *command) {
  app->add_option("FILE", command->files);
  add_only(app, command);
  add_manifest(app, command);
}

void add_check(CLI::App *check, Command *command) {
  check->add_option("TABLE", command->table)->required();
  CLI::App *key = add_run_options(check, command);
  key->add_option("--against", command->against)->type_name("FILE");
  key->require_option(0, 1);
}

std::string key_problem(std::string &value) {
  NetworkId id;
  return read_network_id(value, &id) ? "" : "needs an MCC and an MNC, as 262-01";
}

// TABLE with --imsi or --sid; the databases FILE... with --key.
void add_explain(CLI::App *explain, Command *command) {
  explain->add_option("TABLE", command->files);
  CLI::App *key = add_run_options(explain, command);
  key->add_option("--key", command->key)->type_name("MCC-MNC")->check(CLI::Validator(key_problem, ""));
  key->require_option(1);
}

void add_verify(CLI::App *verify, Command *command) {
  verify->add_option("MANIFEST", command->checked_manifest)->required();
}

void add_diff(CLI::App *diff, Command *command) {
  diff->add_option("OLD", command->old_table)->required();
  diff->add_option("NEW", command->new_table)->required();
  diff->add_option("--gate", command->gate)->type_name("ALLOWED");
}

// Once TABLE is given, CLI11 hands what follows extend's "--" back to the
// app, and either FILE may be taken up first: extend's own go in front.
void add_extend(CLI::App *extend, Command *command) {
  extend->add_option("TABLE", command->table)->required();
  extend->add_option_function<Files>("FILE", [command](const Files &files) {
    command->files.insert(command->files.begin(), files.begin(), files.end());
  });
  extend->get_parent()->add_option_function<Files>("FILE", [command](const Files &files) {
    command->files.insert(command->files.end(), files.begin(), files.end());
  });
  add_only(extend, command);
  add_manifest(extend, command);
}

/// One verb, as git's builtin table lists its commands: the usage line,
/// --help and the dispatch are made from kVerbs alone, so that a verb is
/// added, renamed or explained in one place.
struct Verb {
  const char *name;  // the first argument that asks for it; "" for generating
  ExitStatus (*run)(const Command &command);
  void (*add_arguments)(CLI::App *verb, Command *command);
  const char *usage;  // its part of the usage line
  const char *help;   // its part of --help, VERB --help but the notes on --only
};

void add_lint(CLI::App *lint, Command *command) {
  lint->add_option("DB", command->files)->required();
}

// Generating comes first: it is what a run without a verb does.
const Verb kVerbs[] = {
    {"", cmd_generate, add_generate, "isp_table [--only LIST] [--manifest FILE] [FILE...]",
     kGenerateHelp},
    {"check", cmd_check, add_check,
     "isp_table check TABLE [--imsi DIGITS | --sid N | --against FILE...]", kCheckHelp},
    {"explain", cmd_explain, add_explain,
     "isp_table explain TABLE --imsi DIGITS | --sid N | isp_table explain [FILE...] --key MCC-MNC",
     kExplainHelp},
    {"diff", cmd_diff, add_diff, "isp_table diff OLD NEW [--gate ALLOWED]", kDiffHelp},
    {"extend", cmd_extend, add_extend,
     "isp_table extend TABLE [--only LIST] [--manifest FILE] [FILE...]", kExtendHelp},
    {"lint", cmd_lint, add_lint, "isp_table lint DB...", kLintHelp},
    {"verify", cmd_verify, add_verify, "isp_table verify MANIFEST", kVerifyHelp},
};

// The one usage line of every usage error: each verb's part, in order.
std::string usage() {
  std::string line = "usage: ";
  for (const Verb &v : kVerbs)
    line += (&v == kVerbs ? "" : " | ") + std::string(v.usage);
  return line + "\n";
}

// The whole tool's help: every verb's, then the notes on --only and
// --manifest, which two verbs share, then the tool's own options.
std::string whole_help() {
  std::string text;
  for (const Verb &v : kVerbs)
    text += (text.empty() ? "" : "\n") + std::string(v.help);
  return text + "\n" + kOnlyHelp + "\n" + kManifestHelp + "\n" + kHelpEnd;
}

// The help of `verb` read into `app`: a verb's own, with the notes on
// --only and --manifest when its arguments take them; the whole tool's without a verb.
std::string help(const Verb &verb, const CLI::App &app) {
  if (!*verb.name)
    return whole_help();
  std::string text = verb.help;
  if (!app.get_option_no_throw("--only"))
    return text;
  return text + "\n" + kOnlyHelp + "\n" + kManifestHelp;
}

// A verb is the first argument only: anywhere else the same word is a
// file. Without one, the first entry, generating, runs.
const Verb &find_verb(int argc, char **argv) {
  std::string first = argc > 1 ? argv[1] : "";
  for (const Verb &v : kVerbs)
    if (*v.name && first == v.name)
      return v;
  return kVerbs[0];
}

// The app holds the verb's arguments alone, so that whatever a verb
// leaves over is an error of CLI11's own. Returns the app that holds them.
CLI::App *build(CLI::App *app, const Verb &verb, Command *command) {
  app->set_help_flag("-h,--help");
  app->set_version_flag("--version", ISP_TABLE_VERSION);
  command->run = verb.run;
  CLI::App *own = *verb.name ? app->add_subcommand(verb.name) : app;  // inherits -h and --help
  verb.add_arguments(own, command);
  own->add_option("--json", command->json)->type_name("FILE")->check(CLI::Validator(path_problem, ""));
  return own;
}

// Whether `typed` is one edit from `word`: a character inserted, deleted
// or replaced, or two neighbouring characters swapped.
bool one_edit(const std::string &typed, const std::string &word) {
  const std::string &longer = typed.size() > word.size() ? typed : word;
  const std::string &shorter = typed.size() > word.size() ? word : typed;
  if (typed == word || longer.size() - shorter.size() > 1)
    return false;
  size_t i = 0;
  while (i < shorter.size() && typed[i] == word[i])
    i++;
  if (longer.size() != shorter.size())
    return longer.compare(i + 1, std::string::npos, shorter, i) == 0;
  bool swapped = i + 1 < typed.size() && typed[i] == word[i + 1] && typed[i + 1] == word[i];
  return typed.compare(i + 1 + swapped, std::string::npos, word, i + 1 + swapped) == 0;
}

// The verb a first argument that names no file was likely meant to be
// ("chekc"), or nullptr. A file of that name is a database to generate.
const char *mistyped_verb(int argc, char **argv) {
  struct stat st;
  if (argc < 2 || lstat(argv[1], &st) == 0 || errno != ENOENT)
    return nullptr;
  for (const Verb &v : kVerbs)
    if (*v.name && one_edit(argv[1], v.name))
      return v.name;
  return nullptr;
}

}  // namespace

bool read_command_line(int argc, char **argv, Command *command, ExitStatus *status) {
  if (const char *meant = mistyped_verb(argc, argv)) {
    std::string typed = argv[1];
    *status = report_usage_error(typed + ": no such file or verb; did you mean \"isp_table " +
                                 meant + "\"?");
    return false;
  }
  CLI::App app{"", "isp_table"};
  const Verb &verb = find_verb(argc, argv);
  CLI::App *own = build(&app, verb, command);
  try {
    app.parse(argc, argv);
    return true;
  } catch (const CLI::CallForHelp &) {
    fputs(help(verb, *own).c_str(), stdout);
    *status = ExitStatus::kClean;
  } catch (const CLI::CallForVersion &) {
    printf("isp_table %s\n", ISP_TABLE_VERSION);
    *status = ExitStatus::kClean;
  } catch (const CLI::ParseError &e) {
    *status = report_usage_error(e.what());
  }
  return false;
}

ExitStatus report_usage_error(const std::string &problem) {
  fprintf(stderr, "isp_table: %s\n%s", problem.c_str(), usage().c_str());
  return ExitStatus::kTrouble;
}
