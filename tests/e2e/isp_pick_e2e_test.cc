// End-to-end runs of the installed isp_pick in a simulated router.
#include <gtest/gtest.h>
#include <unistd.h>

#include <optional>
#include <regex>
#include <string>

#include "sandbox.h"

static const char kTable[] =
    "Index,MCC,MNC,ISP,Region,System,APN,Number,User,Password\r\n"
    "1,404,45,Airtel,IN,HSDPA,airtelgprs.com,*99#,NA,NA\r\n"
    "2,405,891,Reliance,IN,CDMA2000,rcomnet,#777,rc,rcpw\r\n"
    "3,405,89,Vodafone,IN,HSDPA,www,*99#,NA,NA\r\n"
    "4,404,80,BSNL,IN,CDMA2000,bsnlnet,#777,bs,bspw\r\n"
    "5,404,450,Three,IN,HSDPA,three,*99#,NA,NA\r\n";
static const char kPlaceholderRow[] = "6,NA,NA,Any,XX,TD-SCDMA,any,*98#,au,ap\r\n";
static const char kPrint[] = "------ print isp information -----\n";
static const char kSetMib[] = "------ set MIB ------\n";

struct Source {
  const char *imsi;  // or nullptr for a CDMA card
  int sid;           // -1: no card description, so no SID
};

class IspPick : public testing::Test {
 protected:
  void give(const Source &s, bool placeholder = false) {
    box.write("/var/3.5G_Infomation.csv", std::string(kTable) + (placeholder ? kPlaceholderRow : ""));
    if (s.imsi) {
      box.write("/tmp/cimi_output", std::string("AT+CIMI\r\n") + s.imsi + "\r\nOK\r\n");
      return;
    }
    box.write("/tmp/cimi_output", "AT+CIMI\r\nERROR\r\n");
    box.write("/tmp/modem", "");
    unlink(box.host("/var/HSDPACARD").c_str());
    if (s.sid >= 0)
      box.write("/var/HSDPACARD", "CDMA\nvendor\nPORT=/tmp/modem\n");
    box.write("/var/chat_dialogue", "send (AT+CSS^M)\n+CSS: 1,B," + std::to_string(s.sid) + "\r\nOK\n");
  }
  std::optional<std::string> memo() {
    if (!box.exists("/tmp/former_isp"))
      return std::nullopt;
    return box.read("/tmp/former_isp");
  }
  Sandbox box;
};

static std::string same(const char *id) {
  return std::string("current isp:") + id + ", former isp:" + id + ", Since the same, exit isp_pick\n";
}
static std::string search(const char *m, const char *n) {
  return std::string("------ searching [") + m + "," + n + "] ------\n";
}
static const std::string kAirtel = search("404", "45") + kPrint +
    "INDEX:1,MCC:404, MNC:45, ISP:Airtel, Region:IN, system:0, APN:airtelgprs.com, Number:*99#, "
    "USR:, PWD: \n" + kSetMib;
static const std::string kBsnl = search("404", "80") + kPrint +
    "INDEX:4,MCC:404, MNC:80, ISP:BSNL, Region:IN, system:1, APN:bsnlnet, Number:#777, USR:bs, "
    "PWD:bspw \n" + kSetMib;
static const std::string kAny = search("", "") + kPrint +
    "INDEX:6,MCC:, MNC:, ISP:Any, Region:XX, system:2, APN:any, Number:*98#, USR:au, PWD:ap \n" +
    kSetMib;

struct Outcome {
  const char *memo_before;  // nullptr: no memo
  Source source;
  bool placeholder;
  int status;
  std::string err;
  const char *memo_after;  // nullptr: removed
};

