// isp_table check on what it must not let through: values moved by a comma
// inside one, bytes the store and the modem cannot take, and the generator
// holding to the same rule; tables in UTF-16 and rows with a NUL byte;
// sizes in bytes and characters. Expected messages are worked out by hand.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "check.h"
#include "merge.h"

namespace {

using namespace std::string_literals;

const char kHeader[] = "Index,MCC,MNC,ISP,Region,System,APN,Number,User,Password\r\n";

// A file of its own for each table, removed with the test's folder.
class Check : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(mkdtemp(dir_)); }
  void TearDown() override { EXPECT_EQ(system(("rm -rf " + std::string(dir_)).c_str()), 0); }

  std::string write(const std::string &bytes) {
    std::string path = std::string(dir_) + "/t" + std::to_string(files_++) + ".csv";
    FILE *f = fopen(path.c_str(), "wb");
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
    return path;
  }

  Findings check(const std::string &bytes) {
    Table table;
    EXPECT_TRUE(load_table(write(bytes).c_str(), &table));
    return check_table(table);
  }

  // The findings on line `line` as "error: ..." or "warning: ...".
  std::vector<std::string> on_line(const std::string &bytes, int line) {
    std::vector<std::string> texts;
    for (const Finding &f : check(bytes).list)
      if (f.line == line)
        texts.push_back((f.error ? "error: " : "warning: ") + f.text);
    return texts;
  }

  char dir_[32] = "/tmp/isp_table_check_XXXXXX";
  int files_ = 0;
};

struct Case {
  const char *header, *row, *finding;  // finding "": none on the row
};

const char kMoves[] = " every later value out of its column, since isp_pick cuts values at every comma";

TEST_F(Check, ARowWithMoreFieldsThanColumnsNamesTheValueWithTheComma) {
  const char *notes = "Index,MCC,MNC,ISP,Region,System,APN,Number,User,Password,Notes,\r\n";
  std::string eleven = "the row has 11 fields, more than the table's 10 columns: ";
  const Case cases[] = {
      {kHeader, "1,262,02,V,DE,HSDPA,inter,net,*99#,user,pass\r\n",
       "a comma in APN \"inter,net\" moves"},
      {kHeader, "1,262,02,V,DE,HSDPA,web.vodafone.de,*99#,user,pa,ss\r\n",
       "a comma in user name \"user,pa\" or in password \"pa,ss\" moves"},
      // LTE names no technology, "x" is no dial number: nothing is plausible.
      {kHeader, "1,262,02,V,DE,LTE,x,y,z,u,v\r\n", ""},
      // Placeholders stand in MCC, MNC and the dial number; a name or region
      // may hold anything.
      {kHeader, "1,NA,NA,Big, Co,XX,CDMA2000,NA,NA,NA,NA\r\n",
       "a comma in operator name \"Big, Co\" or in region \" Co,XX\" moves"},
      // A trailing comma leaves no field; the header's Notes column may be filled.
      {kHeader, "1,262,02,V,DE,HSDPA,web,*99#,u,p,\r\n", nullptr},
      {notes, "1,262,02,V,DE,HSDPA,web,*99#,u,p,a note\r\n", nullptr},
  };
  for (const Case &c : cases) {
    std::vector<std::string> found = on_line(c.header + std::string(c.row), 2);
    if (!c.finding) {
      EXPECT_TRUE(found.empty()) << c.row << found[0];
      continue;
    }
    std::string want = "error: " + eleven +
                       (*c.finding ? c.finding + std::string(kMoves)
                                   : "a value holds a comma, and since isp_pick cuts values at "
                                     "every comma, every later value moves out of its column");
    EXPECT_EQ(found, std::vector<std::string>{want}) << c.row;
  }
}

// Three readings are named, each with all its joins; more name the columns.
TEST_F(Check, TwoCommasAndManyReadings) {
  std::string table = std::string(kHeader) + "1,262,02,V,DE,HSDPA,in,ter,*9,9#,u,p\r\n" +
                      "2,262,03,V,DE,HSDPA,a,b,c,*99#,u,v,w,x,y\r\n";
  std::string twelve = "error: the row has 12 fields, more than the table's 10 columns: commas in ";
  EXPECT_EQ(on_line(table, 2),
            std::vector<std::string>{twelve +
                                     "APN \"in,ter\" and dial number \"*9,9#\", or in APN "
                                     "\"in,ter\" and user name \"9#,u\", or in APN \"in,ter\" "
                                     "and password \"u,p\" move" + kMoves});
  EXPECT_EQ(on_line(table, 3),
            std::vector<std::string>{"error: the row has 15 fields, more than the table's 10 "
                                     "columns: commas in some of APN, user name and password move" +
                                     std::string(kMoves)});
}

