// isp_table check on what it must not let through: values moved by a comma
// inside one, bytes the store and the modem cannot take (and the generator
// holding to the same rule), tables in UTF-16, rows with a NUL byte, sizes
// in bytes and characters. Expected messages are worked out by hand.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "check.h"
#include "merge.h"

namespace {

using namespace std::string_literals;
using Texts = std::vector<std::string>;

const std::string kHeader = "Index,MCC,MNC,ISP,Region,System,APN,Number,User,Password\r\n";

std::string written(const std::string &bytes) {
  char path[] = "/tmp/isp_table_check_XXXXXX";
  int fd = mkstemp(path);
  EXPECT_EQ(write(fd, bytes.data(), bytes.size()), (ssize_t)bytes.size());
  close(fd);
  return path;
}

Findings check(const std::string &bytes) {
  std::string path = written(bytes);
  Table table;
  EXPECT_TRUE(load_table(path.c_str(), &table));
  unlink(path.c_str());
  return check_table(table);
}

// The findings on line 2, the row after the header, as "error: ..." or "warning: ...".
Texts on_row(const std::string &row, const std::string &header = kHeader) {
  Texts texts;
  for (const Finding &f : check(header + row).list)
    if (f.line == 2)
      texts.push_back((f.error ? "error: " : "warning: ") + f.text);
  return texts;
}

// Every finding of a table, as "LINE: error: ..." or "LINE: warning: ...".
Texts on_table(const std::string &rows, int *counted) {
  Findings found = check(kHeader + rows);
  Texts texts;
  for (const Finding &f : found.list)
    texts.push_back(std::to_string(f.line) + (f.error ? ": error: " : ": warning: ") + f.text);
  *counted = found.rows;
  return texts;
}

std::string same_index(int line, const std::string &index, int first) {
  return std::to_string(line) + ": warning: index \"" + index + "\" is line " +
         std::to_string(first) + "'s too, with another profile: G_ISP_INDEX no longer tells "
         "which profile the store holds";
}

// An empty spreadsheet row answers no lookup in isp_pick: a warning, never
// the advice to write "NA", which would make it a placeholder row. It is
// no row, so the placeholder row before it is still the last.
TEST(Check, AnEmptySpreadsheetRowIsNoRow) {
  const std::string rows = "1,262,01,A,DE,HSDPA,a,*99#,NA,NA\r\n"
                           "2,NA,NA,Any,XX,CDMA2000,NA,#777,NA,NA\r\n";
  for (const char *empty : {",,,,,,,,,", "   ", ";;;;;;;;;", "\t\t", " , ;"}) {
    int counted = 0;
    EXPECT_EQ(on_table(rows + empty + "\r\n", &counted), Texts{"4: warning: empty row: delete the line"})
        << empty;
    EXPECT_EQ(counted, 2) << empty;
  }
}

// One index, two profiles: G_ISP_INDEX no longer tells the store which
// profile it holds. Name and region are not stored; the index is compared
// as the store holds it (" 02" is "2").
TEST(Check, RowsSharingAnIndexWithAnotherProfile) {
  const struct {
    const char *rows;
    Texts found;
  } cases[] = {
      {"1,262,01,A,DE,HSDPA,a,*99#,NA,NA\r\n1,262,02,A2,AT,HSDPA,a,*99#,NA,NA\r\n", {}},
      {"1,262,01,A,DE,HSDPA,a,*99#,NA,NA\r\n1,262,03,A,DE,HSDPA,b,*99#,NA,NA\r\n",
       {same_index(3, "1", 2)}},
      {"2,262,04,B,DE,HSDPA,c,*99#,u,p\r\n2,262,05,B,DE,CDMA2000,c,*99#,u,p\r\n"
       "2,262,06,B,DE,HSDPA,c,*99#,u,NA\r\n",
       {same_index(3, "2", 2), same_index(4, "2", 2)}},
      {"2,262,01,A,DE,HSDPA,a,*99#,NA,NA\r\n 02,262,02,B,DE,HSDPA,b,*99#,NA,NA\r\n",
       {same_index(3, " 02", 2)}},
      // Another number is another index, though it ends alike.
      {"2,262,01,A,DE,HSDPA,a,*99#,NA,NA\r\n12,262,02,B,DE,HSDPA,b,*99#,NA,NA\r\n", {}},
  };
  for (const auto &c : cases) {
    int counted = 0;
    EXPECT_EQ(on_table(c.rows, &counted), c.found) << c.rows;
  }
}

const char kMoves[] =
    " every later value out of its column, since isp_pick cuts values at every comma";

// Up to three readings are named, each with all its joins; more name the columns.
TEST(Check, ARowWithMoreFieldsThanColumnsNamesTheValueWithTheComma) {
  const std::string eleven = "error: the row has 11 fields, more than the table's 10 columns: ",
                    notes = "Index,MCC,MNC,ISP,Region,System,APN,Number,User,Password,Notes,\r\n";
  const struct {
    std::string header, row;
    Texts found;
  } cases[] = {
      {kHeader, "1,262,02,V,DE,HSDPA,inter,net,*99#,user,pass\r\n",
       {eleven + "a comma in APN \"inter,net\" moves" + kMoves}},
      {kHeader, "1,262,02,V,DE,HSDPA,web.vodafone.de,*99#,user,pa,ss\r\n",
       {eleven + "a comma in user name \"user,pa\" or in password \"pa,ss\" moves" + kMoves}},
      // Placeholders stand in MCC, MNC and dial number; a name or region holds anything.
      {kHeader, "1,NA,NA,Big, Co,XX,CDMA2000,NA,NA,NA,NA\r\n",
       {eleven + "a comma in operator name \"Big, Co\" or in region \" Co,XX\" moves" + kMoves}},
      // A name and a region are printed as written.
      {kHeader, "1,262,02,M\xc3\xbcller, Funk,DE,HSDPA,web,*99#,u,p\r\n",
       {eleven + "a comma in operator name \"M\xc3\xbcller, Funk\" or in region \" Funk,DE\" "
                 "moves" + kMoves}},
      // LTE names no technology and "x" is no dial number: no join is plausible.
      {kHeader, "1,262,02,V,DE,LTE,x,y,z,u,v\r\n",
       {eleven + "a value holds a comma, and since isp_pick cuts values at every comma, every "
                 "later value moves out of its column"}},
      // A title line names no columns: the table still has the ten isp_pick reads.
      {"Operator table\r\n", "1,262,02,V,DE,HSDPA,web,*99#,u,p\r\n", {}},
      {"Operator table\r\n", "1,262,02,V,DE,HSDPA,inter,net,*99#,user,pass\r\n",
       {eleven + "a comma in APN \"inter,net\" moves" + kMoves}},
      // A trailing comma makes no field; the header's Notes column may be filled.
      {kHeader, "1,262,02,V,DE,HSDPA,web,*99#,u,p,\r\n", {}},
      {notes, "1,262,02,V,DE,HSDPA,web,*99#,u,p,a note\r\n", {}},
      // Within the header's columns, ten columns that no person writes so
      // are a comma's; a password and a note that might be one value are not.
      {notes, "1,262,02,V,DE,HSDPA,inter,net,*99#,user,pw\r\n",
       {"error: the row has 11 fields, and as they stand the dial number is \"net\": a comma in "
        "APN \"inter,net\" moves" + std::string(kMoves)}},
      {notes, "1,262,02,V,DE,HSDPA,web.vodafone.de,*99#,user,pa,ss\r\n", {}},
      {notes, "1,262,02,V,DE,LTE,web,*99#,u,p,n\r\n",
       {"warning: technology \"LTE\" names none of HSDPA, CDMA2000 and TD-SCDMA: the store gets "
        "the code that an earlier row left (0 when none)"}},
      {kHeader, "1,262,02,V,DE,HSDPA,in,ter,*9,9#,u,p\r\n",
       {"error: the row has 12 fields, more than the table's 10 columns: commas in APN "
        "\"in,ter\" and dial number \"*9,9#\", or in APN \"in,ter\" and user name \"9#,u\", "
        "or in APN \"in,ter\" and password \"u,p\" move" + std::string(kMoves)}},
      {kHeader, "2,262,03,V,DE,HSDPA,a,b,c,*99#,u,v,w,x,y\r\n",
       {"error: the row has 15 fields, more than the table's 10 columns: commas in some of "
        "APN, user name and password move" + std::string(kMoves)}},
  };
  for (const auto &c : cases)
    EXPECT_EQ(on_row(c.row, c.header), c.found) << c.row;
}

// extend refuses a table whose row the comma moved: status 1, no table.
TEST(Check, ExtendRefusesARowWithMoreFields) {
  std::string table = written(kHeader + "1,262,02,V,DE,HSDPA,inter,net,*99#,u,p\r\n"),
              out = written("");
  int status = system((std::string(ISP_TABLE) + " extend " + table + " " + ISP_TABLE_FIXTURES +
                       "/providers.xml > " + out + " 2> /dev/null").c_str());
  struct stat st;
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
  EXPECT_TRUE(stat(out.c_str(), &st) == 0 && st.st_size == 0);
  unlink(table.c_str());
  unlink(out.c_str());
}

// Values as isp_pick takes them: a CR is the line's finding alone, a tab at
// the end draws no space's warning, a placeholder holds no byte at all.
TEST(Check, BytesTheStoreAndTheModemCannotTake) {
  const std::string control =
      ", a tab or control byte: it reaches the store and the modem as it stands",
                    dial = ": a dial number is digits, \"*\", \"#\" and \"+\", so a value with "
                           "another byte is most likely another column's, moved there";
  const struct {
    const char *values;  // APN to password
    Texts found;
  } cases[] = {
      {"web mms,*99#,u,p", {"error: APN \"web mms\" holds \" \": an APN is ASCII letters, digits, "
                            "hyphens and dots, as a DNS name is, so no network has an APN with "
                            "another byte"}},
      {"inter\rnet,*99#,u,p", {"error: a carriage return inside the line: isp_pick ends a row "
                               "only at a line feed, so a line ended by CR alone runs into the "
                               "next, and a CR in a value goes to the store with it"}},
      {"web,*99#,user\t,p", {"error: user name \"user\\t\" holds \"\\t\"" + control}},
      // DEL is a control byte too, in a login and in a dial number.
      {"web,*99#,u\x7f,p", {"error: user name \"u\\x7f\" holds \"\\x7f\"" + control}},
      {"web,*99#\x7f,u,p", {"error: dial number \"*99#\\x7f\" holds \"\\x7f\"" + control}},
      {"web,*99#,u, pw", {"warning: a space at the start or end of password \" pw\": isp_pick "
                          "sends each value as it stands"}},
      // A letter or a space in a dial number is a shifted value's sign, not the space's.
      {"web,net,u,p", {"warning: dial number \"net\" holds \"n\"" + dial}},
      {"web,*99# ,u,p", {"warning: dial number \"*99# \" holds \" \"" + dial}},
      {"web,*99#\xc2\xa0,u,p", {"error: dial number \"*99#\\xc2\\xa0\" holds \"\\xc2\", a "
                                "non-ASCII byte: the modem dials ASCII alone"}},
      {"web,*99#,u,p\xc3\xa4\x01",
       {"error: password \"p\\xc3\\xa4\\x01\" holds \"\\x01\"" + control}},
      {"web,*99#,u,p\xc3\xa4", {"warning: password \"p\\xc3\\xa4\" holds \"\\xc3\", a non-ASCII "
                               "byte: it reaches the store and the modem as it stands, and many "
                               "modems take ASCII alone"}},
      {"web_NA,*99#,u,p", {"error: APN \"web_NA\" contains \"NA\": isp_pick sends it as empty"}},
  };
  for (const auto &c : cases)
    EXPECT_EQ(on_row("1,262,02,V,DE,HSDPA,"s + c.values + "\r\n"), c.found) << c.values;
}

// The generator never writes a row the check calls an error: such a
// listing is left out under the rule's reason; a warning's is kept.
TEST(Generate, LeavesOutAListingWhoseBytesTheCheckRefuses) {
  const struct {
    const char *apn, *number, *user, *password, *left_out;  // "": written
  } cases[] = {
      {"wap mms", "*99#", "", "", "APN with a byte other than letters, digits, hyphens and dots"},
      {"web", "*99#", "a\tb", "", "tab or control byte in a user name, password or dial number"},
      {"web", "*99#\xc2\xa0", "", "", "non-ASCII byte in a dial number"},
      {"web", "*99#", "", "p\xc3\xa4ss", ""},
  };
  for (const auto &c : cases) {
    Source s;
    s.listings.resize(1);
    Listing &l = s.listings[0];
    l.name = "Op", l.technology = "HSDPA", l.networks = {{"262", "02"}};
    l.apn = c.apn, l.number = c.number, l.user = c.user, l.password = c.password;
    TableFigures f = merge_table({&s}, nullptr);
    EXPECT_EQ(f.rows, *c.left_out ? 0u : 1u) << c.apn;
    EXPECT_EQ(f.left_out[c.left_out], *c.left_out ? 1u : 0u) << c.apn;
  }
}

// One finding on the file and no row: each line's findings would be noise.
TEST(Check, AUtf16TableIsNamedOnce) {
  // "Id,M", "1,2"; and with the header's "Id" in Cyrillic, U+0418 U+042C,
  // whose second character's low byte is a comma's.
  std::string le_rest = ",\0M\0\r\0\n\0" "1\0,\0" "2\0\r\0\n\0"s, le = "I\0d\0"s + le_rest,
              be_rest = "\0,\0M\0\r\0\n\0" "1\0,\0" "2\0\r\0\n"s, be = "\0I\0d"s + be_rest;
  const std::string after = " (its first line has a NUL byte after each comma, CR and LF)",
                    before = " (its first line has a NUL byte before each comma, CR and LF)";
  const struct {
    std::string bytes, order_how;
  } cases[] = {
      {le, "little-endian" + after},
      {be, "big-endian" + before},
      {"\x18\x04\x2c\x04"s + le_rest, "little-endian" + after},
      {"\x04\x18\x04\x2c"s + be_rest, "big-endian" + before},
      // A title line "Op" has no comma, but its CR LF.
      {"O\0p\0\r\0\n\0" "1\0,\0" "2\0\r\0\n\0"s, "little-endian" + after},
      {"\xff\xfe" + le, "little-endian (it begins with the byte-order mark FF FE)"},
      {"\xfe\xff" + be, "big-endian (it begins with the byte-order mark FE FF)"},
  };
  for (const auto &c : cases) {
    Findings found = check(c.bytes);
    ASSERT_EQ(found.list.size(), 1u) << c.order_how;
    EXPECT_TRUE(found.list[0].line == 0 && found.list[0].error && found.rows == 0);
    EXPECT_EQ(found.list[0].text, "the table is UTF-16, " + c.order_how +
                                      ": isp_pick reads bytes and ends a row at its first NUL "
                                      "byte, so it returns no row of it; save it as UTF-8 or "
                                      "ASCII text");
  }
}

// The NUL is the cause of a row it leaves short, not its field count.
TEST(Check, ANulByteInARowIsNamedWhereItStands) {
  const struct {
    std::string row, where;
  } cases[] = {
      {"1,262,02,V,DE\0,HSDPA,web,*99#,u,p\r\n"s, "character 14"},
      // After a comma at an even offset of the file: no UTF-16 table, whose lines end "\n\0".
      {"1,262,02,V,D,\0E,HSDPA,web,*99#,u,p\r\n"s, "character 14"},
      {"1,262,02,V,DE,HSDPA,web,*99#,u,p\0q\r\n"s, "character 33"},
      {"1,262,02,\xc3\x9c,DE,HSDPA,web,*99#,u,p\0\r\n"s, "byte 34 (character 33)"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(on_row(c.row), Texts{"error: a NUL byte at " + c.where +
                                   " of the line: isp_pick ends the row there as text, so the "
                                   "values after it are lost"});
}

// A field holds bytes: a UTF-8 value or line gives its characters too
// (hand_kept.csv's lines 7 and 13 give ASCII's bytes alone).
TEST(Check, SizesSayBytesAndCharacters) {
  std::string zhe;  // 34 Cyrillic Zhe, two bytes each
  for (int i = 0; i < 34; i++)
    zhe += "\xd0\x96";
  std::string tail = ",DE,HSDPA,web,*99#,u,p\r\n", never = ": the row is never returned";
  // The name as written, as every message prints names.
  EXPECT_EQ(on_row("1,262,02," + zhe + " MTS" + tail),
            Texts{"error: operator name \"" + zhe + " MTS\" is 72 bytes (38 characters), "
                  "more than the 63 bytes its field holds" + never});
  // 120 Zhe: 273 bytes with the rest, 153 characters.
  EXPECT_EQ(on_row("1,262,02," + zhe + zhe + zhe + zhe.substr(0, 36) + tail),
            Texts{"error: the line is 273 bytes (153 characters) long, more than one read of 249 "
                  "bytes: isp_pick cuts it after byte 249 and takes the rest as a row of its own"});
}

// A space or a quote weighs by where its value goes: to the store and the
// modem (a login), or only into the print (a name, the technology's name).
TEST(Check, SpacesAndQuotesWeighedByWhereTheValueGoes) {
  const struct { const char *row; const char *finding; } cases[] = {
      {"1,262,01,T,DE,HSDPA,internet,*99#, u ,NA\r\n",
       "warning: a space at the start or end of user name \" u \": isp_pick sends each value as "
       "it stands"},
      {"1,262,01,T,DE,HSDPA,internet,*99#,NA,pw \r\n",
       "warning: a space at the start or end of password \"pw \": isp_pick sends each value as it "
       "stands"},
      {"1,262,01,T,DE,\"HSDPA\",internet,*99#,NA,NA\r\n",
       "warning: technology is in double quotes: isp_pick reads no quotes and takes them as part "
       "of the value"},
      {"1,262,01,T,DE,HSDPA,\"internet\",*99#,NA,NA\r\n",
       "error: APN is in double quotes: isp_pick reads no quotes and takes them as part of the "
       "value"},
  };
  for (const auto &c : cases) {
    Texts found = on_row(c.row);
    EXPECT_NE(std::find(found.begin(), found.end(), c.finding), found.end())
        << c.row << "\nwants: " << c.finding << "\nfound: " << ::testing::PrintToString(found);
  }
}

}  // namespace
