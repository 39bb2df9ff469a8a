// isp_table run as its users run it, through the shell: what its inputs
// and outputs must not let through, and the messages that say so. Each
// case runs in a folder of its own holding providers.xml and
// extend_table.csv of the fixtures, with "t.csv" a table of its own.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "verb_entries.h"

namespace {

struct Case {
  const char *name;
  const char *command;  // a shell command line; "$T" is isp_table
  int status;
  int stream;        // 1 or 2: where `line` must stand
  const char *line;  // a whole line of that stream; nullptr: nothing to look for
};

std::ostream &operator<<(std::ostream &os, const Case &c) { return os << c.command; }
std::string slurp(const std::string &path) {
  std::ostringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

// t.csv: a header; a row of 262-01 after it.
#define HEADER "printf 'I,M,N,O,R,S,A,D,U,P\\r\\n' > t.csv; "
#define ROW "printf '7,262,01,Op,DE,HSDPA,web,*99#,NA,NA\\r\\n' >> t.csv; "

class Cli : public testing::TestWithParam<Case> {};

TEST_P(Cli, EndsAndSays) {
  const Case &c = GetParam();
  char dir[] = "/tmp/isp_table_cli.XXXXXX";
  ASSERT_TRUE(mkdtemp(dir));
  std::string folder = dir;
  std::string script = "T='" ISP_TABLE "'; cd '" + folder + "' && cp '" ISP_TABLE_FIXTURES
                       "'/providers.xml '" ISP_TABLE_FIXTURES "'/extend_table.csv . && { " +
                       c.command + "; } > out 2> err";
  int status = system(script.c_str());
  std::string out = slurp(folder + "/out"), err = slurp(folder + "/err");
  system(("rm -rf '" + folder + "'").c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), c.status) << err;
  if (c.line) {
    std::string text = "\n" + (c.stream == 1 ? out : err);
    EXPECT_NE(text.find("\n" + std::string(c.line) + "\n"), std::string::npos)
        << "stdout:\n" << out << "stderr:\n" << err;
  }
}

#define EMPTIED(name, verb)                                                 \
  "isp_table: " name " is empty: no table to " verb " (was it emptied by " \
  "this command's own output, \"> " name "\" or \"| tee " name "\"?)"

// An empty TABLE is refused whatever verb reads it as the kept or checked
// table; a header alone is a table, and an empty OLD a first release.
const Case kEmptyTables[] = {
    {"check", ": > t.csv; \"$T\" check t.csv", 2, 2, EMPTIED("t.csv", "check")},
    {"explain", ": > t.csv; \"$T\" explain t.csv --imsi 262011", 2, 2, EMPTIED("t.csv", "explain")},
    {"sid", ": > t.csv; \"$T\" check t.csv --sid 5", 2, 2, EMPTIED("t.csv", "explain")},
    {"extend", ": > t.csv; \"$T\" extend t.csv providers.xml", 2, 2, EMPTIED("t.csv", "extend")},
    {"diff_new", ": > t.csv; \"$T\" diff extend_table.csv t.csv", 2, 2,
     EMPTIED("t.csv", "compare")},
    {"null", "\"$T\" check /dev/null", 2, 2, "isp_table: /dev/null is empty: no table to check"},
    {"pipe", ": | \"$T\" extend - providers.xml", 2, 2,
     "isp_table: standard input is empty: no table to extend (was its file emptied by this "
     "command's own output, \"> FILE\" or \"| tee FILE\"?)"},
    {"header", HEADER "\"$T\" check t.csv", 0, 1, "t.csv: 0 errors, 0 warnings, 0 rows"},
    // MCC 262's hundred groups, five SID ranges and "SID other".
    {"first_release", HEADER ROW "\"$T\" diff /dev/null t.csv", 1, 1,
     "1 of 106 SIM groups change: 0 changed, 1 gaining, 0 losing"},
};

// Lost findings, summaries and warnings never pass for a result: written
// to a full disk, or to a closed standard error that the next file opened
// (a piped table's copy) would otherwise take.
#define CUT "printf '1,262,01\\r\\n' >> t.csv; "  // a row of three fields: an error
const Case kLostOutput[] = {
    {"summary", "\"$T\" providers.xml > /dev/null 2> /dev/full", 2, 1, nullptr},
    {"extend_summary", "\"$T\" extend extend_table.csv providers.xml >/dev/null 2>/dev/full", 2, 1,
     nullptr},
    {"extend_piped_closed",
     "cat extend_table.csv | \"$T\" extend - providers.xml > /dev/null 2>&-", 2, 1, nullptr},
    {"findings", HEADER CUT "\"$T\" extend t.csv providers.xml", 1, 1, nullptr},
    {"findings_lost", HEADER CUT "\"$T\" extend t.csv providers.xml 2> /dev/full", 2, 1, nullptr},
    {"only_warning", "\"$T\" --only zz providers.xml > /dev/null 2> /dev/full", 2, 1, nullptr},
    {"nothing_lost", HEADER ROW "\"$T\" check t.csv 2>&-", 0, 1,
     "t.csv: 0 errors, 0 warnings, 1 row"},
};

#define NEITHER                                                                      \
  "not a provider database (serviceproviders.xml), an Android APN database (apns-conf.xml) " \
  "or a carrier identity database (carrier_list.textpb): "
#define MEANT "no such file or verb; did you mean \"isp_table "

// Messages a user can act on: what was given, and what to give instead.
const Case kMessages[] = {
    {"db_stdin", "\"$T\" - < providers.xml", 2, 2,
     "isp_table: -: a database is read from a file, not from standard input: give its path"},
    {"against_stdin", HEADER "\"$T\" check t.csv --against - < providers.xml", 2, 2,
     "isp_table: -: a database is read from a file, not from standard input: give its path"},
    {"table_as_db", HEADER "\"$T\" t.csv", 2, 2, "isp_table: cannot read t.csv: " NEITHER
     "not XML at all; its first line, \"I,M,N,O,R,S,A,D,U,P\", looks like an operator table: "
     "tables are read by check, explain, diff and extend"},
    {"nine_fields", "printf '1,2,3,4,5,6,7,8,9\\r\\n' > d.xml; \"$T\" d.xml", 2, 2,
     "isp_table: cannot read d.xml: " NEITHER
     "not XML at all; its first line is \"1,2,3,4,5,6,7,8,9\""},
    {"text", "printf 'a\\tb\\n<x/>' > d.xml; \"$T\" d.xml", 2, 2,
     "isp_table: cannot read d.xml: " NEITHER "not XML at all; its first line is \"a\\tb\""},
    {"root", "printf '<?xml version=\"1.0\"?>\\n<providers/>' > d.xml; \"$T\" extend t.csv d.xml",
     2, 2,
     "isp_table: cannot read d.xml: " NEITHER "XML whose root element is <providers>, not "
     "<serviceproviders> or <apns>"},
    // One edit from a verb, as the first argument and no file's name: a
    // swap, a deletion, an insertion, a replacement.
    {"swap", "\"$T\" chekc t.csv", 2, 2, "isp_table: chekc: " MEANT "check\"?"},
    {"deletion", "\"$T\" dif a b", 2, 2, "isp_table: dif: " MEANT "diff\"?"},
    {"insertion", "\"$T\" extends t.csv", 2, 2, "isp_table: extends: " MEANT "extend\"?"},
    {"replacement", "\"$T\" chack t.csv", 2, 2, "isp_table: chack: " MEANT "check\"?"},
    {"two_edits", "\"$T\" chk", 2, 2, "isp_table: cannot read chk: No such file or directory"},
    {"a_file", ": > chekc; \"$T\" chekc", 2, 2,
     "isp_table: cannot read chekc: " NEITHER "the file holds no text"},
    {"not_first", "\"$T\" providers.xml chekc", 2, 2,
     "isp_table: cannot read chekc: No such file or directory"},
    // A finding on the file as a whole names no line.
    {"utf16", "printf '\\377\\376I\\000,\\000M\\000' > t.csv; \"$T\" check t.csv", 1, 1,
     "t.csv: error: the table is UTF-16, little-endian (it begins with the byte-order mark FF FE): "
     "isp_pick reads bytes and ends a row at its first NUL byte, so it returns no row of it; save "
     "it as UTF-8 or ASCII text"},
    // The end tag's name, where the mismatch shows, begins in column 3.
    {"malformed",
     "printf '<serviceproviders>\\n  <country>\\n</serviceproviders>' > d.xml; \"$T\" d.xml", 2, 2,
     "isp_table: cannot read d.xml: line 3, column 3: Start-end tags mismatch"},
};

// extend's counts say what was written: nothing when the four indexes the
// public row of 310-26 may take (2, 4, 6, 8 before 31026) are all kept.
#define FULL                                                                   \
  HEADER "for i in 2 4 6 8; do printf \"${i}31026,208,1$i,K,FR,HSDPA,k,*99#,NA,NA\\r\\n\" " \
         ">> t.csv; done; \"$T\" extend t.csv providers.xml"
const Case kCounts[] = {
    {"none_written", FULL, 1, 2, "  public rows written: 0"},
    {"none_kept", FULL, 1, 2, "  rows kept: 0"},
};

#define USAGE                                                                                    \
  "usage: isp_table [--only LIST] [--manifest FILE] [FILE...] | isp_table check TABLE "         \
  "[--imsi DIGITS | --sid N | --against FILE...] | isp_table explain TABLE --imsi DIGITS | "     \
  "--sid N | isp_table explain [FILE...] --key MCC-MNC | isp_table diff OLD NEW [--gate "       \
  "ALLOWED] | isp_table extend TABLE [--only LIST] [--manifest FILE] [FILE...] | isp_table "   \
  "lint DB... | isp_table verify MANIFEST"

// A usage error ends with 2 and the usage line of every verb; a first
// argument one letter long is no verb mistyped, whatever its distance.
const Case kUsageErrors[] = {
    {"mistyped", "\"$T\" chekc t.csv", 2, 2, USAGE},
    {"no_table", "\"$T\" check", 2, 2, USAGE},
    {"unknown_option", "\"$T\" diff a b --imsi 262011", 2, 2, USAGE},
    {"one_letter", "\"$T\" x", 2, 2, "isp_table: cannot read x: No such file or directory"},
};

// Each verb's outcomes, each with its own status: 0 clean, 1 what the
// verb reports, 2 what it cannot do.
const Case kStatuses[] = {
    {"generate", "\"$T\" providers.xml > /dev/null", 0, 1, nullptr},
    {"check_clean", HEADER ROW "\"$T\" check t.csv", 0, 1, "t.csv: 0 errors, 0 warnings, 1 row"},
    {"check_errors", HEADER CUT "\"$T\" check t.csv", 1, 1, nullptr},
    {"check_unreadable", "\"$T\" check none.csv", 2, 2, nullptr},
    {"explain_answers", HEADER ROW "\"$T\" explain t.csv --imsi 262011", 0, 1, nullptr},
    {"explain_none", HEADER ROW "\"$T\" check t.csv --imsi 262021", 1, 1, nullptr},
    {"explain_sid_0", HEADER ROW "\"$T\" explain t.csv --sid 0", 1, 1, nullptr},
    {"key_row", "\"$T\" explain providers.xml --key 262-07", 0, 1, nullptr},
    {"key_none", "\"$T\" explain providers.xml --key 999-99", 1, 1, nullptr},
    {"key_unreadable", "\"$T\" explain none.xml --key 262-07", 2, 2, nullptr},
    {"diff_same", "\"$T\" diff extend_table.csv extend_table.csv", 0, 1, nullptr},
    {"extend", "\"$T\" extend extend_table.csv providers.xml > /dev/null", 0, 1, nullptr},
    {"extend_unreadable", "\"$T\" extend extend_table.csv none.xml", 2, 2, nullptr},
};

const auto kName = [](const testing::TestParamInfo<Case> &i) { return i.param.name; };
INSTANTIATE_TEST_SUITE_P(EmptyTable, Cli, testing::ValuesIn(kEmptyTables), kName);
INSTANTIATE_TEST_SUITE_P(LostOutput, Cli, testing::ValuesIn(kLostOutput), kName);
INSTANTIATE_TEST_SUITE_P(Messages, Cli, testing::ValuesIn(kMessages), kName);
INSTANTIATE_TEST_SUITE_P(Counts, Cli, testing::ValuesIn(kCounts), kName);
INSTANTIATE_TEST_SUITE_P(UsageErrors, Cli, testing::ValuesIn(kUsageErrors), kName);
INSTANTIATE_TEST_SUITE_P(Statuses, Cli, testing::ValuesIn(kStatuses), kName);

// A command line read as isp_table reads it: whether the run goes on, and
// its status when it ends here.
bool read_line(std::vector<std::string> args, Command *command, ExitStatus *status) {
  args.insert(args.begin(), "isp_table");
  std::vector<char *> argv;
  for (std::string &arg : args)
    argv.push_back(&arg[0]);
  return read_command_line(int(argv.size()), argv.data(), command, status);
}

struct Dispatch {
  const char *name;
  std::vector<std::string> args;
  ExitStatus (*run)(const Command &);
};
std::ostream &operator<<(std::ostream &os, const Dispatch &d) { return os << d.name; }

// A verb's name runs its function as the first argument only.
const Dispatch kDispatches[] = {
    {"none", {}, cmd_generate},
    {"files", {"a.xml", "check"}, cmd_generate},
    {"check", {"check", "t.csv"}, cmd_check},
    {"check_imsi", {"check", "t.csv", "--imsi", "262011"}, cmd_check},
    {"explain", {"explain", "t.csv", "--sid", "5"}, cmd_explain},
    {"explain_key", {"explain", "--key", "262-01"}, cmd_explain},
    {"diff", {"diff", "a.csv", "b.csv"}, cmd_diff},
    {"extend", {"extend", "t.csv", "a.xml"}, cmd_extend},
    {"lint", {"lint", "a.xml"}, cmd_lint},
    {"verify", {"verify", "m.json"}, cmd_verify},
};

class Dispatches : public testing::TestWithParam<Dispatch> {};

TEST_P(Dispatches, RunsItsVerb) {
  Command command;
  ExitStatus status;
  ASSERT_TRUE(read_line(GetParam().args, &command, &status));
  EXPECT_EQ(command.run, GetParam().run);
}

INSTANTIATE_TEST_SUITE_P(Verbs, Dispatches, testing::ValuesIn(kDispatches),
                         [](const testing::TestParamInfo<Dispatch> &i) { return i.param.name; });

struct Help {
  const char *name;
  std::vector<std::string> args;
  std::vector<std::string> heads;  // its lines that begin "isp_table " or "--"
};
std::ostream &operator<<(std::ostream &os, const Help &h) { return os << h.name; }

#define CHECK_HEADS \
  "isp_table check TABLE", "isp_table check TABLE --against FILE...", \
      "isp_table check TABLE --imsi DIGITS | --sid N"
#define EXPLAIN_HEADS \
  "isp_table explain TABLE --imsi DIGITS", "isp_table explain TABLE --sid N", \
      "isp_table explain [FILE...] --key MCC-MNC"
#define DIFF_HEADS "isp_table diff OLD NEW", "isp_table diff OLD NEW --gate ALLOWED"
#define ONLY_HEAD "--only LIST (generating and extend)"
#define MANIFEST_HEAD "--manifest FILE (generating and extend)"

// VERB --help is that verb's help alone, with the notes on --only and
// --manifest when it takes them; --help alone is every verb's, then the tool's own.
const Help kHelps[] = {
    {"whole",
     {"--help"},
     {"isp_table [FILE...]", CHECK_HEADS, EXPLAIN_HEADS, DIFF_HEADS,
      "isp_table extend TABLE [FILE...]", "isp_table lint DB...", "isp_table verify MANIFEST",
      ONLY_HEAD, MANIFEST_HEAD, "--json FILE (every verb)", "isp_table --help | --version"}},
    {"check", {"check", "--help"}, {CHECK_HEADS}},
    {"explain", {"explain", "-h"}, {EXPLAIN_HEADS}},
    {"diff", {"diff", "a.csv", "--help"}, {DIFF_HEADS}},
    {"extend", {"extend", "--help"}, {"isp_table extend TABLE [FILE...]", ONLY_HEAD, MANIFEST_HEAD}},
    {"lint", {"lint", "--help"}, {"isp_table lint DB..."}},
    {"verify", {"verify", "--help"}, {"isp_table verify MANIFEST"}},
};

class Helps : public testing::TestWithParam<Help> {};

TEST_P(Helps, PrintsItsVerbs) {
  Command command;
  ExitStatus status;
  testing::internal::CaptureStdout();
  bool runs = read_line(GetParam().args, &command, &status);
  std::istringstream help(testing::internal::GetCapturedStdout());
  ASSERT_FALSE(runs);
  EXPECT_EQ(status, ExitStatus::kClean);
  std::vector<std::string> heads;
  for (std::string line; std::getline(help, line);)
    if (line.rfind("isp_table ", 0) == 0 || line.rfind("--", 0) == 0)
      heads.push_back(line);
  EXPECT_EQ(heads, GetParam().heads);
}

INSTANTIATE_TEST_SUITE_P(Verbs, Helps, testing::ValuesIn(kHelps),
                         [](const testing::TestParamInfo<Help> &i) { return i.param.name; });

}  // namespace