TEST_F(IspPick, OutcomeTable) {
  const std::string sid = "---get SID: ";
  const Outcome cases[] = {
      {"404450\n", {"404450123456789", 0}, false, 1, same("404450"), "404450\n"},
      {"old\n", {"404450123456789", 0}, false, 1, kAirtel, "404450\n"},
      {nullptr, {"404450123456789", 0}, false, 1, kAirtel, "404450\n"},
      {"old\n", {"310260123456789", 0}, false, 255, search("310", "26"), nullptr},
      {"40480\n", {nullptr, 14494}, false, 1, sid + "14494---\n" + same("40480"), "40480\n"},
      {"old\n", {nullptr, 14494}, false, 1, sid + "14494---\n" + kBsnl, "40480\n"},
      {"old\n", {nullptr, 14655}, false, 255, sid + "14655---\n" + search("404", "09"), nullptr},
      {"old\n", {nullptr, 3000}, true, 1, sid + "3000---\n" + kAny, "old\n"},
      {"old\n", {nullptr, 3000}, false, 255, sid + "3000---\n" + search("", ""), nullptr},
      {"old\n", {nullptr, -1}, true, 255, sid + "-1---\n", "old\n"},
      {"old\n", {nullptr, 0}, true, 255, sid + "0---\n", "old\n"},
  };
  for (const Outcome &c : cases) {
    SCOPED_TRACE(std::string(c.source.imsi ? c.source.imsi : "SID ") + std::to_string(c.source.sid));
    unlink(box.host("/tmp/former_isp").c_str());
    if (c.memo_before)
      box.write("/tmp/former_isp", c.memo_before);
    give(c.source, c.placeholder);
    RunResult r = box.run("isp_pick");
    EXPECT_EQ(c.status, r.status);
    EXPECT_EQ(c.err, r.err);
    EXPECT_EQ(c.memo_after ? std::optional<std::string>(c.memo_after) : std::nullopt, memo());
  }
}

TEST_F(IspPick, WritesChangedItemsVerbatim) {
  give({"404450123456789", 0});
  box.write("/var/flash/G_SYSTEM", "0");
  box.write("/var/flash/G_APN", "airtelgprs.com");
  box.write("/var/flash/G_USERNAME.reply", "G_USERNAME\n");  // no value in the reply
  box.write("/var/flash/G_PASSWORD", "old");
  box.write("/var/flash/G_NUMBER", "*99#");
  box.run("isp_pick");
  EXPECT_EQ("set G_ISP_INDEX [1]\nset G_USERNAME []\nset G_PASSWORD []\n", box.read("/var/flash.log"));
  unlink(box.host("/tmp/former_isp").c_str());
  unlink(box.host("/var/flash.log").c_str());
  box.run("isp_pick");
  EXPECT_EQ("set G_ISP_INDEX [1]\nset G_USERNAME []\n", box.read("/var/flash.log"));
}

// The items a run names as failed writes, in order.
static std::string failed_items(const std::string &err) {
  std::string out;
  std::regex line("------ set (\\w+) failed ------\n");
  for (std::sregex_iterator i(err.begin(), err.end(), line), end; i != end; ++i)
    out += (*i)[1].str() + " ";
  return out;
}

