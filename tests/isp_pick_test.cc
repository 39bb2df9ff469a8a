// Unit tests of isp_pick's readers and store client. They run in a private
// /tmp and /var, so the fixed router paths are the test's own.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <map>
#include <regex>
#include <set>
#include <string>

#include "fake_shell.h"
#include "identity.h"
#include "imsi_capture.h"
#include "operator_table.h"
#include "sid_query.h"
#include "sid_table.h"
#include "store_client.h"
#include "run.h"

static void put(const char *path, const std::string &text) {
  FILE *f = fopen(path, "w");
  fwrite(text.data(), 1, text.size(), f);
  fclose(f);
}

static void set_identity(const char *m, const char *n) {
  snprintf(mcc, sizeof mcc, "%s", m);
  snprintf(mnc, sizeof mnc, "%s", n);
}

struct CaptureCase {
  std::string capture;
  int rc;
  const char *mcc, *mnc;
};

TEST(ImsiCapture, ReadsIdentityOrLeavesItUntouched) {
  const CaptureCase cases[] = {
      {"AT+CIMI\r\n+CIMI: 405891234567890\r\nOK\r\n", 1, "405", "891"},
      {"ATE0\nAT+CIMI\n404450123456789\nOK\n", 1, "404", "450"},
      {"404450123456789\nAT+CIMI\nOK\n", -1, "zz", "zz"},
      {"AT+CIMI\n\nERROR\nAT+CIMI\nOK\n", -1, "zz", "zz"},
      {"AT+CIMI\n+CIMI:  404450\n310260123\n", 1, "310", "260"},
      {"AT+CIMI\n+CIMI:404450123\n", 1, "044", "501"},
      {"AT+CIMI\n40445\n", 1, "404", "45\n"},
      {"AT+CIMI\n12\n", 1, "12\n", ""},
      {"AT+CIMI\n+CIMI:", -1, "zz", "zz"},
      {"AT+CIMI\n+CIMI:\n310260\n", 1, "310", "260"},
      {"AT+CIMI\n" + std::string(159, 'A') + "404450\n", 1, "404", "450"},
      {"AT+CIMI\n" + std::string(1, '\0') + "1\n9991234\n", 1, "999", "123"},
  };
  for (const CaptureCase &c : cases) {
    SCOPED_TRACE(c.capture);
    put("/tmp/cimi_output", c.capture);
    set_identity("zz", "zz");
    EXPECT_EQ(c.rc, getplmn());
    EXPECT_STREQ(c.mcc, mcc);
    EXPECT_STREQ(c.mnc, mnc);
  }
  unlink("/tmp/cimi_output");
  EXPECT_EQ(-1, getplmn());
}

static const char kHeader[] = "Index,MCC,MNC,ISP,Region,System,APN,Number,User,Password\r\n";
static const char kSearch[] = "------ searching [404,45] ------\n";
static const char kPrint[] = "------ print isp information -----\nINDEX:";

struct TableCase {
  std::string rows;
  int rc;
  std::string printed;  // the record line after "INDEX:", empty when none
};

