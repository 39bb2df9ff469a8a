// Hostile files and replies against the installed programs: nothing may
// crash them, hang them, run a command or write through a link.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "sandbox.h"

static const char kTable[] =
    "Index,MCC,MNC,ISP,Region,System,APN,Number,User,Password\r\n"
    "1,404,45,Airtel,IN,HSDPA,airtelgprs.com,*99#,NA,NA\r\n"
    "4,404,80,BSNL,IN,CDMA2000,bsnlnet,#777,bs,bspw\r\n";

static std::string binary(size_t size) {
  std::string s(size, '\0');
  unsigned x = 12345;
  for (char &c : s) {
    x = x * 1103515245 + 12345;
    c = static_cast<char>(x >> 16);
  }
  return s;
}

// A hostile content for one input; "dir", "fifo" and "link to /dev/zero" put
// such a thing in the file's place.
struct Content {
  const char *name;
  std::string text;
};

static const Content kContents[] = {
    {"empty", ""},
    {"huge line", std::string(3 << 20, '4')},
    {"huge lines", [] { std::string s; while (s.size() < (3 << 20)) s += "AT+CIMI\n+CSS: 1,B,14494,\"=\r\n"; return s; }()},
    {"binary", binary(1 << 16)},
    {"nul", std::string(1 << 16, '\0')},
    {"bare quote", "\""},
    {"no equals", "G_APN\"\r"},
    {"dir", ""},
    {"fifo", ""},
    {"link to /dev/zero", ""},
};

static void put(Sandbox &box, const char *path, const Content &c) {
  unlink(box.host(path).c_str());
  std::string kind = c.name;
  if (kind == "dir")
    mkdir(box.host(path).c_str(), 0755);
  else if (kind == "fifo")
    mkfifo(box.host(path).c_str(), 0644);
  else if (kind == "link to /dev/zero")
    symlink("/dev/zero", box.host(path).c_str());
  else
    box.write(path, c.text);
}

TEST(Hostile, EveryInputOfIspPick) {
  const struct { const char *path; bool cdma; } inputs[] = {
      {"/tmp/cimi_output", false}, {"/var/3.5G_Infomation.csv", false},
      {"/tmp/former_isp", false},  {"/var/flash/G_APN.reply", false},
      {"/var/HSDPACARD", true},    {"/var/chat_dialogue", true},
  };
  for (const auto &input : inputs) {
    for (const Content &c : kContents) {
      SCOPED_TRACE(std::string(input.path) + ": " + c.name);
      Sandbox box;
      box.write("/var/3.5G_Infomation.csv", kTable);
      box.write("/tmp/cimi_output", input.cdma ? "AT+CIMI\r\nERROR\r\n" : "AT+CIMI\r\n404450123\r\n");
      box.write("/var/HSDPACARD", "CDMA\nvendor\nPORT=/tmp/modem\n");
      box.write("/var/chat_dialogue", "AT+CSS\n+CSS: 1,B,14494\nOK\n");
      box.write("/tmp/modem", "");
      put(box, input.path, c);
      RunResult r = box.shell("timeout 60 ${BIN}isp_pick");
      EXPECT_TRUE(r.status == 1 || r.status == 255) << r.status << r.err.substr(0, 300);
      EXPECT_FALSE(box.exists("/var/canary_ran"));
    }
  }
}

TEST(Hostile, MetacharactersInTheDevicePathNeverReachTheShell) {
  Sandbox box;
  box.write("/tmp/cimi_output", "");
  box.write("/var/3.5G_Infomation.csv", kTable);
  for (const char *path : {"/tmp/m;canary", "$(canary)", "`canary`", "/tmp/m|canary", "a\"b"}) {
    box.write("/var/HSDPACARD", std::string("CDMA\nvendor\nPORT=") + path + "\n");
    RunResult r = box.run("isp_pick");
    EXPECT_EQ("---get SID: -1---\n", r.err) << path;
    EXPECT_FALSE(box.exists("/var/chat.log")) << path;
    EXPECT_FALSE(box.exists("/var/canary_ran")) << path;
  }
}

TEST(Hostile, MemoLinkIsRemovedItselfWhenNoProfileMatches) {
  Sandbox box;
  box.write("/var/precious", "keep\n");
  symlink("/var/precious", box.host("/tmp/former_isp").c_str());
  box.write("/tmp/cimi_output", "AT+CIMI\n310260123\n");
  box.write("/var/3.5G_Infomation.csv", kTable);
  EXPECT_EQ(255, box.run("isp_pick").status);
  EXPECT_FALSE(box.exists("/tmp/former_isp"));
  EXPECT_EQ("keep\n", box.read("/var/precious"));
}

