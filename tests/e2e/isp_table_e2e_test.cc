// Operator tables made and explained by isp_table, read by the installed
// isp_pick: the tool and the router must never disagree.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>

#include <regex>
#include <sstream>
#include <string>

#include "sandbox.h"

static const char kProviderDb[] = "/usr/share/mobile-broadband-provider-info/serviceproviders.xml";

class IspTable : public testing::Test {
 protected:
  void SetUp() override {
    if (!getenv("E2E_ISP_TABLE") || !getenv("E2E_FIXTURES"))
      GTEST_SKIP() << "no isp_table in this build";
  }
  static std::string tool() { return getenv("E2E_ISP_TABLE"); }
  static std::string fixture(const char *name) {
    return std::string(getenv("E2E_FIXTURES")) + "/" + name;
  }
  // Runs isp_table with `args`; returns its status, standard output in `out`.
  static int isp_table(const std::string &args, std::string *out = nullptr) {
    std::string line = tool() + " " + args + " 2>/dev/null";
    FILE *p = popen(line.c_str(), "r");
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;)
      if (out)
        out->append(buf, n);
    int status = pclose(p);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  void make_table(const std::string &inputs) {
    ASSERT_EQ(0, isp_table(inputs + " > " + box.host("/var/3.5G_Infomation.csv")));
    std::string found;
    EXPECT_EQ(0, isp_table("check " + box.host("/var/3.5G_Infomation.csv"), &found)) << found;
  }
  RunResult run_imsi(const std::string &imsi) {
    unlink(box.host("/tmp/former_isp").c_str());
    box.write("/tmp/cimi_output", "AT+CIMI\r\n" + imsi + "\r\nOK\r\n");
    return box.run("isp_pick");
  }
  RunResult run_sid(int sid) {
    unlink(box.host("/tmp/former_isp").c_str());
    box.write("/tmp/cimi_output", "AT+CIMI\r\nERROR\r\n");
    box.write("/var/HSDPACARD", "CDMA\nvendor\nPORT=/tmp/modem\n");
    box.write("/tmp/modem", "");
    box.write("/var/chat_dialogue", "AT+CSS\n+CSS: 1,B," + std::to_string(sid) + "\nOK\n");
    return box.run("isp_pick");
  }
  Sandbox box;
};

static void expect_profile(const RunResult &r, const std::string &profile) {
  EXPECT_EQ(1, r.status);
  EXPECT_NE(std::string::npos, r.err.find(profile)) << r.err;
}

// The installed database changes with every Debian release: only what holds
// for any release is asserted. The table passes its check, every twentieth
// row is what isp_pick applies for a SIM of its key, and each network is
// counted on exactly one of the summary's three lines.
TEST_F(IspTable, InstalledDatabaseGivesATableIspPickReads) {
  make_table(kProviderDb);
  std::istringstream rows(box.read("/var/3.5G_Infomation.csv"));
  std::string row;
  std::getline(rows, row);  // the header
  int tried = 0;
  for (int n = 0; std::getline(rows, row); n++) {
    std::smatch f;
    ASSERT_TRUE(std::regex_match(row, f, std::regex("([0-9]+),([0-9]{3}),([0-9]{2,3}),.*\r"))) << row;
    if (n % 20)
      continue;
    RunResult r = run_imsi(f[2].str() + f[3].str() + std::string(12 - f[3].length(), '0'));
    expect_profile(r, "INDEX:" + f[1].str() + ",MCC:" + f[2].str() + ", MNC:" + f[3].str() + ",");
    tried++;
  }
  EXPECT_GT(tried, 10);
  ASSERT_EQ(0, system((tool() + " " + kProviderDb + " >/dev/null 2>" + box.host("/tmp/summary")).c_str()));
  std::string summary = box.read("/tmp/summary");
  summary = summary.substr(summary.find("merged table:"));
  auto count = [&](const std::string &line) {
    std::smatch m;
    EXPECT_TRUE(std::regex_search(summary, m, std::regex("\n  " + line + ": ([0-9]+)\n"))) << line;
    return m.empty() ? -1 : std::stoi(m[1]);
  };
  EXPECT_EQ(count("networks"), count("networks served") +
                                   count("networks no table can serve under the lookup rule") +
                                   count("networks without a usable internet APN"))
      << summary;
}