// A store write that failed applied no profile: the run ends with 255,
// names the item and leaves no memo, so the next run tries again and writes
// only what still differs (and the index, always).
TEST_F(IspPick, FailedStoreWriteIsTriedAgain) {
  const struct {
    const char *item;  // the item whose set fails; nullptr: no flash on PATH
    const char *how;   // its NAME.fail: a status, or KILL
    const char *named, *log, *retry_log;
  } cases[] = {
      {"G_APN", "1", "G_APN ",
       "set G_ISP_INDEX [1]\nset G_SYSTEM [0]\nset G_USERNAME []\nset G_PASSWORD []\n"
       "set G_NUMBER [*99#]\n",
       "set G_ISP_INDEX [1]\nset G_APN [airtelgprs.com]\n"},
      {"G_NUMBER", "KILL", "G_NUMBER ",
       "set G_ISP_INDEX [1]\nset G_SYSTEM [0]\nset G_APN [airtelgprs.com]\n"
       "set G_USERNAME []\nset G_PASSWORD []\n",
       "set G_ISP_INDEX [1]\nset G_NUMBER [*99#]\n"},
      {"G_ISP_INDEX", "2", "G_ISP_INDEX ",
       "set G_SYSTEM [0]\nset G_APN [airtelgprs.com]\nset G_USERNAME []\n"
       "set G_PASSWORD []\nset G_NUMBER [*99#]\n",
       "set G_ISP_INDEX [1]\n"},
      {nullptr, "", "G_ISP_INDEX G_SYSTEM G_APN G_USERNAME G_PASSWORD G_NUMBER ", "",
       "set G_ISP_INDEX [1]\nset G_SYSTEM [0]\nset G_APN [airtelgprs.com]\n"
       "set G_USERNAME []\nset G_PASSWORD []\nset G_NUMBER [*99#]\n"},
  };
  const std::string flash = box.host("/bin/flash");
  for (const auto &c : cases) {
    SCOPED_TRACE(c.item ? c.item : "no flash");
    system(("rm -rf " + box.host("/var/flash") + " " + box.host("/var/flash.log")).c_str());
    box.write("/tmp/former_isp", "old\n");
    give({"404450123456789", 0});
    if (c.item)
      box.write(std::string("/var/flash/") + c.item + ".fail", c.how);
    else
      rename(flash.c_str(), (flash + ".away").c_str());
    RunResult r = box.run("isp_pick");
    EXPECT_EQ(255, r.status);
    EXPECT_EQ(c.named, failed_items(r.err)) << r.err;
    EXPECT_EQ(std::nullopt, memo());
    EXPECT_EQ(c.log, box.read("/var/flash.log"));
    // The store mended: the next run applies what is missing, and only that.
    if (c.item)
      unlink(box.host(std::string("/var/flash/") + c.item + ".fail").c_str());
    else
      rename((flash + ".away").c_str(), flash.c_str());
    unlink(box.host("/var/flash.log").c_str());
    r = box.run("isp_pick");
    EXPECT_EQ(1, r.status) << r.err;
    EXPECT_EQ(kAirtel, r.err);
    EXPECT_EQ(std::optional<std::string>("404450\n"), memo());
    EXPECT_EQ(c.retry_log, box.read("/var/flash.log"));
  }
}

// A run killed while `flash` hangs applied no profile: it leaves no memo of
// the identity, so the next run applies the profile.
TEST_F(IspPick, RunKilledWhileTheStoreHangsIsTriedAgain) {
  box.write("/tmp/former_isp", "old\n");
  give({"404450123456789", 0});
  box.write("/var/flash/G_APN.fail", "HANG");
  box.shell(program_command("isp_pick") + " & p=$!; " +
                wait_until("[ -e /var/flash/hanging ]", 20) + "kill -9 $p; wait $p",
            kOwnProcesses);
  ASSERT_TRUE(box.exists("/var/flash/hanging"));
  EXPECT_EQ(std::optional<std::string>("old\n"), memo());
  unlink(box.host("/var/flash/G_APN.fail").c_str());
  RunResult r = box.run("isp_pick");
  EXPECT_EQ(1, r.status) << r.err;
  EXPECT_EQ(kAirtel, r.err);
  EXPECT_EQ(std::optional<std::string>("404450\n"), memo());
  EXPECT_EQ("airtelgprs.com", box.read("/var/flash/G_APN"));
}

TEST_F(IspPick, HostileValuesNeverRunCommands) {
  const char *values = "$(canary),$(canary;canary,\"; canary; \",`canary`\\";
  box.write("/var/3.5G_Infomation.csv", std::string(kTable) + "9,1;c,an,X,IN,HSDPA," + values + "\r\n");
  box.write("/tmp/cimi_output", "AT+CIMI\n1;canary\n");
  RunResult r = box.run("isp_pick");
  EXPECT_EQ(1, r.status);
  EXPECT_EQ("1;cana\n", box.read("/tmp/former_isp"));
  EXPECT_EQ(
      "set G_ISP_INDEX [9]\nset G_SYSTEM [0]\nset G_APN [$(canary)]\n"
      "set G_USERNAME [\"; canary; \"]\nset G_PASSWORD [`canary`\\]\n"
      "set G_NUMBER [$(canary;canary]\n",
      box.read("/var/flash.log"));
  EXPECT_FALSE(box.exists("/var/canary_ran"));
}

