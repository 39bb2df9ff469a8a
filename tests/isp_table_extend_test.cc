// What the check, extend and diff share: a table's reads grouped into
// lines, the SIMs whose lookups reach a key, the lookup given a candidate
// row, and the items a run writes to the store. Expected values are worked
// out by hand from isp_pick's lookup order and the SID table.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "pieces.h"
#include "sims.h"
#include "table.h"

namespace {

// Each line as "line:first read's offset+reads", joined by spaces.
std::string grouped(const std::vector<Piece> &pieces) {
  std::string text;
  for (const Line &l : table_lines(pieces))
    text += (text.empty() ? "" : " ") + std::to_string(l.first->line) + ":" +
            std::to_string(l.first->offset) + "+" + std::to_string(l.end - l.first);
  return text;
}

TEST(TableLines, GroupsEachLinesReadsTogether) {
  const struct {
    std::vector<Piece> pieces;
    std::string lines;
  } cases[] = {
      {{}, ""},
      {{{1, 0, "h\n"}}, "1:0+1"},
      {{{1, 0, "h\n"}, {2, 0, "a"}, {2, 249, "b"}, {2, 498, "\n"}, {3, 0, "c\n"}},
       "1:0+1 2:0+3 3:0+1"},
      {{{1, 0, "a"}, {1, 249, "b"}}, "1:0+2"},  // a last line without its line feed
  };
  for (const auto &c : cases)
    EXPECT_EQ(c.lines, grouped(c.pieces));
  std::vector<Piece> cut = {{1, 0, "x"}, {1, 1, std::string("y\0z", 3)}, {2, 0, "\r\n"}};
  EXPECT_EQ(std::string("xy\0z", 4), table_lines(cut)[0].whole());
}

// "name mcc-mnc i|s" for each SIM, "i" looked up as from the IMSI.
std::string listed(const std::vector<Sim> &sims) {
  std::string text;
  for (const Sim &s : sims)
    text += (text.empty() ? "" : ", ") + s.name + " " + s.mcc + "-" + s.mnc +
            (s.from_imsi ? " i" : " s");
  return text;
}

// Under 405 isp_pick looks all three MNC digits up first, so a key of
// three digits is a group of its own; the SID table gives cards to 404
// (SIDs 2222, 14494-14519, 14655-14675) and to 405 (14554-14574,
// 14818-14846).
TEST(Sims, ThatReachAKeyAreGroupedByTheirLookups) {
  const std::string k405Cards = ", SID 14554-14574 405-891 s, SID 14818-14846 405-040 s";
  const struct {
    NetworkId key;
    std::vector<std::string> keys;  // three-digit keys the tables have
    std::string sims;
  } cases[] = {
      {{"262", "01"}, {}, "262-01 262-010 i"},
      {{"262", "01"}, {"262-013"}, "262-01 262-010 i"},
      {{"405", "85"}, {}, "405-85 405-850 i" + k405Cards},
      {{"405", "854"}, {"405-850", "405-854"},
       "405-85 405-851 i, 405-850 405-850 i, 405-854 405-854 i" + k405Cards},
      {{"404", "80"}, {}, "404-80 404-800 i, SID 2222 404-80 s, SID 14494-14519 404-80 s, "
                          "SID 14655-14675 404-09 s"},
      {{"405", "89"}, {}, "405-89 405-890 i" + k405Cards},
  };
  for (const auto &c : cases) {
    HasKey has_key = [&](const std::string &m, const std::string &n) {
      for (const std::string &k : c.keys)
        if (k == m + "-" + n)
          return true;
      return false;
    };
    EXPECT_EQ(c.sims, listed(sims_reaching(c.key, has_key))) << network_name(c.key);
  }
  HasKey all = [](const std::string &, const std::string &) { return true; };
  EXPECT_EQ(10u, imsi_sims("405", "85", all).size());  // no rest group left
  EXPECT_EQ("405-850 405-850 i", listed(imsi_sims("405", "85", all)).substr(0, 17));
}

const char kHeader[] = "Index,MCC,MNC,ISP,Region,System,APN,Number,User,Password\r\n";

Table loaded(const std::string &rows) {
  char path[] = "/tmp/isp_table_extend_XXXXXX";
  int fd = mkstemp(path);
  std::string bytes = kHeader + rows;
  EXPECT_EQ(write(fd, bytes.data(), bytes.size()), (ssize_t)bytes.size());
  close(fd);
  Table table;
  EXPECT_TRUE(load_table(path, &table));
  unlink(path);
  return table;
}

// The candidate stands first among its key's rows, the table unchanged.
TEST(CandidateRow, AnswersAsIfItStoodFirstAmongItsKeysRows) {
  Table t = loaded("1,262,01,A,DE,HSDPA,a,*99#,NA,NA\r\n"
                   "2,405,85,B,IN,HSDPA,b,*99#,NA,NA\r\n");
  const std::string row = ",HSDPA,c,*99#,NA,NA\r\n";
  const struct {
    Sim sim;
    CandidateRow candidate;
    int line;
    const char *apn;
  } cases[] = {
      {{"", "262", "015", true}, {{"262", "01"}, "9,262,01,C,DE" + row}, kCandidateLine, "c"},
      {{"", "262", "025", true}, {{"262", "01"}, "9,262,01,C,DE" + row}, 0, ""},
      {{"", "262", "015", true}, {{"262", "02"}, "9,262,02,C,DE" + row}, 2, "a"},
      // 405854 tries 405-854 before 405-85; 405853 only reaches 405-85.
      {{"", "405", "854", true}, {{"405", "854"}, "9,405,854,C,IN" + row}, kCandidateLine, "c"},
      {{"", "405", "853", true}, {{"405", "854"}, "9,405,854,C,IN" + row}, 3, "b"},
      // A candidate short of its ten fields answers nobody.
      {{"", "262", "015", true}, {{"262", "01"}, "9,262,01,C,DE,HSDPA\r\n"}, 2, "a"},
  };
  for (const auto &c : cases) {
    Answer a = run_with_candidate(t, c.sim, c.candidate);
    EXPECT_EQ(c.line, a.line) << c.sim.mcc << c.sim.mnc;
    EXPECT_STREQ(c.apn, a.profile.apn) << c.sim.mcc << c.sim.mnc;
  }
  EXPECT_EQ(3u, t.pieces.size());
  EXPECT_EQ(2u, t.by_key.size());
  EXPECT_EQ(2, run_lookups(t, Sim{"", "262", "015", true}).line);
}

// The store's order is set_to_mib's: the index, then the technology, APN,
// user name, password and dial number.
TEST(StoreItems, ComeInTheOrderTheRunWritesThem) {
  isp_profile p{};
  strcpy(p.index, "7");
  strcpy(p.apn, "web");
  strcpy(p.usr, "u");
  strcpy(p.pwd, "p\"w");
  strcpy(p.number, "*99#");
  p.system = 2;
  std::string items;
  for (const StoreItem &item : store_items(p))
    items += std::string(item.name) + "=" + item.value + " ";
  EXPECT_EQ("G_ISP_INDEX=\"7\" G_SYSTEM=2 G_APN=\"web\" G_USERNAME=\"u\" G_PASSWORD=\"p\\\"w\" "
            "G_NUMBER=\"*99#\" ",
            items);
  const struct {
    int column;
    const char *text;
  } fields[] = {{kIndex, "7"}, {kApn, "web"}, {kUsr, "u"}, {kPwd, "p\"w"}, {kNumber, "*99#"}};
  for (const auto &f : fields)
    EXPECT_STREQ(f.text, profile_text(p, f.column)) << f.column;
  // The technology is a code: no text field stands for it.
  EXPECT_EQ(nullptr, profile_text(p, kSystem));
}

}  // namespace