TEST(OperatorTable, FindsFirstCompleteMatchingRow) {
  const std::string far = std::string(64, 'a');
  const TableCase cases[] = {
      {"1,404,45,Airtel,IN,HSDPA,airtelgprs.com,*99#,NA,NA\r\n", 1,
       "1,MCC:404, MNC:45, ISP:Airtel, Region:IN, system:0, APN:airtelgprs.com, Number:*99#, USR:, PWD: \n"},
      {"2,404,45,X,IN,CDMA2000,a,#777,u,secret\n", 1,
       "2,MCC:404, MNC:45, ISP:X, Region:IN, system:1, APN:a, Number:#777, USR:u, PWD:secret \n"},
      {"3,,404,,45,X,IN,TD-SCDMA,a,n,u,secret,extra\r\n", 1,
       "3,MCC:404, MNC:45, ISP:X, Region:IN, system:2, APN:a, Number:n, USR:u, PWD:secret \n"},
      {"4,404,45,CHINA,IN,HSDPA CDMA2000,a,n,u,blankly\r\n", 1,
       "4,MCC:404, MNC:45, ISP:, Region:IN, system:0, APN:a, Number:n, USR:u, PWD: \n"},
      {"5,404,450,X,IN,HSDPA,a,n,u,p\r\n6,404,45,Y,IN,LTE,b,n,u,p\r\n", 1,
       "6,MCC:404, MNC:45, ISP:Y, Region:IN, system:0, APN:b, Number:n, USR:u, PWD:p \n"},
      {"7,404,45,X,IN,HSDPA," + far + ",n,u,p\r\n8,404,45,Y,IN,HSDPA,b,n,u,p\r\n", 1,
       "8,MCC:404, MNC:45, ISP:Y, Region:IN, system:0, APN:b, Number:n, USR:u, PWD:p \n"},
      {"9,404,45,X,IN,HSDPA,a,n,u\r\n", -1, ""},
      {"1,404,45,X,IN,HSDPA,a,0123456789abcdef,u,p\r\n", -1, ""},
      {"1,404,45,X,IN,HSDPA,a,n,u," + std::string(70, 'p') + "\r\n", -1, ""},
      {"1,404,45,X,IN,HSDPA,a,n,u," + std::string(69, 'p') + "\r\n", 1,
       "1,MCC:404, MNC:45, ISP:X, Region:IN, system:0, APN:a, Number:n, USR:u, PWD:" +
           std::string(69, 'p') + " \n"},
  };
  for (const TableCase &c : cases) {
    SCOPED_TRACE(c.rows);
    put("/var/3.5G_Infomation.csv", kHeader + c.rows);
    set_identity("404", "45");
    isp_info.system = 0;
    testing::internal::CaptureStderr();
    EXPECT_EQ(c.rc, parse());
    std::string printed = c.printed.empty() ? "" : kPrint + c.printed;
    EXPECT_EQ(kSearch + printed, testing::internal::GetCapturedStderr());
  }
}

TEST(OperatorTable, HeaderAndPlaceholderRules) {
  set_identity("", "");
  put("/var/3.5G_Infomation.csv", std::string(kHeader) + "1,NA,blank,F,XX,HSDPA,fb,n,u,p\r\n");
  EXPECT_EQ(1, parse());
  EXPECT_STREQ("fb", isp_info.apn);
  set_identity("404", "45");
  put("/var/3.5G_Infomation.csv", "1,404,45,X,IN,HSDPA,a,n,u,p\r\n");
  EXPECT_EQ(-1, parse());
  put("/var/3.5G_Infomation.csv", std::string(249, 'H') + "2,404,45,X,IN,HSDPA,a,n,u,p\r\n");
  EXPECT_EQ(1, parse());
  unlink("/var/3.5G_Infomation.csv");
  testing::internal::CaptureStderr();
  EXPECT_EQ(-1, parse());
  EXPECT_EQ(std::string(kSearch) + "error to open isp information file",
            testing::internal::GetCapturedStderr());
}

// Rows that cross the reader's 64 KiB blocks come out whole, as do the
// pieces of a line longer than a row.
TEST(OperatorTable, RowsAcrossReadBlocks) {
  const std::string row = "7,404,45,X,IN,HSDPA,a,n,u,secret\r\n";
  for (size_t before : {65536 - 1, 65536 - 5, 65536 - 100, 65536 - 249, 65536 + 3}) {
    std::string table = kHeader;
    while (table.size() + 200 < before)
      table += "0,000,00," + std::string(190, 'p') + "\n";
    table += "0,000,00," + std::string(before - table.size() - 10, 'q') + "\n";
    put("/var/3.5G_Infomation.csv", table + std::string(249, 'L') + row);
    set_identity("404", "45");
    snprintf(isp_info.pwd, sizeof isp_info.pwd, "stale");
    EXPECT_EQ(1, parse()) << before;
    EXPECT_STREQ("secret", isp_info.pwd) << before;
  }
}

struct ReplyCase {
  const char *reply;
  int rc;
  const char *value;
};

