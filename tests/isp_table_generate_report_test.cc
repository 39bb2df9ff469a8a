// Generating's report on databases built in memory: each row's APN, the
// sign that decided it and the entries of every candidate, as the merge
// ranked them.
#include <gtest/gtest.h>

#include <ctype.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "generate_report.h"
#include "isp_table_fixtures.h"
#include "reasons.h"
#include "summary.h"

namespace {

// A provider database, Android's and a carrier list, each entry at the
// line it is given.
struct Databases {
  std::vector<Source> sources = empty_databases();
  size_t listers = 0;

  // One lister's APN: file 0 is the provider database, 1 Android's.
  Databases &entry(size_t file, size_t line, const char *name, const char *apn,
                   const NetworkId &network, int primary = 0) {
    Listing l;
    l.file = file;
    l.line = line;
    l.lister = listers++;
    l.name = name;
    l.apn = apn;
    l.usage = "internet";
    l.technology = "HSDPA";
    l.number = "*99#";
    l.networks = {network};
    l.primary = primary;
    l.android = file == 1;
    sources[file].listings.push_back(l);
    sources[file].networks.emplace(network, name);
    return *this;
  }
  Databases &carrier(int line, const char *name, const char *mccmnc) {
    Carrier c;
    c.line = line;
    c.canonical_id = line;
    c.carrier_name = name;
    c.attributes.resize(1);
    c.attributes[0].mccmnc_tuple = {mccmnc};
    sources[2].carriers.carriers.push_back(c);
    return *this;
  }
};

Json report_of(const Databases &db) {
  TableFigures merged;
  Merge merge(source_list(db.sources), &merged);
  std::vector<TableRow> rows;
  merge.rows(&rows);
  return generate_report(db.sources, own_figures(db.sources), merged, merge, rows,
                         lint_table(db.sources, rows));
}

// "APN* FILE:LINE,FILE:LINE | APN ...": each operator's APNs with their
// entries, in the ranking's order, the row's APN starred.
std::string candidates_of(const Json &row) {
  std::string text;
  for (const Json &op : row["candidates"]) {
    text += text.empty() ? "" : " | ";
    for (const Json &apn : op["apns"]) {
      text += apn["apn"].get<std::string>() + (apn["chosen"].get<bool>() ? "* " : " ");
      for (const Json &e : apn["entries"])
        text += e["file"].get<std::string>() + ":" + std::to_string(e["line"].get<int>()) + ",";
      text.pop_back();
    }
  }
  return text;
}

const NetworkId kNet{"440", "51"};

TEST(GenerateReport, GivesEachRowItsDecidingSignAndCandidates) {
  const struct {
    const char *what;
    Databases db;
    const char *index, *apn, *op, *decided_by, *candidates;
  } cases[] = {
      {"the carrier list names au",
       Databases().entry(0, 3, "Mineo", "mineo.jp", kNet).entry(1, 7, "au(LTE NET)", "uno.au", kNet)
           .carrier(4, "au", "44051"),
       "244051", "uno.au", "au(LTE NET)", "carrier-list",
       "uno.au* apns.xml:7 | mineo.jp providers.xml:3"},
      {"Own's primary mark",
       Databases().entry(0, 5, "Other", "other.jp", kNet).entry(0, 9, "Own", "own.jp", kNet, 1),
       "244051", "own.jp", "Own", "primary-mark",
       "own.jp* providers.xml:9 | other.jp providers.xml:5"},
      // Nothing tells Gamma from Delta: the bytes choose "web.one".
      {"undecided",
       Databases().entry(0, 2, "Delta", "web.two", kNet).entry(0, 6, "Gamma", "web.one", kNet),
       "244051", "web.one", "Gamma", "undecided",
       "web.one* providers.xml:6 | web.two providers.xml:2"},
      // One operator, both databases: its one APN, both entries.
      {"one operator",
       Databases().entry(0, 4, "Solo", "solo.jp", kNet).entry(1, 8, "Solo", "solo.jp", kNet),
       "244051", "solo.jp", "Solo", "one-operator",
       "solo.jp* providers.xml:4,apns.xml:8"},
  };
  for (const auto &c : cases) {
    Json doc = report_of(c.db);
    ASSERT_EQ(doc["rows"].size(), 1u) << c.what;
    const Json &row = doc["rows"][0];
    EXPECT_EQ(row["key"], "440-51") << c.what;
    EXPECT_EQ(row["index"], c.index) << c.what;
    EXPECT_EQ(row["apn"], c.apn) << c.what;
    EXPECT_EQ(row["operator"], c.op) << c.what;
    EXPECT_EQ(row["decided_by"], c.decided_by) << c.what;
    EXPECT_EQ(candidates_of(row), c.candidates) << c.what;
    EXPECT_EQ(doc["table"]["rows_decided_by"][c.decided_by], 1) << c.what;
  }
}

TEST(GenerateReport, NamesTheRunnerUpOfAnUndecidedKeyOnly) {
  Json undecided = report_of(Databases().entry(0, 2, "Delta", "web.two", kNet)
                                 .entry(0, 6, "Gamma", "web.one", kNet))["rows"][0];
  EXPECT_EQ(undecided["chosen_over"],
            Json({{"apn", "web.two"}, {"operator", "Delta"}, {"by", "the APN first in byte order"}}));
  // The summary's line on the key, as its values.
  EXPECT_EQ(report_of(Databases().entry(0, 2, "Delta", "web.two", kNet)
                          .entry(0, 6, "Gamma", "web.one", kNet))["table"]["undecided"],
            Json::parse(R"([{"key":"440-51","apn":"web.one","operator":"Gamma","other_apn":"web.two",
                            "other_operator":"Delta","by":"the APN first in byte order"}])"));
  Json decided = report_of(Databases().entry(0, 5, "Other", "other.jp", kNet)
                               .entry(0, 9, "Own", "own.jp", kNet, 1))["rows"][0];
  EXPECT_TRUE(decided["chosen_over"].is_null());
}