// A quote that splits a value is the cause, reported once, not the fields.
TEST_F(Check, AQuotedCommaIsReportedByTheQuote) {
  std::vector<std::string> found =
      on_line(std::string(kHeader) + "1,262,02,\"V, DE\",DE,HSDPA,web,*99#,u,p\r\n", 2);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].find("error: operator name begins with a double quote"), 0u) << found[0];
}

// extend refuses a table whose row the comma moved: status 1, no table.
TEST_F(Check, ExtendRefusesARowWithMoreFields) {
  std::string table = write(std::string(kHeader) + "1,262,02,V,DE,HSDPA,inter,net,*99#,u,p\r\n");
  std::string out = std::string(dir_) + "/out";
  std::string command = std::string(ISP_TABLE) + " extend " + table + " " + ISP_TABLE_FIXTURES +
                        "/providers.xml > " + out + " 2> " + out + ".err";
  int status = system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  FILE *f = fopen(out.c_str(), "r");
  ASSERT_TRUE(f);
  EXPECT_EQ(fgetc(f), EOF);
  fclose(f);
}

const char kNotApn[] =
    ": an APN is ASCII letters, digits, hyphens and dots, as a DNS name is, so no network has an "
    "APN with another byte";
const char kControl[] = ", a tab or control byte: it reaches the store and the modem as it stands";

// Values as isp_pick takes them: a CR is the line's finding alone, a tab at
// the end no space's warning, a placeholder no byte at all.
TEST_F(Check, BytesTheStoreAndTheModemCannotTake) {
  const char *cr = "error: a carriage return inside the line: isp_pick ends a row only at a line "
                   "feed, so a line ended by CR alone runs into the next, and a CR in a value "
                   "goes to the store with it";
  const struct {
    const char *values;  // APN to password
    std::vector<std::string> found;
  } cases[] = {
      {"web mms,*99#,u,p", {"error: APN \"web mms\" holds \" \"" + std::string(kNotApn)}},
      {"http://x,*99#,u,p", {"error: APN \"http://x\" holds \":\"" + std::string(kNotApn)}},
      {"inter\rnet,*99#,u,p", {cr}},
      {"web,*99#,user\t,p", {"error: user name \"user\\t\" holds \"\\t\"" + std::string(kControl)}},
      {"web,*99#,u, pw", {"warning: a space at the start or end of password \" pw\": isp_pick "
                          "sends each value as it stands"}},
      {"web,*99#\xc2\xa0,u,p", {"error: dial number \"*99#\\xc2\\xa0\" holds \"\\xc2\", a "
                                "non-ASCII byte: the modem dials ASCII alone"}},
      {"web,*99#,u,p\xc3\xa4\x01", {"error: password \"p\\xc3\\xa4\\x01\" holds \"\\x01\"" +
                                     std::string(kControl)}},
      {"web,*99#,u,p\xc3\xa4", {"warning: password \"p\\xc3\\xa4\" holds \"\\xc3\", a non-ASCII "
                               "byte: it reaches the store and the modem as it stands, and many "
                               "modems take ASCII alone"}},
      {"web_NA,*99#,u,p", {"error: APN \"web_NA\" contains \"NA\": isp_pick sends it as empty"}},
  };
  for (const auto &c : cases) {
    std::string row = std::string("1,262,02,V,DE,HSDPA,") + c.values + "\r\n";
    EXPECT_EQ(on_line(kHeader + row, 2), c.found) << row;
  }
}

