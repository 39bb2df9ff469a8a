// Android's carrier identity database: the text format read to the exact
// values or refused with the line at fault, the file's kind told by its
// first word, and its networks kept out of every table's figures.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "against.h"
#include "isp_table_fixtures.h"
#include "carrier_list.h"
#include "merge.h"

namespace {

std::string strings(const char *name, const std::vector<std::string> &values) {
  std::string text;
  for (const std::string &v : values)
    text += std::string(" ") + name + "=" + v;
  return text;
}

// Every value of `list`, in order: "version 7; 12@1 "A" parent 3 [4: spn=x]".
std::string dump(const CarrierList &list) {
  std::string text = "version " + std::to_string(list.version);
  for (const Carrier &c : list.carriers) {
    text += "; " + std::to_string(c.canonical_id) + "@" + std::to_string(c.line) + " \"" +
            c.carrier_name + "\" parent " + std::to_string(c.parent_canonical_id);
    for (const CarrierAttribute &a : c.attributes)
      text += " [" + std::to_string(a.line) + ":" + strings("mccmnc", a.mccmnc_tuple) +
              strings("imsi", a.imsi_prefix_xpattern) + strings("spn", a.spn) +
              strings("plmn", a.plmn) + strings("gid1", a.gid1) + strings("gid2", a.gid2) +
              strings("apn", a.preferred_apn) + strings("iccid", a.iccid_prefix) +
              strings("rule", a.privilege_access_rule) + "]";
  }
  return text;
}

struct Case {
  std::string text, want;  // want: the dump, or the error
};

TEST(ReadCarrierList, ReadsEveryFormOfTheTextFormat) {
  const Case cases[] = {
      {"", "version -1"},
      {"# only a comment\nversion: 134217766", "version 134217766"},
      {"carrier_id {\n  canonical_id: 12\n  carrier_name: \"A\"\n  carrier_attribute {\n"
       "    mccmnc_tuple: \"26201\"\n    mccmnc_tuple: \"26206\"\n    gid1: \"4B\"\n  }\n"
       "  carrier_attribute { spn: \"x\" imsi_prefix_xpattern: \"2620x1\" }\n"
       "  parent_canonical_id: 3\n}\nversion: 1\n",
       "version 1; 12@1 \"A\" parent 3 [4: mccmnc=26201 mccmnc=26206 gid1=4B] "
       "[9: imsi=2620x1 spn=x]"},
      // Both quotes, a block after ":" and between < >, the separators.
      {"carrier_id: {carrier_name: 'say \"hi\"';}\ncarrier_id <\ncanonical_id: -7,\n>",
       "version -1; -1@1 \"say \"hi\"\" parent -1; -7@2 \"\" parent -1"},
      // Adjacent strings across a comment, octal and hex escapes, UTF-8 kept.
      {"carrier_id { carrier_name: \"Colombia \" # part\n 'M\\303\\263vil' 'S.A.' }",
       "version -1; -1@1 \"Colombia M\xc3\xb3vilS.A.\" parent -1"},
      {"carrier_id { carrier_name: \"M\xc3\xb3vil\\x41\\101\\7\\x7\" }",
       "version -1; -1@1 \"M\xc3\xb3vilAA\a\a\" parent -1"},
      {"carrier_id { carrier_name: \"\\\"\\'\\\\\\?\\n\\t\\r\\a\\b\\f\\v\" }",
       "version -1; -1@1 \"\"'\\?\n\t\r\a\b\f\v\" parent -1"},
      {"carrier_id{carrier_attribute{plmn:\"p\" gid2:\"g\" preferred_apn:\"a\" "
       "iccid_prefix:\"8944\" privilege_access_rule:\"61ed\"}}",
       "version -1; -1@1 \"\" parent -1 [1: plmn=p gid2=g apn=a iccid=8944 rule=61ed]"},
  };
  for (const Case &c : cases) {
    CarrierList list;
    std::string error;
    EXPECT_TRUE(read_carrier_list(c.text, &list, &error)) << c.text << ": " << error;
    EXPECT_EQ(dump(list), c.want) << c.text;
  }
}

TEST(ReadCarrierList, NamesTheLineOfEachFault) {
  const std::string kLong = "version: 1\ncarrier_id { carrier_name: \"" +
                            std::string(kCarrierStringMax - 1, 'a') + "\" \"bc\" }";
  const Case cases[] = {
      {"carrier_id {\n  carrier_name: \"abc\n}\n", "line 2: a string is not closed on its line"},
      {"version: 1\ncarrier_id {\n  canonical_id: 1\n", "line 2: the block of carrier_id is never closed"},
      {"carrier_id {\n  carrier_attribute <\n    mccmnc_tuple: \"1\"\n  }\n>\n",
       "line 4: a field name or \">\" expected, found \"}\""},
      {"carrier_id {\n  carrier_nam: \"x\"\n}", "line 2: CarrierId has no field \"carrier_nam\""},
      {"\n\nversion: \"5\"", "line 3: version takes a number, found a string"},
      {"carrier_id {\n\n  carrier_name: 5\n}", "line 3: carrier_name takes a string, found a number"},
      {"carrier_id: 5", "line 1: carrier_id takes a block { ... }, found a number"},
      {"carrier_id {\n  canonical_id: 1\n  canonical_id: 2\n}",
       "line 3: canonical_id is given twice; it holds one value"},
      {"version: 1\n}\n", "line 2: a field name expected, found \"}\""},
      {"carrier_id {\n carrier_attribute {\n  mccmnc_tuple {\n",
       "line 3: mccmnc_tuple takes a string, found a block"},
      {"carrier_id {" + std::string(100000, '{'), "line 1: a field name or \"}\" expected, found a block"},
      {"version 5", "line 1: \":\" expected after version, found a number"},
      {"version: 99999999999999999999", "line 1: \"99999999999999999999\" is out of range"},
      {"version: 010", "line 1: \"010\" begins with 0, which the text format reads as octal"},
      {"version: 0x10", "line 1: \"0x10\" is not a decimal number"},
      {"#\ncarrier_id { carrier_name: \"a\\qb\" }", "line 2: unknown escape \\q"},
      {"carrier_id { carrier_name: \"\\400\" }", "line 1: an octal escape above \\377"},
      {"carrier_id { carrier_name: \"\\xg\" }", "line 1: \\x without a hex digit"},
      {"carrier_id { carrier_name: \"\\", "line 1: a string is not closed on its line"},
      {kLong, "line 2: a string longer than 64 KiB"},
      {std::string(kCarrierListMax + 1, ' '), "more than 64 MiB"},
  };
  for (const Case &c : cases) {
    CarrierList list;
    std::string error;
    EXPECT_FALSE(read_carrier_list(c.text, &list, &error)) << c.text.substr(0, 80);
    EXPECT_EQ(error, c.want) << c.text.substr(0, 80);
  }
}

TEST(LooksLikeCarrierList, KnowsItsFirstWord) {
  EXPECT_TRUE(looks_like_carrier_list("# carriers\n\ncarrier_id {\n"));
  EXPECT_TRUE(looks_like_carrier_list("  version :3"));
  EXPECT_TRUE(looks_like_carrier_list("carrier_id # a block\n <"));
  EXPECT_FALSE(looks_like_carrier_list("<?xml version=\"1.0\"?>\n<apns version=\"8\">"));
  EXPECT_FALSE(looks_like_carrier_list("Index,MCC,MNC,ISP,Region,System,APN,Number,User,Password\r\n"));
  EXPECT_FALSE(looks_like_carrier_list("carrier_ids {"));
  EXPECT_FALSE(looks_like_carrier_list("carrier_id"));
}

TEST(CarrierListSource, GivesCarriersAndNetworksButNoListing) {
  std::vector<Source> sources = load_fixtures({"carriers.textpb"});
  const Source &s = sources[0];
  EXPECT_TRUE(s.carrier_list && !s.android);
  EXPECT_EQ(s.listers, 4u);
  EXPECT_EQ(s.carriers.version, 7);
  EXPECT_TRUE(s.listings.empty());
  const std::map<NetworkId, std::string> want = {
      {{"262", "07"}, "Plain Mobil"}, {{"262", "08"}, "Plain Mobil"},
      {{"310", "26"}, "Hill 'n' Dale"}, {{"310", "260"}, "Hill 'n' Dale"},
      {{"732", "12"}, "Tel\xc3\xa9 M\xc3\xb3vil"}, {{"732", "13"}, "Tel\xc3\xa9 M\xc3\xb3vil"},
      {{"732", "14"}, "Tel\xc3\xa9 M\xc3\xb3vil"}};
  EXPECT_EQ(s.networks, want);
  EXPECT_EQ(s.bad_network_ids, 1u);  // "2620"; "00101" is a test network
}

// A carrier list's networks are no table's networks: beside the provider
// fixture, none of whose keys it decides otherwise, it changes no figure
// and no row; and the generated database beside it alone is still read.
TEST(CarrierListSource, ChangesNoTableFigure) {
  std::vector<TableRow> alone_rows, both_rows;
  TableFigures alone = merge_all(load_fixtures({"providers.xml"}), &alone_rows);
  TableFigures both = merge_all(load_fixtures({"carriers.textpb", "providers.xml"}), &both_rows);
  EXPECT_EQ(both.listers, alone.listers);
  EXPECT_EQ(both.networks, alone.networks);
  EXPECT_EQ(both.read_as, alone.read_as);  // 732-123 is no 732-12
  EXPECT_EQ(both.left_out, alone.left_out);
  ASSERT_EQ(both_rows.size(), alone_rows.size());
  for (size_t i = 0; i < both_rows.size(); i++)
    EXPECT_EQ(both_rows[i].text, alone_rows[i].text);
  EXPECT_FALSE(load_fixtures({"generated_apns.xml", "carriers.textpb"})[0].set_aside);
}

std::string run(const std::string &command, int *status) {
  std::string out = "/tmp/isp_table_carriers." + std::to_string(getpid());
  *status = system(("cd '" ISP_TABLE_FIXTURES "' && " + command + " > " + out + " 2>&1").c_str());
  std::ostringstream text;
  text << std::ifstream(out).rdbuf();
  remove(out.c_str());
  return text.str();
}

TEST(CarrierListRun, SummarisesItOrNamesTheFaultyLine) {
  int status;
  std::string said = run("'" ISP_TABLE "' providers.xml carriers.textpb >/dev/null", &status);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << said;
  EXPECT_NE(said.find("\ncarriers.textpb (carrier identity database):\n  carriers: 4\n"
                      "  networks: 7\n  version: 7\nmerged table:\n"),
            std::string::npos) << said;
  said = run("printf 'carrier_id {\\n  version: 1\\n}\\n' > /tmp/isp_table_bad.textpb; '" ISP_TABLE
             "' extend extend_table.csv providers.xml /tmp/isp_table_bad.textpb", &status);
  remove("/tmp/isp_table_bad.textpb");
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2);
  EXPECT_EQ(said, "isp_table: cannot read /tmp/isp_table_bad.textpb: line 2: CarrierId has no "
                  "field \"version\"\n");
}

}  // namespace
