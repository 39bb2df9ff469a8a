// The lint's rules where they are decided, on databases built in memory:
// which spellings are a slip, which three-digit ids are no network.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "lint.h"

namespace {

struct Spelling {
  const char *typed, *apn;
  bool mistyped;
};

// Near misses either way: a letter inside a word is a slip; a digit, a
// dot, a blank, a word's end or a short word make another APN.
const Spelling kSpellings[] = {
    {"utms", "umts", true},            // neighbouring letters swapped
    {"iternet", "internet", true},     // a letter dropped inside the word
    {"internnet", "internet", true},   // a letter doubled inside the word
    {"tslpaymnet", "tslpaygnet", true},  // a letter changed inside the word
    {"web.vodafnoe.de", "web.vodafone.de", true},
    {"web1", "web2", false},           // a digit
    {"internet4", "internet", false},  // a digit at the end
    {"unet", "net", false},            // a word's first letter
    {"gprs.x", "igprs.x", false},
    {"internes", "internet", false},   // a word's last letter
    {"orangemms", "orange.mms", false},  // a dot
    {"o2internet", "o2 internet", false},  // a blank
    {"mts", "mms", false},             // a word under four characters
    {"yellopix.men.ug", "yellopix.mtn.ug", false},
    {"mms.tele2.lt", "mms.tele2.lv", false},
    {"bca", "bac", false},             // swapped, but under four characters
    {"umts", "umts", false},           // the same
    {"mtsu", "umts", false},           // two edits
    {"intrenet1", "internet", false},  // a swap and a digit
};

TEST(Lint, MistypedHoldsOnlyALetterInsideAWord) {
  for (const Spelling &s : kSpellings) {
    EXPECT_EQ(mistyped(s.typed, s.apn), s.mistyped) << s.typed << " / " << s.apn;
    EXPECT_EQ(mistyped(s.apn, s.typed), s.mistyped) << s.apn << " / " << s.typed;
  }
}

// One provider entry per network: its country, network and APN, its
// provider when another entry's (else a provider of its own), and its
// primary mark.
struct Entry {
  const char *region, *mcc, *mnc, *apn;
  size_t lister = 0;
  int primary = 0;
};

std::vector<Source> databases(const std::vector<Entry> &entries) {
  std::vector<Source> sources(1);
  for (const Entry &e : entries) {
    Listing l;
    l.line = sources[0].listings.size() + 1;
    l.lister = e.lister ? e.lister : 100 + l.line;
    l.primary = e.primary;
    l.name = e.apn;
    l.region = e.region;
    l.apn = l.written_apn = e.apn;
    l.networks = {{e.mcc, e.mnc}};
    sources[0].listings.push_back(l);
    sources[0].networks.emplace(NetworkId{e.mcc, e.mnc}, e.apn);
  }
  return sources;
}

// (code, network) of each finding.
using Found = std::set<std::pair<std::string, std::string>>;

struct IdCase {
  const char *what;
  std::vector<Entry> entries;
  Found found;
};

const IdCase kIdCases[] = {
    {"Italy's 222-010, which isp_pick reads as 222-01, with Mexico's APN",
     {{"IT", "222", "01", "home.it"}, {"IT", "222", "02", "b.it"},
      {"IT", "222", "010", "web.x.mx"}, {"MX", "334", "05", "web.x.mx"}},
     {{"apn-of-another-country", "222-010"}}},
    {"under 405 isp_pick reads three digits: 405-854 can exist",
     {{"IN", "405", "85", "a.in"}, {"IN", "405", "86", "b.in"},
      {"IN", "405", "854", "web.x.mx"}, {"MX", "334", "05", "web.x.mx"}},
     {}},
    {"an MCC mostly of three-digit ids has them",
     {{"US", "310", "410", "a.us"}, {"US", "310", "260", "b.us"}, {"US", "310", "01", "c.us"},
      {"US", "310", "012", "web.x.mx"}, {"MX", "334", "05", "web.x.mx"}},
     {}},
    {"the APN names the id's own country",
     {{"IT", "222", "01", "a.it"}, {"IT", "222", "02", "b.it"}, {"IT", "222", "010", "web.x.it"}},
     {}},
    {"no network of the country the APN names lists it",
     {{"IT", "222", "01", "a.it"}, {"IT", "222", "02", "b.it"}, {"IT", "222", "010", "web.x.mx"}},
     {}},
    {"208-260 beside 208-26 with the same APN",
     {{"FR", "208", "26", "fnet"}, {"FR", "208", "260", "fnet"}},
     {{"network-id-written-long", "208-260"}}},
    {"208-260 beside 208-26 with another APN",
     {{"FR", "208", "26", "fnet"}, {"FR", "208", "260", "other"}},
     {}},
    {"written long with another country's APN: only the worse finding",
     {{"IT", "222", "01", "web.x.mx"}, {"IT", "222", "02", "b.it"},
      {"IT", "222", "010", "web.x.mx"}, {"MX", "334", "05", "web.x.mx"}},
     {{"apn-of-another-country", "222-010"}}},
};

TEST(Lint, ThreeDigitIdsByIspPicksRule) {
  for (const IdCase &c : kIdCases) {
    std::vector<LintFinding> found;
    lint_networks(databases(c.entries), &found);
    Found got;
    for (const LintFinding &f : found)
      if (f.finding.code != "no-primary-provider")  // the case below
        got.insert({f.finding.code, network_name(f.networks.at(0))});
    EXPECT_EQ(got, c.found) << c.what;
  }
}

// Providers sharing a key with different APNs and no primary mark leave
// the operator to weaker signs; a mark, or one APN, settles the row.
TEST(Lint, NoPrimaryOnlyWhereSharedKeysDiffer) {
  const IdCase cases[] = {
      {"two providers, two APNs, no mark",
       {{"PT", "268", "06", "a.pt"}, {"PT", "268", "06", "b.pt"}},
       {{"no-primary-provider", "268-06"}}},
      {"one of them marked",
       {{"PT", "268", "06", "a.pt"}, {"PT", "268", "06", "b.pt", 0, 1}},
       {}},
      {"both on one APN, case aside",
       {{"PT", "268", "06", "web.pt"}, {"PT", "268", "06", "WEB.pt"}},
       {}},
      {"one provider with two APNs",
       {{"PT", "268", "06", "a.pt", 7}, {"PT", "268", "06", "b.pt", 7}},
       {}},
      {"a three-digit id shares its key, 262-07",
       {{"DE", "262", "07", "a.de"}, {"DE", "262", "071", "b.de"}},
       {{"no-primary-provider", "262-07"}}},
  };
  for (const IdCase &c : cases) {
    std::vector<LintFinding> found;
    lint_networks(databases(c.entries), &found);
    Found got;
    for (const LintFinding &f : found)
      if (f.finding.code == "no-primary-provider")
        got.insert({f.finding.code, network_name(f.networks.at(0))});
    EXPECT_EQ(got, c.found) << c.what;
  }
}

// Of two spellings on one network, the one fewer providers or carriers
// list is named; on a tie, both are.
TEST(Lint, NamesTheSpellingFewerListersList) {
  struct Case {
    std::vector<Entry> entries;
    std::set<std::string> named;
  } cases[] = {
      {{{"PT", "268", "03", "utms"}, {"PT", "268", "03", "umts"}, {"PT", "268", "03", "umts"}},
       {"utms"}},
      {{{"PT", "268", "03", "utms"}, {"PT", "268", "03", "umts"}}, {"utms", "umts"}},
      // NOS lists its slip twice: still one provider against one.
      {{{"PT", "268", "03", "utms", 1},
        {"PT", "268", "03", "utms", 1},
        {"PT", "268", "03", "umts"}},
       {"utms", "umts"}},
      {{{"PT", "268", "03", "utms"}, {"PT", "268", "04", "umts"}}, {}},  // other networks
  };
  for (const Case &c : cases) {
    std::vector<LintFinding> found;
    lint_apns(databases(c.entries), &found);
    std::set<std::string> named;
    for (const LintFinding &f : found)
      if (f.finding.code == "apn-misspelt")
        named.insert(f.apn);
    EXPECT_EQ(named, c.named) << c.entries.size() << " entries";
  }
}

// A finding reaches a row when one of its networks is looked up by the
// row's key and its APN, case aside, is the row's: what generating's
// summary and report name.
TEST(Lint, ReachesTheRowIspPickAnswersWith) {
  struct Case {
    NetworkId network;
    const char *found_apn;
    NetworkId key;
    const char *row_apn;
    bool reaches;
  };
  const Case cases[] = {
      {{"262", "08"}, "web.unstated", {"262", "08"}, "web.unstated", true},
      {{"262", "071"}, "Web.DE", {"262", "07"}, "web.de", true},  // looked up as 262-07
      {{"262", "08"}, "web.unstated", {"262", "08"}, "web.other", false},
      {{"262", "08"}, "web.unstated", {"262", "09"}, "web.unstated", false},
      {{"405", "854"}, "jionet", {"405", "85"}, "jionet", false},  // 405 has three-digit keys
      {{"262", "08"}, "", {"262", "08"}, "", false},  // a finding on no APN
  };
  for (const Case &c : cases) {
    LintFinding f;
    f.networks = {c.network};
    f.apn = c.found_apn;
    EXPECT_EQ(lint_reaches(f, c.key, c.row_apn), c.reaches)
        << network_name(c.network) << " " << c.found_apn << " -> " << network_name(c.key);
  }
}

}  // namespace