TEST(GenerateReport, RowsFollowTheTableAndEachInputHasItsOwnFigures) {
  Json doc = report_of(Databases().entry(0, 3, "Beta", "b.de", {"262", "02"})
                           .entry(1, 4, "Alpha", "a.de", {"262", "01"})
                           .carrier(9, "Beta", "26202"));
  ASSERT_EQ(doc["rows"].size(), 2u);
  EXPECT_EQ(doc["rows"][0]["key"], "262-01");
  EXPECT_EQ(doc["rows"][1]["key"], "262-02");
  EXPECT_EQ(doc["rows"][1]["carrier_list"],
            Json::parse(R"([{"network":"262-02","operator":"Beta","file":"carriers.textpb","line":9}])"));
  EXPECT_EQ(doc["inputs"][0]["table"]["rows"], 1);
  EXPECT_EQ(doc["inputs"][1]["table"]["rows"], 1);
  EXPECT_EQ(doc["inputs"][2]["kind"], "carrier identity database");
  EXPECT_EQ(doc["table"]["rows"], 2);
}

// A code is what a machine keys on: one per meaning, never empty, in
// lower-case words joined by hyphens.
bool kebab(const std::string &code) {
  if (code.empty() || code.front() == '-' || code.back() == '-')
    return false;
  for (size_t i = 0; i < code.size(); i++)
    if (!(islower((unsigned char)code[i]) || isdigit((unsigned char)code[i]) ||
          (code[i] == '-' && code[i - 1] != '-')))
      return false;
  return true;
}

TEST(GenerateReport, EveryOutcomeAndReasonHasItsOwnKebabCode) {
  const struct {
    const char *what;
    int count;
    std::function<const char *(int)> code, words;
  } tables[] = {
      {"outcome", kOutcomes, outcome_code, outcome_name},
      {"left-out reason", kLeftOutReasons, [](int i) { return kLeftOut[i].code; },
       [](int i) { return kLeftOut[i].words; }},
  };
  for (const auto &t : tables) {
    std::set<std::string> codes, words;
    for (int i = 0; i < t.count; i++) {
      EXPECT_TRUE(kebab(t.code(i))) << t.what << " " << i << ": " << t.code(i);
      EXPECT_TRUE(codes.insert(t.code(i)).second) << t.what << " " << i << ": " << t.code(i);
      EXPECT_TRUE(words.insert(t.words(i)).second) << t.what << " " << i << ": " << t.words(i);
    }
  }
  // The words lead back to their code; unknown words to none.
  EXPECT_STREQ(left_out_code(kLeftOut[kMvnoOut].words), "mvno-reseller");
  EXPECT_STREQ(left_out_code("no such reason"), "");
  EXPECT_STREQ(outcome_code(kOutcomes), "");
}

}  // namespace