// Which lookups a run makes, and which row it applies.
static std::string lookups(const std::string &err) {
  std::string out;
  std::regex line("searching \\[([^\\]]*)\\]|INDEX:([^,]*)");
  for (std::sregex_iterator i(err.begin(), err.end(), line), end; i != end; ++i)
    out += (*i)[1].matched ? (*i)[1].str() + " " : "=" + (*i)[2].str();
  return out;
}

TEST_F(IspPick, LongMncRuleOnlyForMcc405FromImsi) {
  const struct { Source source; const char *lookups; } cases[] = {
      {{"405891000000000", 0}, "405,891 =2"},
      {{"405890000000000", 0}, "405,890 405,89 =3"},
      {{"405100000000000", 0}, "405,100 405,10 "},
      {{"404450000000000", 0}, "404,45 =1"},
      {{nullptr, 14554}, "405,891 =2"},
      {{nullptr, 14574}, "405,891 =2"},
  };
  for (const auto &c : cases) {
    unlink(box.host("/tmp/former_isp").c_str());
    give(c.source);
    EXPECT_EQ(c.lookups, lookups(box.run("isp_pick").err)) << c.source.imsi << c.source.sid;
  }
  // No table at all says nothing against the shorter key: both lookups run.
  unlink(box.host("/tmp/former_isp").c_str());
  give({"405854000000000", 0});
  unlink(box.host("/var/3.5G_Infomation.csv").c_str());
  RunResult r = box.run("isp_pick");
  EXPECT_EQ("------ searching [405,854] ------\nerror to open isp information file"
            "------ searching [405,85] ------\nerror to open isp information file",
            r.err);
  EXPECT_EQ(255, r.status);
}

TEST_F(IspPick, MemoWordRules) {
  const struct { const char *memo; bool same; } cases[] = {
      {"4044501\n", true}, {"x404450\n", true}, {"4044501234\n", true}, {"40445\n", false},
      {"", false}, {"\n\n  404450 \n", true}, {"40 4450\n", false},
  };
  for (const auto &c : cases) {
    box.write("/tmp/former_isp", c.memo);
    give({"404450123456789", 0});
    std::string err = box.run("isp_pick").err;
    EXPECT_EQ(c.same, err.rfind("current isp:404450, former isp:", 0) == 0) << c.memo << err;
  }
  box.write("/tmp/former_isp", "4044501234\n");
  EXPECT_EQ(same("404450").replace(31, 6, "4044501"), box.run("isp_pick").err);
}

TEST_F(IspPick, IdentityWithLineFeedGoesOn) {
  give({"12", 0});
  RunResult r = box.run("isp_pick");
  EXPECT_EQ(255, r.status);
  EXPECT_EQ(search("12\r", "\n"), r.err);
  EXPECT_FALSE(box.exists("/tmp/former_isp"));
}

TEST_F(IspPick, MemoLinkIsReplacedNotFollowed) {
  box.write("/var/precious", "keep\n");
  symlink("/var/precious", box.host("/tmp/former_isp").c_str());
  give({"404450123456789", 0});
  EXPECT_EQ(1, box.run("isp_pick").status);
  EXPECT_EQ("keep\n", box.read("/var/precious"));
  EXPECT_EQ("404450\n", box.read("/tmp/former_isp"));
}

// A launcher that ignores SIGCHLD: the store commands still count as run.
TEST_F(IspPick, SigchldIgnoredByTheLauncher) {
  give({"404450123456789", 0});
  RunResult r = box.shell("exec perl -e '$SIG{CHLD} = \"IGNORE\"; exec @ARGV' ${BIN}isp_pick");
  EXPECT_EQ(1, r.status) << r.err;
  EXPECT_EQ(kAirtel, r.err);
  EXPECT_EQ(std::optional<std::string>("404450\n"), memo());
  EXPECT_EQ(0u, box.read("/var/flash.log").find("set G_ISP_INDEX [1]\n"));
}

// Every command line goes through /bin/sh: the suite must really run on the
// shell it was asked for.
TEST(Sandbox, RunsTheShellAsked) {
  Sandbox box;
  std::string banner = box.shell("sh --help 2>&1 | head -n1").out;
  EXPECT_EQ(getenv("E2E_SH") != nullptr, banner.rfind("BusyBox", 0) == 0) << banner;
}
