// isp_pick and the real chat of the PPP suite against a simulated 3G card on
// a pseudo-terminal, the way the router talks to its modem.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "sandbox.h"

static const char kTable[] =
    "Index,MCC,MNC,ISP,Region,System,APN,Number,User,Password\r\n"
    "1,404,45,Airtel,IN,HSDPA,airtelgprs.com,*99#,NA,NA\r\n"
    "4,404,80,BSNL,IN,CDMA2000,bsnlnet,#777,bs,bspw\r\n";

class RealChat : public testing::Test {
 protected:
  void SetUp() override {
    unlink(box.host("/bin/chat").c_str());  // the real one, from the PATH
    box.write("/var/3.5G_Infomation.csv", kTable);
    box.write("/var/HSDPACARD", "CDMA\nvendor\nPORT=/tmp/modem\n");
  }
  // Runs `line` with the simulated card of `mode` at /tmp/modem.
  RunResult with_modem(const std::string &mode, const std::string &line) {
    std::string modem = getenv("E2E_MODEM");
    return box.shell(modem + " /tmp/modem " + mode + " & m=$!; " + wait_until("[ -e /tmp/modem ]", 10) +
                     line + "; s=$?; kill $m; exit $s");
  }
  Sandbox box;
};

TEST_F(RealChat, ImsiFromTheRoutersCapture) {
  RunResult r = with_modem("imsi 404450123456789",
                           "chat -v -V \"\" \"AT+CIMI\" \"OK\" \"\" < /tmp/modem > /tmp/modem "
                           "2> /tmp/cimi_output; ${BIN}isp_pick");
  EXPECT_EQ(1, r.status);
  EXPECT_NE(std::string::npos, r.err.find("INDEX:1,MCC:404, MNC:45, ISP:Airtel,")) << r.err;
  EXPECT_EQ("404450\n", box.read("/tmp/former_isp"));
  EXPECT_EQ(0u, box.read("/var/flash.log").find("set G_ISP_INDEX [1]\nset G_SYSTEM [0]\n"));
}

TEST_F(RealChat, SidAskedForWithChat) {
  RunResult r = with_modem("sid 14494", "${BIN}isp_pick");
  EXPECT_EQ(1, r.status);
  EXPECT_EQ(0u, r.err.find("---get SID: 14494---\n------ searching [404,80] ------\n")) << r.err;
  EXPECT_EQ("40480\n", box.read("/tmp/former_isp"));
  EXPECT_EQ(
      "set G_ISP_INDEX [4]\nset G_SYSTEM [1]\nset G_APN [bsnlnet]\nset G_USERNAME [bs]\n"
      "set G_PASSWORD [bspw]\nset G_NUMBER [#777]\n",
      box.read("/var/flash.log"));
}

TEST_F(RealChat, GarbageReplyGivesNoSid) {
  RunResult r = with_modem("garbage", "${BIN}isp_pick");
  EXPECT_EQ(255, r.status);
  EXPECT_EQ("---get SID: -1---\n", r.err);
  EXPECT_FALSE(box.exists("/var/flash.log"));
}

// Slow: chat gives up on a card that never answers after its 45 seconds.
TEST_F(RealChat, SlowSilentCardEndsTheRunWithoutLookup) {
  RunResult r = with_modem("silent", "${BIN}isp_pick");
  EXPECT_EQ(255, r.status);
  EXPECT_EQ("---get SID: -1---\n", r.err);
}