TEST(StoreClient, ReadsValueFromFirstReplyLine) {
  const std::string long_apn = "G_APN=\"" + std::string(60, 'x') + "\"\n";
  const ReplyCase cases[] = {
      {"G_APN=\"internet\"\nmore\n", 1, "internet"},
      {"G_APN=\"\"\n", 1, ""},
      {"G_APN=\"a\"b\"\n", 1, "a\"b"},
      {"G_SYSTEM=1\n", 1, "1"},
      {"G_SYSTEM=\n", 1, ""},
      {long_apn.c_str(), 1, "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"},
      {"", -1, "untouched"},
      {"garbage\n", -1, "untouched"},
      {"G_APN=\"\n", -1, "untouched"},
      {"G_SYSTEM=", -1, "untouched"},
  };
  for (const ReplyCase &c : cases) {
    SCOPED_TRACE(c.reply);
    reset_fake_shell();
    command_replies["flash get G_APN"] = c.reply;
    char value[kMibValueSize] = "untouched";
    EXPECT_EQ(c.rc, get_mib(value, "G_APN"));
    EXPECT_STREQ(c.value, value);
  }
}

static void set_profile(const char *apn, int system) {
  isp_info = isp_profile{"7", "404", "45", "IN", "X", system, "", "u", "p", "*99#"};
  snprintf(isp_info.apn, sizeof isp_info.apn, "%s", apn);
  reset_fake_shell();
  command_replies = {{"flash get G_SYSTEM", "G_SYSTEM=junk\n"},
                     {"flash get G_APN", "G_APN=\"web\"\n"},
                     {"flash get G_USERNAME", "G_USERNAME=\"u\"\n"},
                     {"flash get G_PASSWORD", "G_PASSWORD=\"p\"\n"},
                     {"flash get G_NUMBER", "G_NUMBER=\"*99#\"\n"}};
}

static std::vector<std::string> sets_run() {
  std::vector<std::string> sets;
  for (const std::string &c : commands_run)
    if (c.compare(0, 10, "flash set ") == 0)
      sets.push_back(c);
  return sets;
}

TEST(StoreClient, WritesIndexAlwaysAndOtherItemsWhenDifferent) {
  set_profile("web", 0);
  set_to_mib();
  EXPECT_EQ(std::vector<std::string>{"flash set G_ISP_INDEX \"7\""}, sets_run());
  set_profile("a\"b\\c$d`e", 1);
  command_replies.erase("flash get G_NUMBER");
  set_to_mib();
  EXPECT_EQ((std::vector<std::string>{"flash set G_ISP_INDEX \"7\"", "flash set G_SYSTEM 1",
                                      "flash set G_APN \"a\\\"b\\\\c\\$d\\`e\"",
                                      "flash set G_NUMBER \"*99#\""}),
            sets_run());
}

// The items written are the ones the column rules name, each once: the
// host tool reads the same table to say what the store gets.
TEST(StoreClient, WritesTheStoreItemOfEachColumnRule) {
  set_profile("web", 0);
  not_started = {"flash get"};  // every item then differs
  set_to_mib();
  std::multiset<std::string> written, named;
  for (const std::string &c : sets_run())
    written.insert(c.substr(10, c.find(' ', 10) - 10));
  for (const ColumnRule &rule : kColumnRules)
    if (rule.store_item)
      named.insert(rule.store_item);
  EXPECT_EQ(named, written);
  not_started.clear();
}