TEST(Hostile, KeeperEndsPromptlyOnAnySettingsFile) {
  for (const Content &c : kContents) {
    Sandbox box;
    put(box, "/var/config/SYS.info", c);
    RunResult r = box.shell("timeout 20 ${BIN}hsdpa_keeper");
    EXPECT_EQ(0, r.status) << c.name;
    EXPECT_FALSE(box.exists("/tmp/hsdpa_runs")) << c.name;
  }
}

// Files that another user of /tmp planted at the memo, or could have written
// into: not ours, so neither read (it must not make the router skip its
// profile) nor written through. The memo made anew is ours alone, whatever
// the umask the program was started with.
TEST(Hostile, MemoOfAnotherUserOrWithASecondNameIsNotTrusted) {
  const struct { const char *name; bool other_owner, hard_link; mode_t mode; } memos[] = {
      {"another user's", true, false, 0644}, {"hard link", false, true, 0644},
      {"writable by all", false, false, 0666}, {"none, umask 0", false, false, 0}};
  for (const auto &m : memos) {
    SCOPED_TRACE(m.name);
    Sandbox box;
    box.write("/var/3.5G_Infomation.csv", kTable);
    box.write("/tmp/cimi_output", "AT+CIMI\r\n404450123\r\n");
    box.write("/var/other_name", "404450\n");
    if (m.hard_link) {
      ASSERT_EQ(0, link(box.host("/var/other_name").c_str(), box.host("/tmp/former_isp").c_str()));
    } else if (m.mode) {
      box.write("/tmp/former_isp", "404450\n");
    }
    if (m.mode) {
      ASSERT_EQ(0, chmod(box.host("/tmp/former_isp").c_str(), m.mode));
    }
    if (m.other_owner) {
      ASSERT_EQ(0, chown(box.host("/tmp/former_isp").c_str(), 4321, 4321));
    }
    RunResult r = box.shell("umask 0; exec ${BIN}isp_pick");
    EXPECT_EQ(1, r.status);
    EXPECT_EQ(std::string::npos, r.err.find("current isp:")) << r.err;
    EXPECT_NE(std::string::npos, r.err.find("INDEX:1,MCC:404, MNC:45,")) << r.err;
    struct stat st;
    ASSERT_EQ(0, lstat(box.host("/tmp/former_isp").c_str(), &st));
    EXPECT_EQ(geteuid(), st.st_uid);
    EXPECT_EQ(1u, st.st_nlink);
    EXPECT_EQ(0644u, st.st_mode & 07777);
    EXPECT_EQ("404450\n", box.read("/tmp/former_isp"));
  }
}

// The SID capture is made by isp_pick itself before the shell writes into it;
// when it cannot be made, chat does not run.
TEST(Hostile, SidCaptureIsIspPicksOwnFile) {
  Sandbox box;
  box.write("/var/3.5G_Infomation.csv", kTable);
  box.write("/tmp/cimi_output", "");
  box.write("/var/HSDPACARD", "CDMA\nvendor\nPORT=/tmp/modem\n");
  box.write("/tmp/modem", "");
  box.write("/var/chat_dialogue", "AT+CSS\n+CSS: 1,B,14494\nOK\n");
  box.write("/var/precious", "keep\n");
  symlink("/var/precious", box.host("/tmp/css_output").c_str());
  EXPECT_EQ(1, box.run("isp_pick").status);
  EXPECT_EQ("keep\n", box.read("/var/precious"));
  struct stat st;
  ASSERT_EQ(0, lstat(box.host("/tmp/css_output").c_str(), &st));
  EXPECT_TRUE(S_ISREG(st.st_mode));
  EXPECT_EQ(0600u, st.st_mode & 0777);

  unlink(box.host("/tmp/css_output").c_str());
  unlink(box.host("/tmp/former_isp").c_str());
  unlink(box.host("/var/chat.log").c_str());
  mkdir(box.host("/tmp/css_output").c_str(), 0755);  // cannot be removed, nor made anew
  RunResult r = box.run("isp_pick");
  EXPECT_EQ(255, r.status);
  EXPECT_EQ("---get SID: -1---\n", r.err);
  EXPECT_FALSE(box.exists("/var/chat.log"));
}
