// The operator table made by isp_table from the installed provider database,
// read by the installed isp_pick for real SIM identities.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "sandbox.h"

TEST(IspTable, RealDatabaseServesRealSims) {
  const char *tool = getenv("E2E_ISP_TABLE");
  if (!tool)
    GTEST_SKIP() << "no isp_table in this build";
  Sandbox box;
  std::string make = std::string(tool) + " > " + box.host("/var/3.5G_Infomation.csv") + " 2>/dev/null";
  ASSERT_EQ(0, system(make.c_str()));
  const struct { const char *imsi; std::string profile; } sims[] = {
      {"262011234567890", "ISP:Congstar, Region:DE, system:0, APN:internet.t-mobile,"},
      {"234150000000000", "ISP:Vodafone, Region:GB, system:0, APN:internet,"},
      {"310260000000000", "ISP:T-Mobile, Region:US, system:0, APN:fast.t-mobile.com,"},
      {"404450000000000", "ISP:Airtel, Region:IN, system:0, APN:airtelgprs.com,"},
      {"505010000000000", "ISP:Telstra, Region:AU, system:0, APN:telstra.wap,"},
  };
  for (const auto &sim : sims) {
    box.write("/tmp/cimi_output", std::string("AT+CIMI\r\n") + sim.imsi + "\r\nOK\r\n");
    RunResult r = box.run("isp_pick");
    EXPECT_EQ(1, r.status) << sim.imsi;
    EXPECT_NE(std::string::npos, r.err.find(sim.profile)) << r.err;
  }
  // A CDMA card: SID 14818 stands for MCC 405, MNC 040.
  box.write("/tmp/cimi_output", "");
  box.write("/var/HSDPACARD", "CDMA\nvendor\nPORT=/tmp/modem\n");
  box.write("/tmp/modem", "");
  box.write("/var/chat_dialogue", "AT+CSS\n+CSS: 1,B,14818\nOK\n");
  RunResult r = box.run("isp_pick");
  EXPECT_EQ(1, r.status);
  EXPECT_NE(std::string::npos, r.err.find("MCC:405, MNC:040, ISP:Tata Indicom (Photon+), Region:IN, "
                                          "system:1, APN:, Number:#777, USR:internet, PWD:internet"))
      << r.err;
}