// A value as long as its field holds is taken whole; one byte more and the
// row is passed over, as a row the record cannot hold. The widths are the
// record's fields less their NUL: an 8-byte index, 64-byte name, region and
// APN, a 16-byte dial number, 70-byte user name and password. The host
// tool's check holds rows to the same widths.
TEST(OperatorTable, TakesAValueAsLongAsItsFieldHolds) {
  const struct {
    RowColumn column;
    size_t width;
    const char *(*taken)();
  } cases[] = {
      {kIndex, 7, [] { return (const char *)isp_info.index; }},
      {kIsp, 63, [] { return (const char *)isp_info.isp; }},
      {kRegion, 63, [] { return (const char *)isp_info.region; }},
      {kApn, 63, [] { return (const char *)isp_info.apn; }},
      {kNumber, 15, [] { return (const char *)isp_info.number; }},
      {kUsr, 69, [] { return (const char *)isp_info.usr; }},
      {kPwd, 69, [] { return (const char *)isp_info.pwd; }},
  };
  set_identity("404", "45");
  for (const auto &c : cases) {
    EXPECT_EQ(kColumnRules[c.column].width, c.width) << kColumnRules[c.column].name;
    for (size_t length : {c.width, c.width + 1}) {
      std::string values[kColumns] = {"1", "404", "45", "X", "IN", "HSDPA", "a", "n", "u", "p"},
                  row;
      values[c.column] = std::string(length, 'v');
      for (const std::string &v : values)
        row += v + ",";
      row.back() = '\n';
      put("/var/3.5G_Infomation.csv", kHeader + row);
      testing::internal::CaptureStderr();
      int rc = parse();
      testing::internal::GetCapturedStderr();
      SCOPED_TRACE(row);
      EXPECT_EQ(rc, length == c.width ? 1 : -1);
      if (rc == 1) {
        EXPECT_EQ(c.taken(), values[c.column]);
      }
    }
  }
  unlink("/var/3.5G_Infomation.csv");
}

// A set that did not end with status 0 fails the update and is named;
// every item is still tried, and a get that cannot start only makes its
// item differ.
TEST(StoreClient, ReportsSetsThatFailed) {
  const struct {
    const char *apn;
    int system;
    std::set<std::string> not_starting;
    std::map<std::string, int> statuses;
    int rc;
    size_t sets;  // "flash set" lines tried
    const char *named;  // the failed items, as standard error names them
  } cases[] = {
      {"web", 0, {}, {}, 1, 1, ""},
      {"web", 0, {"flash set G_ISP_INDEX"}, {}, -1, 1, "G_ISP_INDEX "},
      {"web", 0, {"flash set G_APN"}, {}, 1, 1, ""},
      {"new", 0, {"flash set G_APN"}, {}, -1, 2, "G_APN "},
      {"web", 1, {"flash set G_SYSTEM"}, {}, -1, 2, "G_SYSTEM "},
      {"web", 0, {"flash get"}, {}, 1, 6, ""},
      {"web", 0, {"flash get", "flash set G_PASSWORD"}, {}, -1, 6, "G_PASSWORD "},
      // flash not found (the shell's 127), refused (1), killed (SIGKILL)
      {"web", 0, {"flash get"}, {{"flash set", 127 << 8}}, -1, 6,
       "G_ISP_INDEX G_SYSTEM G_APN G_USERNAME G_PASSWORD G_NUMBER "},
      {"new", 0, {}, {{"flash set G_APN", 1 << 8}}, -1, 2, "G_APN "},
      {"web", 1, {}, {{"flash set G_SYSTEM", 9}}, -1, 2, "G_SYSTEM "},
      {"web", 0, {}, {{"flash set G_ISP_INDEX", 126 << 8}}, -1, 1, "G_ISP_INDEX "},
      {"web", 0, {}, {{"flash set G_APN", 1 << 8}}, 1, 1, ""},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.not_starting) + testing::PrintToString(c.statuses) +
                 " " + c.apn);
    set_profile(c.apn, c.system);
    not_started = c.not_starting;
    wait_statuses = c.statuses;
    testing::internal::CaptureStderr();
    EXPECT_EQ(c.rc, set_to_mib());
    std::string err = testing::internal::GetCapturedStderr(), named;
    std::regex failed("------ set (\\w+) failed ------\n");
    for (std::sregex_iterator i(err.begin(), err.end(), failed), end; i != end; ++i)
      named += (*i)[1].str() + " ";
    EXPECT_EQ(c.named, named) << err;
    EXPECT_EQ(c.sets, sets_run().size());
  }
}

