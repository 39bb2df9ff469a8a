// What the generator keeps of the databases: a name or region too long for
// its field is cut a whole character at a time, the network kept; names
// are printed as people write them; a provider database in Android's
// clothes is no second database.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "against.h"
#include "isp_table_fixtures.h"
#include "merge.h"
#include "pieces.h"
#include "utf8.h"

namespace {

const std::string kZhe = "\xd0\x96", kZhe31 = [] {  // Ж, two bytes; 31 of them
  std::string s;
  for (int i = 0; i < 31; i++)
    s += kZhe;
  return s;
}();

TEST(CutToWidth, EndsOnACharacterBoundaryOrAtTheWidth) {
  const struct { std::string text; size_t width; std::string want; } cases[] = {
      {kZhe31 + kZhe, 63, kZhe31},                    // 32 characters: 31 fit in 63 bytes
      {"ab\xe2\x82\xac", 4, "ab"},                    // "€" would end at byte 5
      {"ab\xe2\x82\xac", 5, "ab\xe2\x82\xac"},
      {"a\xf0\x9f\x98\x80", 4, "a"},                  // a four-byte character
      {"\xff\xff\xff\xff", 2, "\xff\xff"},            // no UTF-8: at the width
      {"\xc0\xaf", 1, "\xc0"},                        // an overlong "/" is two bytes
      {kZhe + "\xd0", 2, kZhe}, {"ab\xd0", 3, "ab\xd0"},  // a sequence cut off
  };
  for (const auto &c : cases)
    EXPECT_EQ(cut_to_width(c.text, c.width), c.want) << c.text << " to " << c.width;
}

TEST(ShownName, KeepsUtf8AndEscapesControlsAndBrokenSequences) {
  const struct { std::string name, want; } cases[] = {
      {"M\xc3\xbcller \xf0\x9f\x98\x80", "\"M\xc3\xbcller \xf0\x9f\x98\x80\""},
      {"\xc2\xa0", "\"\xc2\xa0\""},                    // U+00A0, past the C1 controls
      {"a\xc2\x9f", "\"a\\xc2\\x9f\""},                // U+009F, a C1 control
      {"a\xe2\x80\xae" "b", "\"a\\xe2\\x80\\xaeb\""},  // U+202E turns what follows around
      {"\xe2\x80\x8b", "\"\\xe2\\x80\\x8b\""},          // U+200B, a space of no width
      {"T\tw\x7f\"\\", "\"T\\tw\\x7f\\\"\\\\\""},      // a tab, DEL, a quote, a backslash
      {"\xc0\xaf", "\"\\xc0\\xaf\""},                  // an overlong "/"
      {"\xe0\x83\xa9", "\"\\xe0\\x83\\xa9\""},          // U+00E9 written overlong, in three bytes
      {"\xf0\x82\x82\xac", "\"\\xf0\\x82\\x82\\xac\""},  // U+20AC written overlong, in four
      {"\xed\xa0\x80", "\"\\xed\\xa0\\x80\""},          // a surrogate
      {"\xf4\x90\x80\x80", "\"\\xf4\\x90\\x80\\x80\""},  // beyond U+10FFFF
      {"\xe2\x82" + kZhe, "\"\\xe2\\x82" + kZhe + "\""},  // cut off, then Ж
  };
  for (const auto &c : cases)
    EXPECT_EQ(shown_name(c.name), c.want) << c.name;
  EXPECT_EQ(shown("m\xc3\xbc.de"), "\"m\\xc3\\xbc.de\"");  // an APN stays escaped
}

std::vector<std::string> texts(const std::vector<Source> &sources, TableFigures *f) {
  std::vector<TableRow> rows;
  *f = merge_all(sources, &rows);
  std::vector<std::string> all;
  for (const TableRow &row : rows)
    all.push_back(row.text);
  return all;
}

TEST(Generate, CutsALongNameOrRegionButLeavesOutALongApnOrLogin) {
  TableFigures f;
  std::vector<std::string> want = {
      "250,01," + kZhe31 + ",RU,HSDPA,internet.long,*99#,NA,NA\r\n",
      "260,01,Region," + std::string(63, 'Q') + ",HSDPA,web,*99#,NA,NA\r\n",
      "311,48,One,US,HSDPA,one,*99#,NA,NA\r\n"};
  EXPECT_EQ(texts(load_fixtures({"long_names.xml"}), &f), want);
  EXPECT_EQ(f.cut, 2u);
  EXPECT_EQ(f.without_usable, 2u);
  EXPECT_EQ(f.left_out["APN, user name or password too long for its field"], 2u);
  ASSERT_EQ(f.unservable.size(), 1u);
  EXPECT_EQ(f.unservable[0].text(), "311-481 \"Two\\xc2\\x85" "Funk\"");
}

// Beside the provider database, the table and the listers (20) are the
// provider database's alone.
TEST(Generate, SetsAsideAGeneratedFileBesideAProviderDatabase) {
  TableFigures alone, both;
  std::vector<Source> sources = load_fixtures({"providers.xml", "generated_apns.xml"});
  EXPECT_TRUE(sources[1].generated && sources[1].set_aside);
  EXPECT_EQ(texts(sources, &both), texts(load_fixtures({"providers.xml"}), &alone));
  EXPECT_EQ(both.listers, 20u);
}

// Beside Android's own too: there its listers would win 232-01 for Bee's
// "web.one" by number alone. Alone, it is read as Android's kind.
TEST(Generate, SetsAsideAGeneratedFileBesideAnyOtherDatabase) {
  TableFigures alone, both;
  std::vector<Source> sources = load_fixtures({"generated_apns.xml", "rank_apns.xml"});
  EXPECT_TRUE(sources[0].set_aside);
  EXPECT_EQ(texts(sources, &both), texts(load_fixtures({"rank_apns.xml"}), &alone));
  std::vector<Source> only = load_fixtures({"generated_apns.xml"});
  EXPECT_TRUE(only[0].generated && only[0].android && !only[0].set_aside);
  EXPECT_EQ(texts(only, &alone).size(), 2u);  // 232,01 and 262,10
  EXPECT_FALSE(load_fixtures({"rank_apns.xml"})[0].generated);  // a comment before its root too
}

}  // namespace