// The generator never writes a row the check calls an error: such a
// listing is left out under the rule's reason; a warning's is kept.
TEST(Generate, LeavesOutAListingWhoseBytesTheCheckRefuses) {
  const struct {
    const char *apn, *number, *user, *password, *left_out;  // nullptr: written
  } cases[] = {
      {"wap mms", "*99#", "", "", "APN with a byte other than letters, digits, hyphens and dots"},
      {"#777", "*99#", "", "", "APN with a byte other than letters, digits, hyphens and dots"},
      {"web", "*99#", "a\tb", "", "tab or control byte in a user name, password or dial number"},
      {"web", "*99#\xc2\xa0", "", "", "non-ASCII byte in a dial number"},
      {"web", "*99#", "", "p\xc3\xa4ss", nullptr},
  };
  for (const auto &c : cases) {
    Source s;
    Listing l;
    l.name = "Op";
    l.technology = "HSDPA";
    l.apn = c.apn, l.number = c.number, l.user = c.user, l.password = c.password;
    l.networks = {{"262", "02"}};
    s.listings = {l};
    s.networks[{"262", "02"}] = "Op";
    TableFigures f = merge_table({&s}, nullptr);
    EXPECT_EQ(f.rows, c.left_out ? 0u : 1u) << c.apn;
    EXPECT_EQ(f.left_out[c.left_out ? c.left_out : ""], c.left_out ? 1u : 0u) << c.apn;
  }
}

// One finding on the file, none on its lines, no row: each would be noise.
TEST_F(Check, AUtf16TableIsNamedOnce) {
  std::string a = "I\0d\0,\0M\0\r\0\n\0" "1\0,\0" "2\0\r\0\n\0"s;  // "Id,M", "1,2"
  std::string b = "\0I\0d\0,\0M\0\r\0\n\0" "1\0,\0" "2\0\r\0\n"s;
  const struct {
    std::string bytes;
    const char *order, *how;
  } cases[] = {
      {a, "little-endian", "its first line has a NUL byte after every character"},
      {b, "big-endian", "its first line has a NUL byte before every character"},
      {"\xff\xfe" + a, "little-endian", "it begins with the byte-order mark FF FE"},
      {"\xfe\xff" + b, "big-endian", "it begins with the byte-order mark FE FF"},
  };
  for (const auto &c : cases) {
    Findings found = check(c.bytes);
    ASSERT_EQ(found.list.size(), 1u) << c.how;
    EXPECT_EQ(found.list[0].line, 0);
    EXPECT_TRUE(found.list[0].error);
    EXPECT_EQ(found.list[0].text, std::string("the table is UTF-16, ") + c.order + " (" + c.how +
                                      "): isp_pick reads bytes and ends a row at its first NUL "
                                      "byte, so it returns no row of it; save it as UTF-8 or "
                                      "ASCII text");
    EXPECT_EQ(found.rows, 0);
  }
}

// The NUL is the cause of a row it leaves short, not its field count.
TEST_F(Check, ANulByteInARowIsNamedWhereItStands) {
  const char *lost = " of the line: isp_pick ends the row there as text, so the values after it "
                     "are lost";
  const struct {
    std::string row;
    const char *where;
  } cases[] = {
      {"1,262,02,V,DE\0,HSDPA,web,*99#,u,p\r\n"s, "character 14"},
      {"1,262,02,V,DE,HSDPA,web,*99#,u,p\0q\r\n"s, "character 33"},
      {"1,262,02,\xc3\x9c,DE,HSDPA,web,*99#,u,p\0\r\n"s, "byte 34 (character 33)"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(on_line(kHeader + c.row, 2),
              std::vector<std::string>{"error: a NUL byte at " + std::string(c.where) + lost})
        << c.where;
}

// A field holds bytes: a UTF-8 value or line gives its characters too.
TEST_F(Check, SizesSayBytesAndCharacters) {
  std::string zhe, zhe_shown;  // Cyrillic Zhe, two bytes
  for (int i = 0; i < 34; i++)
    zhe += "\xd0\x96", zhe_shown += "\\xd0\\x96";
  std::string long_tail = ",DE,HSDPA,web,*99#,u,p\r\n";
  const struct {
    std::string row, found;
  } cases[] = {
      {"1,262,02," + zhe + " MTS" + long_tail,
       "operator name \"" + zhe_shown + " MTS\" is 72 bytes (38 characters), more than the 63 "
       "bytes its field holds: the row is never returned"},
      {"1,262,02,V,DE,HSDPA,web,*99#,u," + std::string(70, 'p') + "\r\n",
       "password \"" + std::string(70, 'p') + "\" is 70 bytes, more than the 69 bytes its field "
       "holds: the row is never returned"},
      {"1,262,02," + zhe + zhe + zhe + zhe.substr(0, 36) + long_tail,
       "the line is 273 bytes (153 characters) long, more than one read of 249 bytes: isp_pick "
       "cuts it after byte 249 and takes the rest as a row of its own"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(on_line(kHeader + c.row, 2), std::vector<std::string>{"error: " + c.found});
}

}  // namespace