struct SidCase {
  std::string card;
  const char *capture;
  int sid;
  bool chat_runs;
};

TEST(SidQuery, ReadsSidFromChatCapture) {
  const std::string card = "HSDPA\nvendor\nPORT=/dev/ttyUSB0\n";
  const SidCase cases[] = {
      {card, "send (AT+CSS^M)\n+CSS: 1,B,14494\r\nOK\n", 14494, true},
      {card, "AT+CSS\n\n+CSS:7, 2222\nOK\n", 2222, true},
      {card, "AT+CSS\n+CSS:7,  2222\nOK\n", -1, true},
      {card, "AT+CSS\n14494,B\n", -1, true},
      {card, "+CSS: 1,B,14494\n", -1, true},
      {card, "AT+CSS\n+CSS: 1,B,99999999999\n", -1, true},
      {card, "AT+CSS\n+CSS: 1,B,0\n", 0, true},
      {card, nullptr, -1, true},
      {"HSDPA\nvendor\n", "AT+CSS\n1,2\n", -1, false},
      {"HSDPA\nvendor\nPORT\n", "AT+CSS\n1,2\n", -1, false},
      {"HSDPA\nvendor\nPORT=\n", "AT+CSS\n1,2\n", -1, false},
      {"HSDPA\nvendor\nPORT=/dev/x;reboot\n", "AT+CSS\n1,2\n", -1, false},
      {"HSDPA\nvendor\nPORT=/dev/ttyUSB01234\n", "AT+CSS\n1,2\n", -1, false},
      {"HSDPA\nvendor\nPORT=/dev/ttyUSB0123\n", "AT+CSS\n1,2\n", 2, true},
  };
  for (const SidCase &c : cases) {
    SCOPED_TRACE(c.card + "|" + (c.capture ? c.capture : "(no capture)"));
    put("/var/HSDPACARD", c.card);
    put("/tmp/css_output", "AT+CSS\n+CSS: 1,B,14818\n");  // an earlier run's
    reset_fake_shell();
    chat_capture = c.capture;
    EXPECT_EQ(c.sid, getsid());
    EXPECT_EQ(c.chat_runs, !commands_run.empty());
  }
  EXPECT_EQ("chat -v -V \"\" \"AT+CSS\" \"OK\" \"\" < /dev/ttyUSB0123 > /dev/ttyUSB0123 2> "
            "/tmp/css_output",
            commands_run.at(0));
  unlink("/var/HSDPACARD");
  EXPECT_EQ(-1, getsid());
}

// The SID table's ranges, each taken at its first and last SID and at the
// SIDs just outside it; a SID outside every range leaves the identity as
// it was.
TEST(SidQuery, MapsEachRangeFromItsFirstToItsLastSid) {
  const struct { int sid, rc; const char *mcc, *mnc; } cases[] = {
      {2221, -1, "zz", "zz"},     {2222, 1, "404", "80"},     {2223, -1, "zz", "zz"},
      {14493, -1, "zz", "zz"},    {14494, 1, "404", "80"},    {14506, 1, "404", "80"},
      {14519, 1, "404", "80"},    {14520, -1, "zz", "zz"},    {14553, -1, "zz", "zz"},
      {14554, 1, "405", "891"},   {14574, 1, "405", "891"},   {14575, -1, "zz", "zz"},
      {14654, -1, "zz", "zz"},    {14655, 1, "404", "09"},    {14675, 1, "404", "09"},
      {14676, -1, "zz", "zz"},    {14817, -1, "zz", "zz"},    {14818, 1, "405", "040"},
      {14846, 1, "405", "040"},   {14847, -1, "zz", "zz"},    {-14494, -1, "zz", "zz"},
      {0, -1, "zz", "zz"},
  };
  for (const auto &c : cases) {
    set_identity("zz", "zz");
    EXPECT_EQ(c.rc, mapping(c.sid)) << c.sid;
    EXPECT_STREQ(c.mcc, mcc) << c.sid;
    EXPECT_STREQ(c.mnc, mnc) << c.sid;
  }
}
