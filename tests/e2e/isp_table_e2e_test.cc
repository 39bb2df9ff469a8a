// Operator tables made and explained by isp_table, read by the installed
// isp_pick: the tool and the router must never disagree.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>

#include <regex>
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

TEST_F(IspTable, RealDatabaseServesRealSims) {
  make_table(kProviderDb);
  expect_profile(run_imsi("262011234567890"),
                 "ISP:T-Mobile(Telekom), Region:DE, system:0, APN:internet.t-mobile,");
  expect_profile(run_imsi("234150000000000"), "ISP:Vodafone, Region:GB, system:0, APN:internet,");
  expect_profile(run_imsi("310260000000000"),
                 "ISP:T-Mobile, Region:US, system:0, APN:fast.t-mobile.com,");
  expect_profile(run_imsi("404450000000000"),
                 "ISP:Airtel, Region:IN, system:0, APN:airtelgprs.com,");
  expect_profile(run_imsi("505010000000000"), "ISP:Telstra, Region:AU, system:0, APN:telstra.wap,");
  // A CDMA card: SID 14818 stands for MCC 405, MNC 040.
  expect_profile(run_sid(14818),
                 "MCC:405, MNC:040, ISP:Tata Indicom (Photon+), Region:IN, "
                 "system:1, APN:, Number:#777, USR:internet, PWD:internet");
}

// Android's database given first, the provider database second: the
// Android rows take their region from the provider database.
TEST_F(IspTable, BothDatabasesServeSims) {
  make_table(fixture("apns.xml") + " " + kProviderDb);
  // T-Mobile is 204-16's primary provider; Ben, which both files list, resells it.
  expect_profile(run_imsi("204161234567890"),
                 "ISP:T-Mobile, Region:NL, system:0, APN:internet, Number:*99#,");
  // 262-071 is 262-07's id: web.de serves no more than O2's own APN.
  expect_profile(run_imsi("262071234567890"),
                 "ISP:O2, Region:DE, system:0, APN:pinternet.interkom.de, Number:*99#,");
  expect_profile(run_imsi("204081234567890"),
                 "ISP:KPN Mobiel Internet, Region:NL, system:0, APN:portalmmm.nl,");
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
