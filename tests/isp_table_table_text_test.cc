// The table's text of one listing, and the rules the merge shares with the
// check against the public data: the reseller rule and `disjoint`. Each
// case is worked out by hand from the rule it names.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "networks.h"
#include "sets.h"
#include "table_text.h"

namespace {

const NetworkId kKey{"262", "02"};

// A provider's listing of `apn` for 262-02, with a dial number and HSDPA.
Listing listing(const std::string &name, const std::string &apn) {
  Listing l;
  l.name = name;
  l.region = "DE";
  l.technology = "HSDPA";
  l.apn = apn;
  l.number = "*99#";
  l.networks = {kKey};
  return l;
}

TEST(TableText, RowTextWritesThePlaceholderForAnEmptyValue) {
  Listing l = listing("Vodafone", "web.vodafone.de");
  l.password = "secret";
  EXPECT_EQ(row_text(l, kKey), "262,02,Vodafone,DE,HSDPA,web.vodafone.de,*99#,NA,secret\r\n");
}

TEST(TableText, UnwritableNamesWhatIspPickWouldNotReadBack) {
  struct Case {
    const char *what;
    Listing l;
    const char *why;  // null: the row is written
  } cases[] = {
      {"a plain row", listing("Vodafone", "web.vodafone.de"), nullptr},
      {"a name too long is cut, not left out", listing(std::string(70, 'v'), "web"), nullptr},
      {"a comma in the name", listing("Voda,fone", "web"), "comma or line end in a value"},
      {"an APN isp_pick blanks", listing("Vodafone", "NA"),
       "APN, user name or password holds NA or blank"},
      {"a blank inside the APN", listing("Tele2", "Tele2 GPRS"), kNotDnsName},
      {"an APN of 64 bytes", listing("Vodafone", std::string(64, 'a')),
       "APN, user name or password too long for its field"},
  };
  for (const Case &c : cases) {
    const char *why = unwritable(c.l, kKey);
    if (c.why == kNotDnsName)
      EXPECT_EQ(why, kNotDnsName) << c.what;
    else if (!c.why)
      EXPECT_EQ(why, nullptr) << c.what;
    else
      EXPECT_STREQ(why, c.why) << c.what;
  }
  EXPECT_TRUE(name_or_region_cut(listing(std::string(70, 'v'), "web")));
  EXPECT_FALSE(name_or_region_cut(listing("Vodafone", "web")));
}

TEST(Networks, ResellerRule) {
  Source s;
  s.listings = {listing("Vodafone", "web.vodafone.de"), listing("Reseller", "reseller.de"),
                listing("Vodafone CallYa", "event.vodafone.de"), listing("Lonely", "lonely.de"),
                listing("Second", "second.de")};
  s.listings[1].gid1 = true;
  s.listings[2].gid1 = true;
  s.listings[3].mvno = true;
  s.listings[3].networks = {{"262", "99"}};  // no unmarked lister there
  s.listings[4].primary = -1;
  Networks n = gather_networks({&s});
  struct Case {
    size_t listing;
    bool stands;
  } cases[] = {
      {0, true},   // unmarked
      {1, false},  // GID1-marked, where Vodafone lists the network unmarked
      {2, true},   // GID1-marked, but the operator's own by its name
      {3, true},   // an MVNO entry, where no unmarked one lists the network
      {4, false},  // primary="false", where Vodafone lists the network
  };
  for (const Case &c : cases)
    EXPECT_EQ(n.stands(s.listings[c.listing], s.listings[c.listing].networks[0]), c.stands)
        << s.listings[c.listing].name;
  EXPECT_STREQ(set_aside_as(s.listings[1]), "GID1-marked provider where the network has its own");
  EXPECT_STREQ(set_aside_as(s.listings[4]),
               "provider marked primary=\"false\" where the network has its own");
}

TEST(Sets, Disjoint) {
  struct Case {
    std::set<int> a, b;
    bool disjoint;
  } cases[] = {
      {{1, 2}, {3}, true}, {{1, 2}, {2, 3}, false}, {{}, {1}, true}, {{}, {}, true}, {{4}, {4}, false},
  };
  for (const Case &c : cases)
    EXPECT_EQ(disjoint(c.a, c.b), c.disjoint) << c.a.size() << " " << c.b.size();
}

}  // namespace
