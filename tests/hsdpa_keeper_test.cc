// Unit tests of the link keeper's settings reader. They run in
// a private /var, so the settings file is the test's own.
#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "hsdpa_keeper.h"

static std::string value_of(const char *key) {
  char *v = getdata_conf(key);
  std::string s = v;
  release_conf(v);
  return s;
}

TEST(Settings, ValueRules) {
  const struct { std::string file; const char *key, *value; } cases[] = {
      {"OP_MODE=0\nWAN_DHCP=5\n", "WAN_DHCP", "5"},
      {"OP_MODE_X=7\nOP_MODE=3\n", "OP_MODE", "X=7"},
      {"G_BACKUP=1", "G_BACKUP", "1"},
      {"G_BACKUP", "G_BACKUP", ""},
      {"G_BACKUP\n", "G_BACKUP", ""},
      {"G_BACKUP: 12 \n", "G_BACKUP", " 12 "},
      {"A=" + std::string(70, 'x') + "G_BACKUP=1\nG_BACKUP=2\n", "G_BACKUP", "2"},
      {"A=" + std::string(61, 'x') + "G_BACKUP=1\n", "G_BACKUP", "1"},
      {"", "OP_MODE", ""},
      {"WAN_DHCP=5\n", "OP_MODE", ""},
  };
  mkdir("/var/config", 0755);
  for (const auto &c : cases) {
    FILE *f = fopen("/var/config/SYS.info", "w");
    fwrite(c.file.data(), 1, c.file.size(), f);
    fclose(f);
    EXPECT_EQ(c.value, value_of(c.key)) << c.file;
  }
}

TEST(Settings, MissingFileSaysSoAndGivesEmptyText) {
  unlink("/var/config/SYS.info");
  testing::internal::CaptureStdout();
  EXPECT_EQ("", value_of("OP_MODE"));
  EXPECT_EQ("generate pid false\n", testing::internal::GetCapturedStdout());
}
