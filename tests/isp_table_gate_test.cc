// diff --gate: ALLOWED's lines read into allowances, and the verdict on the
// changes of the diff fixtures (tests/isp_table/diff_old.csv and
// diff_new.csv: 262-01 and 405-854 change their APN, 262-03 loses its
// profile, 262-02 gains one, three groups change another item).
#include <gtest/gtest.h>

#include <ostream>

#include "diff.h"
#include "gate.h"

namespace {

struct Good {
  const char *name, *text;
  Allowance want;
};
void PrintTo(const Good &c, std::ostream *os) { *os << c.name; }

// What a well-formed line holds, worked out from the line itself.
const Good kGood[] = {
    {"apn_change", "262-01 \"internet.t-mobile\" -> \"internet.telekom\" 2026-11-30 renamed\n",
     {1, "262-01", "\"internet.t-mobile\"", "\"internet.telekom\"", "2026-11-30", "renamed"}},
    {"loss_crlf", "\n# why\r\n262-03 \"internet.eplus.de\" -> - 2026-11-30 E-Plus shut down\r\n",
     {3, "262-03", "\"internet.eplus.de\"", "-", "2026-11-30", "E-Plus shut down"}},
    {"blanks_tabs", "  405-854\t\"jionet\"  ->  \"jionet.854\"\t2024-02-29\t a # b  ",
     {1, "405-854", "\"jionet\"", "\"jionet.854\"", "2024-02-29", "a # b"}},
    {"escapes", "SID 14554-14574 \"a\\tb\\\"\\\\\\xe9\" -> \"\" 2026-01-31 odd bytes",
     {1, "SID 14554-14574", "\"a\\tb\\\"\\\\\\xe9\"", "\"\"", "2026-01-31", "odd bytes"}},
    {"sid_other", "SID other \"\" -> - 2000-02-29 no CDMA",
     {1, "SID other", "\"\"", "-", "2000-02-29", "no CDMA"}},
};

class GoodLines : public testing::TestWithParam<Good> {};

TEST_P(GoodLines, ReadAsWritten) {
  Findings found;
  std::vector<Allowance> got = read_allowances(GetParam().text, &found);
  ASSERT_EQ(found.list.size(), 0u) << found.list[0].text;
  ASSERT_EQ(got.size(), 1u);
  const Allowance &a = got[0], &w = GetParam().want;
  EXPECT_EQ(a.line, w.line);
  EXPECT_EQ(a.group, w.group);
  EXPECT_EQ(a.before, w.before);
  EXPECT_EQ(a.after, w.after);
  EXPECT_EQ(a.date, w.date);
  EXPECT_EQ(a.reason, w.reason);
}

INSTANTIATE_TEST_SUITE_P(Allowances, GoodLines, testing::ValuesIn(kGood),
                         [](const testing::TestParamInfo<Good> &i) { return i.param.name; });

struct Bad {
  const char *name, *line;
};
void PrintTo(const Bad &c, std::ostream *os) { *os << c.name; }

// Each is line 2 of ALLOWED, after a good line, and is an error there.
const Bad kBad[] = {
    {"no_reason", "262-01 \"a\" -> \"b\" 2026-11-30  "},
    {"no_date", "262-01 \"a\" -> \"b\" Telekom"},
    {"month_13", "262-01 \"a\" -> \"b\" 2026-13-01 why"},
    {"feb_29", "262-01 \"a\" -> \"b\" 2025-02-29 why"},
    {"group_digits", "262-1 \"a\" -> \"b\" 2026-11-30 why"},
    {"sid_zero", "SID 0123 \"a\" -> - 2026-11-30 why"},
    {"unquoted", "262-01 a -> \"b\" 2026-11-30 why"},
    {"open_quote", "262-01 \"a -> \"b\" 2026-11-30 why"},
    {"bad_escape", "262-01 \"a\\n\" -> \"b\" 2026-11-30 why"},
    {"upper_hex", "262-01 \"a\\xE9\" -> \"b\" 2026-11-30 why"},
    {"raw_tab", "262-01 \"a\tb\" -> \"b\" 2026-11-30 why"},
    {"no_arrow", "262-01 \"a\" \"b\" 2026-11-30 why"},
    {"gain", "262-01 - -> \"b\" 2026-11-30 why"},
    {"kept", "262-01 \"a\" -> \"a\" 2026-11-30 why"},
    {"repeated", "262-01  \"a\" -> \"b\"\t2026-12-01 again"},
};

class BadLines : public testing::TestWithParam<Bad> {};

TEST_P(BadLines, AnErrorAtTheirLine) {
  Findings found;
  std::string text = std::string("262-01 \"a\" -> \"b\" 2026-11-30 why\n") + GetParam().line;
  std::vector<Allowance> got = read_allowances(text, &found);
  ASSERT_EQ(found.list.size(), 1u);
  EXPECT_EQ(found.list[0].line, 2);
  EXPECT_TRUE(found.list[0].error);
  EXPECT_EQ(found.list[0].code, "malformed-allowance");
  EXPECT_EQ(got.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Allowances, BadLines, testing::ValuesIn(kBad),
                         [](const testing::TestParamInfo<Bad> &i) { return i.param.name; });

struct Gate {
  const char *name, *allowed;
  std::vector<std::string> refused;  // the codes, in diff's order
  std::vector<int> stale;            // lines
};
void PrintTo(const Gate &c, std::ostream *os) { *os << c.name; }

#define APN1 "262-01 \"internet.t-mobile\" -> \"internet.telekom\" 2026-11-30 r\n"
#define LOSS "262-03 \"internet.eplus.de\" -> - 2026-11-30 r\n"
#define APN2 "405-854 \"jionet\" -> \"jionet.854\" 2026-11-30 r\n"
const Gate kGates[] = {
    {"nothing", "", {"apn-change-not-allowed", "loss-not-allowed", "apn-change-not-allowed"}, {}},
    {"all", APN1 LOSS APN2, {}, {}},
    {"no_loss", APN2 APN1, {"loss-not-allowed"}, {}},
    // Only the exact change matches: another APN after, or the change of
    // the group beside, is stale and lets nothing through.
    {"other_after", "262-01 \"internet.t-mobile\" -> \"web\" 2026-11-30 r\n" LOSS APN2,
     {"apn-change-not-allowed"}, {1}},
    {"other_before", "262-01 \"web\" -> \"internet.telekom\" 2026-11-30 r\n" LOSS APN2,
     {"apn-change-not-allowed"}, {1}},
    {"other_group", APN1 LOSS "405-85 \"jionet\" -> \"jionet.854\" 2026-11-30 r\n",
     {"apn-change-not-allowed"}, {3}},
    {"loss_as_change", APN1 "262-03 \"internet.eplus.de\" -> \"\" 2026-11-30 r\n" APN2,
     {"loss-not-allowed"}, {2}},
    // Gains and other items' changes need none: an allowance for one is stale.
    {"user_change", APN1 LOSS APN2 "405-891 \"\" -> - 2026-11-30 r\n", {}, {4}},
};

class Gates : public testing::TestWithParam<Gate> {};

TEST_P(Gates, RefuseWhatNoAllowanceMatches) {
  Table was, now;
  ASSERT_TRUE(load_table(ISP_TABLE_FIXTURES "/diff_old.csv", &was));
  ASSERT_TRUE(load_table(ISP_TABLE_FIXTURES "/diff_new.csv", &now));
  Comparison c = compare_tables(was, now);
  Findings malformed;
  std::vector<Allowance> allowances = read_allowances(GetParam().allowed, &malformed);
  ASSERT_TRUE(malformed.list.empty());
  Verdict v = judge(c, allowances);
  EXPECT_EQ(v.counted.size(), 3u);
  std::vector<std::string> refused;
  for (const Finding &f : v.refused.list)
    refused.push_back(f.code);
  EXPECT_EQ(refused, GetParam().refused);
  std::vector<int> stale;
  for (const Finding &f : v.stale.list)
    stale.push_back(f.line);
  EXPECT_EQ(stale, GetParam().stale);
}

INSTANTIATE_TEST_SUITE_P(Verdicts, Gates, testing::ValuesIn(kGates),
                         [](const testing::TestParamInfo<Gate> &i) { return i.param.name; });

// 405-854 is a group of its own in diff_new.csv, so 405-85 holds 850 to
// 859 but 854.
TEST(Groups, TwoDigitsButTheirOwn) {
  Table was, now;
  ASSERT_TRUE(load_table(ISP_TABLE_FIXTURES "/diff_old.csv", &was));
  ASSERT_TRUE(load_table(ISP_TABLE_FIXTURES "/diff_new.csv", &now));
  int seen = 0;
  for (const Group &g : compared_groups(was, now)) {
    if (g.sim.name == "405-85") {
      seen++;
      EXPECT_EQ(g.mnc_from + g.mnc_to, "850859");
      EXPECT_EQ(g.except, std::vector<std::string>{"854"});
    } else if (g.sim.name == "SID 2222") {
      seen++;
      EXPECT_EQ(g.sid_from * 100000 + g.sid_to, 2222 * 100000 + 2222);
    }
  }
  EXPECT_EQ(seen, 2);
}

}  // namespace
