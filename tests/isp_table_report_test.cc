// What isp_table reports for a machine: the code of every kind of the
// check's findings, and the explanation of single runs as a report.
// Expected values are worked out by hand.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "against.h"
#include "check.h"
#include "explain.h"
#include "isp_table_fixtures.h"

namespace {

using namespace std::string_literals;
using Codes = std::vector<std::string>;

const std::string kHeader = "Index,MCC,MNC,ISP,Region,System,APN,Number,User,Password\r\n";
const std::string kRow = "1,262,01,A,DE,HSDPA,web,*99#,NA,NA\r\n";

std::string written(const std::string &bytes) {
  char path[] = "/tmp/isp_table_report_XXXXXX";
  int fd = mkstemp(path);
  EXPECT_EQ(write(fd, bytes.data(), bytes.size()), (ssize_t)bytes.size());
  close(fd);
  return path;
}

Table loaded(const std::string &bytes) {
  std::string path = written(bytes);
  Table table;
  EXPECT_TRUE(load_table(path.c_str(), &table));
  unlink(path.c_str());
  return table;
}

// The codes of the findings on `line`, as "error code" or "warning code",
// in byte order.
Codes codes_on(const Findings &found, int line) {
  Codes codes;
  for (const Finding &f : found.list)
    if (f.line == line)
      codes.push_back((f.error ? "error " : "warning ") + f.code);
  std::sort(codes.begin(), codes.end());
  return codes;
}

// Each kind of finding, on a table made to draw it alone.
const struct CodeCase {
  const char *kind;
  std::string table;
  int line;
  Codes codes;
} kCodeCases[] = {
    {"UTF-16", "\xff\xfeI\0,\0\r\0\n\0"s, 0, {"error utf16-table"}},
    {"data row as header", kRow + kRow, 1, {"error header-is-data"}},
    {"bare LF", kHeader + "1,262,01,A,DE,HSDPA,web,*99#,NA,NA\n", 2, {"warning lf-line-end"}},
    {"NUL byte", kHeader + "1,262,01,A,DE,HSDPA,web,*99#,NA,N\0A\r\n"s, 2, {"error nul-byte"}},
    {"long line", kHeader + "1,262,01," + std::string(300, 'A') + ",DE,HSDPA,web,*99#,NA,NA\r\n",
     2, {"error line-past-read"}},
    {"CR inside", kHeader + "1,262,01,A\rB,DE,HSDPA,web,*99#,NA,NA\r\n", 2,
     {"error carriage-return"}},
    {"empty row", kHeader + kRow + ",,,,,,,,,\r\n", 3, {"warning empty-row"}},
    {"semicolons", kHeader + "1;262;01;A;DE;HSDPA;web;*99#;NA;NA\r\n", 2,
     {"error other-separator"}},
    {"leading quote", kHeader + "1,262,01,\"A,B\",DE,HSDPA,web,*99#,NA,NA\r\n", 2,
     {"error leading-quote"}},
    {"quoted APN", kHeader + "1,262,01,A,DE,HSDPA,\"web\",*99#,NA,NA\r\n", 2,
     {"error quoted-value"}},
    {"quoted name", kHeader + "1,262,01,\"A\",DE,HSDPA,web,*99#,NA,NA\r\n", 2,
     {"warning quoted-value"}},
    {"empty value", kHeader + "1,262,01,,DE,HSDPA,web,*99#,NA,NA\r\n", 2, {"error empty-value"}},
    {"comma", kHeader + "1,262,01,A,DE,HSDPA,web,*99#,NA,p,w\r\n", 2, {"error comma-in-value"}},
    {"nine fields", kHeader + "1,262,01,A,DE,HSDPA,web,*99#,NA\r\n", 2, {"error too-few-fields"}},
    {"MCC", kHeader + "1,26A,01,A,DE,HSDPA,web,*99#,NA,NA\r\n", 2, {"error not-digits"}},
    {"MNC", kHeader + "1,262,1,A,DE,HSDPA,web,*99#,NA,NA\r\n", 2, {"error not-digits"}},
    {"three-digit MNC", kHeader + "1,262,012,A,DE,HSDPA,web,*99#,NA,NA\r\n", 2,
     {"error three-digit-mnc"}},
    {"index NA", kHeader + "NA,262,01,A,DE,HSDPA,web,*99#,NA,NA\r\n", 2,
     {"error placeholder-index"}},
    {"shared index", kHeader + kRow + "1,262,02,B,DE,HSDPA,other,*99#,NA,NA\r\n", 3,
     {"warning shared-index"}},
    {"long APN", kHeader + "1,262,01,A,DE,HSDPA," + std::string(64, 'a') + ",*99#,NA,NA\r\n", 2,
     {"error too-long"}},
    {"NA in APN", kHeader + "1,262,01,A,DE,HSDPA,webNA,*99#,NA,NA\r\n", 2,
     {"error placeholder-in-value"}},
    {"NA in region", kHeader + "1,262,01,A,XNA,HSDPA,web,*99#,NA,NA\r\n", 2,
     {"warning placeholder-in-value"}},
    {"LTE", kHeader + "1,262,01,A,DE,LTE,web,*99#,NA,NA\r\n", 2, {"warning unknown-technology"}},
    {"underscore", kHeader + "1,262,01,A,DE,HSDPA,we_b,*99#,NA,NA\r\n", 2,
     {"error not-apn-byte"}},
    {"tab", kHeader + "1,262,01,A,DE,HSDPA,web,*99#,u\tx,NA\r\n", 2, {"error control-byte"}},
    {"umlaut", kHeader + "1,262,01,A,DE,HSDPA,web,*99#,NA,p\xc3\xa4\r\n", 2,
     {"warning non-ascii-byte"}},
    {"letter", kHeader + "1,262,01,A,DE,HSDPA,web,*99#x,NA,NA\r\n", 2,
     {"warning not-dial-byte"}},
    {"space", kHeader + "1,262,01,A,DE,HSDPA,web,*99#, u,NA\r\n", 2, {"warning space-at-edge"}},
    {"shadowed", kHeader + kRow + "2,262,01,B,DE,HSDPA,web,*99#,NA,NA\r\n", 3, {"error shadowed"}},
    {"early placeholder", kHeader + "1,NA,NA,Any,XX,CDMA2000,NA,#777,NA,NA\r\n" +
                              "2,262,01,A,DE,HSDPA,web,*99#,NA,NA\r\n",
     2, {"warning early-placeholder-row"}},
};

TEST(Report, EachKindOfFindingHasItsCode) {
  for (const CodeCase &c : kCodeCases) {
    Findings found = check_table(loaded(c.table));
    EXPECT_EQ(codes_on(found, c.line), c.codes) << c.kind;
    EXPECT_EQ(found.list.size(), c.codes.size()) << c.kind << ": findings on other lines";
  }
}

// --against's three forms, on the fixtures check.sh holds them to.
TEST(Report, EachFormOfAgainstHasItsCode) {
  const struct {
    std::string row;
    Codes databases;
    const char *code;
  } cases[] = {
      {"1,310,26,Row,US,HSDPA,internet.host,*99#,NA,NA\r\n", {"providers.xml"}, "apn-not-listed"},
      {"1,405,854,Row,IN,HSDPA,iot.gid,*99#,NA,NA\r\n", {"providers.xml"},
       "apn-of-other-networks"},
      {"1,440,11,Row,JP,HSDPA,big.host,*99#,NA,NA\r\n", {"rank_providers.xml", "rank_apns.xml"},
       "another-operators-apn"},
  };
  for (const auto &c : cases) {
    std::vector<AgainstFinding> found =
        check_against(loaded(kHeader + c.row), load_fixtures(c.databases));
    ASSERT_EQ(found.size(), 1u) << c.row;
    EXPECT_EQ(found[0].line, 2) << c.row;
    EXPECT_STREQ(found[0].code, c.code) << c.row;
  }
}

// A machine looks a code up on the page: every code above is in its list.
TEST(Report, EveryCodeIsOnTheManualPage) {
  std::ifstream page(ISP_TABLE_FIXTURES "/../../man/isp_table.1");
  std::stringstream text;
  text << page.rdbuf();
  Codes all = {"apn-not-listed", "apn-of-other-networks", "another-operators-apn"};
  for (const CodeCase &c : kCodeCases)
    for (const std::string &code : c.codes)
      all.push_back(code.substr(code.find(' ') + 1));
  for (const std::string &code : all)
    EXPECT_NE(text.str().find("\n.It Li " + code + "\n"), std::string::npos) << code;
}

// explain's report of single runs: the keys tried, each with the line
// that answers it, and the profile written. Under MCC 405 the three-digit
// key comes first; a SID outside the SID table is the empty identity,
// which only the placeholder row answers; a SID below 1 looks up nothing.
TEST(Report, ExplainGivesTheKeysSearchedAndTheAnswer) {
  Table table = loaded(kHeader + "1,405,85,Short,IN,HSDPA,short.apn,*99#,NA,NA\r\n" +
                       "2,405,854,Long,IN,HSDPA,long.apn,*99#,u,p\r\n" +
                       "3,262,01,T,DE,HSDPA,web,*99#,NA,NA\r\n" +
                       "4,NA,NA,Any,XX,CDMA2000,NA,#777,NA,NA\r\n");
  const char *long_apn = R"({"line": 3, "index": "2", "system": 0, "apn": "long.apn",
                             "user": "u", "password": "p", "number": "*99#"})";
  const char *short_apn = R"({"line": 2, "index": "1", "system": 0, "apn": "short.apn",
                              "user": "", "password": "", "number": "*99#"})";
  const char *any = R"({"line": 5, "index": "4", "system": 1, "apn": "",
                        "user": "", "password": "", "number": "#777"})";
  const struct {
    const char *imsi;  // or null for the SID
    int sid;
    bool answered;
    const char *searched, *answer;
  } cases[] = {
      {"405854123456", 0, true, R"([{"mcc": "405", "mnc": "854", "line": 3}])", long_apn},
      {"405851123456", 0, true,
       R"([{"mcc": "405", "mnc": "851", "line": null}, {"mcc": "405", "mnc": "85", "line": 2}])",
       short_apn},
      {"262021234567", 0, false, R"([{"mcc": "262", "mnc": "02", "line": null}])", "null"},
      {nullptr, 3000, true, R"([{"mcc": "", "mnc": "", "line": 5}])", any},
      {nullptr, 14494, false, R"([{"mcc": "404", "mnc": "80", "line": null}])", "null"},
      {nullptr, 0, false, "[]", "null"},
  };
  FILE *out = fopen("/dev/null", "w");
  for (const auto &c : cases) {
    Json report = Json::object();
    bool answered = c.imsi ? explain_imsi(table, c.imsi, out, &report)
                           : explain_sid(table, c.sid, out, &report);
    std::string which = c.imsi ? c.imsi : "SID " + std::to_string(c.sid);
    EXPECT_EQ(answered, c.answered) << which;
    EXPECT_EQ(report["searched"], Json::parse(c.searched)) << which;
    EXPECT_EQ(report["answer"], Json::parse(c.answer)) << which;
  }
  fclose(out);
}

}  // namespace
