// End-to-end runs of the installed hsdpa_keeper in a simulated router.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "sandbox.h"

// Runs the keeper until it ends (its status) or sleeps in its pause after a
// run of the link script, that is, loops (124); for at most 20 seconds.
static RunResult keep(Sandbox &box) {
  return box.shell("rm -f /tmp/hsdpa_runs; " +
                       until_ended_or("${BIN}hsdpa_keeper", "grep -qE 'select|poll' /proc/$p/wchan", 20),
                   kOwnProcesses);
}

TEST(HsdpaKeeper, SettingsDecideWhetherTheLinkIsKept) {
  const struct { const char *settings; bool loops; } cases[] = {
      {"OP_MODE=0\nWAN_DHCP=5\nWAN_INTERFACE=1\nG_BACKUP=0\n", true},
      {"OP_MODE=0\nWAN_DHCP=1\nWAN_INTERFACE=0\nG_BACKUP=1", true},
      {"OP_MODE=0\nWAN_DHCP=5\nWAN_INTERFACE=0\nG_BACKUP=1\n", false},
      {"OP_MODE=0\nWAN_DHCP=1\nWAN_INTERFACE=0\nG_BACKUP=10", false},
      {"OP_MODE=0\nWAN_DHCP=1\nWAN_INTERFACE=1\nG_BACKUP=1\n", false},
      {"OP_MODE_OLD=0\nOP_MODE=1\nWAN_DHCP=5\nWAN_INTERFACE=1\n", true},
      {"OP_MODEL=2\nOP_MODE=0\nWAN_DHCP=5\nWAN_INTERFACE=1\n", true},
      {"OP_MODE=02\nWAN_DHCP=5\nWAN_INTERFACE=1\n", false},
      {"", false},
  };
  for (const auto &c : cases) {
    Sandbox box;
    box.write("/var/config/SYS.info", c.settings);
    RunResult r = keep(box);
    EXPECT_EQ(c.loops ? 124 : 0, r.status) << c.settings;
    EXPECT_EQ(c.loops, box.exists("/tmp/hsdpa_runs")) << c.settings;
    EXPECT_EQ("", r.out);
  }
}

TEST(HsdpaKeeper, MissingSettingsFile) {
  Sandbox box;
  RunResult r = keep(box);
  EXPECT_EQ(0, r.status);
  EXPECT_EQ("generate pid false\ngenerate pid false\ngenerate pid false\ngenerate pid false\n", r.out);
  r = box.run("hsdpa_keeper", "--unshare-pid --as-pid-1");
  EXPECT_EQ(0, r.status);
  EXPECT_EQ("", r.out);
}

// Slow: two passes of the loop, ten seconds apart, with the keeper idle while it waits.
TEST(HsdpaKeeperSlow, PausesTenSecondsBetweenRunsWithoutCpu) {
  Sandbox box;
  box.write("/var/config/SYS.info", "OP_MODE=0\nWAN_DHCP=5\nWAN_INTERFACE=1\n");
  box.shell("${BIN}hsdpa_keeper & p=$!; " +
            wait_until("[ \"$(cat /tmp/hsdpa_runs 2>/dev/null | wc -l)\" -ge 2 ]", 15) +
            "cat /proc/$p/stat > /tmp/stat; kill $p");
  std::istringstream runs(box.read("/tmp/hsdpa_runs"));
  std::vector<double> at;
  for (double t; runs >> t;)
    at.push_back(t);
  ASSERT_EQ(2u, at.size());
  EXPECT_GT(at[1] - at[0], 9.8);
  EXPECT_LT(at[1] - at[0], 11.5);
  // utime and stime, in clock ticks, are the 14th and 15th fields.
  std::istringstream stat(box.read("/tmp/stat").substr(box.read("/tmp/stat").rfind(')') + 2));
  std::string field;
  long ticks = 0;
  for (int i = 3; i <= 15 && stat >> field; i++)
    if (i >= 14)
      ticks += std::stol(field);
  EXPECT_LT(ticks, 100);
}