// Android's database given first, our provider database second: the Android
// rows keep the region NA (which isp_pick prints empty) where the provider
// database knows no country for the MCC. A CDMA card's SID 14818 stands for
// MCC 405, MNC 040.
TEST_F(IspTable, BothDatabasesServeSims) {
  make_table(fixture("apns.xml") + " " + fixture("providers.xml"));
  expect_profile(run_imsi("204161234567890"),
                 "ISP:Ben, Region:, system:0, APN:internet.ben, Number:*99#,");
  // Android's 262-071 is 262-07's own id, not a network of its own.
  expect_profile(run_imsi("262071234567890"),
                 "ISP:Plain, Region:DE, system:0, APN:internet.plain, Number:*99#, USR:user, PWD:secret");
  // Two entries of one APN: the login of the one first in byte order.
  expect_profile(run_imsi("204081234567890"),
                 "ISP:KPN Later, Region:, system:0, APN:portalmmm.nl, Number:*99#, USR:later, "
                 "PWD:later");
  expect_profile(run_sid(14818),
                 "MCC:405, MNC:040, ISP:Cdma Carrier, Region:IN, system:1, APN:, Number:#777, "
                 "USR:cdma, PWD:pw");
}

// What `isp_table check --imsi/--sid` says a run applies is what isp_pick
// applies, on hand-kept tables full of traps.
TEST_F(IspTable, ExplainAgreesWithIspPick) {
  const struct {
    const char *table, *what;
  } runs[] = {
      {"hand_kept.csv", "--imsi 262011234567890"},
      {"hand_kept.csv", "--imsi 262021234567890"},
      {"hand_kept.csv", "--imsi 310260000000000"},
      {"hand_kept.csv", "--imsi 405854000000000"},
      {"hand_kept.csv", "--imsi 262101234567890"},
      {"hand_kept.csv", "--imsi 262141234567890"},
      {"hand_kept.csv", "--imsi 262111234567890"},
      {"hand_kept.csv", "--imsi 262181234567890"},  // 249 characters and CR LF: whole
      {"hand_kept.csv", "--imsi 262201234567890"},  // a CR inside the APN
      {"hand_kept.csv", "--sid 3000"},
      {"hand_kept.csv", "--sid 0"},
      {"merged.csv", "--imsi 405850000000000"},
      {"merged.csv", "--imsi 405854000000000"},
      {"merged.csv", "--sid 14494"},
      {"merged.csv", "--sid 14818"},
      {"merged.csv", "--sid 3000"},
  };
  std::regex index("G_ISP_INDEX \"([^\"]*)\"");
  for (const auto &run : runs) {
    SCOPED_TRACE(std::string(run.table) + " " + run.what);
    box.write("/var/3.5G_Infomation.csv", "");
    system(("cp " + fixture(run.table) + " " + box.host("/var/3.5G_Infomation.csv")).c_str());
    std::string explained;
    int status = isp_table("check " + fixture(run.table) + " " + run.what, &explained);
    std::string what = run.what;
    RunResult r = what.rfind("--imsi", 0) == 0 ? run_imsi(what.substr(7))
                                               : run_sid(std::stoi(what.substr(6)));
    std::smatch m;
    if (status == 0) {
      ASSERT_TRUE(std::regex_search(explained, m, index)) << explained;
      EXPECT_EQ(1, r.status);
      EXPECT_NE(std::string::npos, r.err.find("INDEX:" + m[1].str() + ",")) << explained << r.err;
    } else {
      EXPECT_EQ(1, status) << explained;
      EXPECT_EQ(255, r.status) << explained << r.err;
    }
  }
}

// A router that stored an index under one release finds the same profile's
// index under the next: extended from providers.xml, then from it and
// apns.xml (which adds three networks before these), isp_pick writes each
// public row's index made of its key. 405-86 and 262-08: the kept table
// uses their first index ("0240586" is "240586"), so the next leading digit.
TEST_F(IspTable, IndexStaysAcrossReleases) {
  std::string kept = box.host("/tmp/kept.csv");
  box.write("/tmp/kept.csv",
            "I,M,N,O,R,S,A,D,U,P\r\n0240586,208,10,K,FR,HSDPA,k,*99#,NA,NA\r\n"
            "226208,208,11,K,FR,HSDPA,k,*99#,NA,NA\r\n");
  const struct {
    const char *imsi, *index;
  } sims[] = {
      {"262091234567890", "226209"}, {"262081234567890", "426208"},
      {"310260000000000", "231026"}, {"311480000000000", "231148"},
      {"405860000000000", "440586"}, {"732120000000000", "273212"},
  };
  std::string first = fixture("providers.xml");
  for (const std::string &release : {first, first + " " + fixture("apns.xml")}) {
    ASSERT_EQ(0, isp_table("extend " + kept + " " + release + " > " +
                           box.host("/var/3.5G_Infomation.csv")));
    for (const auto &sim : sims) {
      SCOPED_TRACE(release + " " + sim.imsi);
      expect_profile(run_imsi(sim.imsi), std::string("INDEX:") + sim.index + ",");
    }
  }
}
