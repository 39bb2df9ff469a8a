// Who a network's operator is and which of its APNs the row carries, on
// databases built in memory: each case needs one rule, and fails without it.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>

#include <sstream>
#include <string>
#include <vector>

#include "carrier_operators.h"
#include "explain_key.h"
#include "isp_table_fixtures.h"
#include "merge.h"
#include "names.h"

namespace {

// ---- Databases in memory ----

struct Entry {
  std::string name, apn;
  std::vector<NetworkId> networks;
  int primary = 0;
  bool mvno = false, proxy = false;
  std::string usage = "internet";
};

// The inputs of one case: a provider database, Android's, a carrier list.
struct Inputs {
  std::vector<Source> sources = empty_databases();
  size_t listers = 0;

  // A provider of the provider database, its APNs in its own order.
  Inputs &provider(Entry e, std::vector<std::string> more = {}) {
    size_t lister = listers++, position = 0;
    more.insert(more.begin(), e.apn);
    for (const std::string &apn : more) {
      e.apn = apn;
      add(0, e, lister, position++);
    }
    return *this;
  }
  // A carrier of Android's database: one lister, its APNs unordered.
  Inputs &android(Entry e, std::vector<std::string> more = {}) {
    size_t lister = listers++;
    more.insert(more.begin(), e.apn);
    for (const std::string &apn : more) {
      e.apn = apn;
      add(1, e, lister, 0);
    }
    return *this;
  }
  Inputs &carrier(long id, const std::string &name, std::vector<CarrierAttribute> attributes,
                  long parent = -1) {
    Carrier c;
    c.canonical_id = id;
    c.carrier_name = name;
    c.parent_canonical_id = parent;
    c.attributes = attributes;
    c.line = (int)id;
    sources[2].carriers.carriers.push_back(c);
    return *this;
  }
  // Its MMS APN, which tells a misspelt internet APN.
  Inputs &service(const std::string &apn) {
    sources[0].service_apns[listers - 1].insert(apn);
    return *this;
  }

 private:
  void add(size_t file, const Entry &e, size_t lister, size_t position) {
    Listing l;
    l.file = file;
    l.lister = lister;
    l.position = position;
    l.name = e.name;
    l.apn = e.apn;
    l.usage = e.usage;
    l.technology = "HSDPA";
    l.number = "*99#";
    l.networks = e.networks;
    l.primary = e.primary;
    l.mvno = e.mvno;
    l.proxy = e.proxy;
    l.android = file == 1;
    sources[file].listings.push_back(l);
    for (const NetworkId &id : e.networks)
      sources[file].networks.emplace(id, e.name);
  }
};

CarrierAttribute tuples(std::vector<std::string> mccmnc, std::vector<std::string> spn = {},
                        std::vector<std::string> gid1 = {},
                        std::vector<std::string> preferred = {}) {
  CarrierAttribute a;
  a.mccmnc_tuple = mccmnc;
  a.spn = spn;
  a.gid1 = gid1;
  a.preferred_apn = preferred;
  return a;
}

const NetworkId kNet{"440", "51"}, kOther{"440", "52"};

// ---- The carrier identity database's reading ----

std::string operator_of(const Inputs &in, const NetworkId &id) {
  NetworkOperators ops = network_operators(source_list(in.sources));
  auto it = ops.find(id);
  return it == ops.end() ? "" : it->second.name;
}

TEST(CarrierOperators, ReadsTheCarrierWhoseSimsNeedNoMark) {
  const struct { const char *why; Inputs in; const char *want; } cases[] = {
      {"a bare tuple beats a GID1 filter",
       Inputs().carrier(1, "Plus", {tuples({"44051"})}).carrier(2, "Dent", {tuples({"44051"}, {}, {"3597"})}),
       "Plus"},
      {"an empty SPN is no filter",
       Inputs().carrier(1, "Kay", {tuples({"44051"}, {""})}).carrier(2, "Lebra", {tuples({"44051"}, {"Lebra"})}),
       "Kay"},
      {"the empty SPN among its own: Vodafone UK",
       Inputs().carrier(1, "Vodafone", {tuples({"44051"}, {"", "vodafone UK"})})
           .carrier(2, "Lebra", {tuples({"44051"}, {"Lebra"})}),
       "Vodafone"},
      {"a name saying MVNO is a catch-all: docomo's own GID1 decides",
       Inputs().carrier(1, "DOCOMO MVNO", {tuples({"44051"})})
           .carrier(2, "NTT DOCOMO", {tuples({"44051"}, {}, {"00FF"})}),
       "NTT DOCOMO"},
      {"GID1 alone: the attribute naming more networks under the MCC",
       Inputs().carrier(1, "au", {tuples({"44050", "44051", "44052", "44053"}, {}, {"10"})})
           .carrier(2, "UQ", {tuples({"44050", "44051", "44053"}, {}, {"20"})}),
       "au"},
      {"a reseller's other host counts for nothing: only the claiming attribute",
       Inputs().carrier(1, "Telus", {tuples({"44051", "44052", "44053"}, {}, {"54"})})
           .carrier(2, "PCM", {tuples({"44051"}, {"PCM"}), tuples({"44054", "44055", "44056"}, {}, {"40"})}),
       "Telus"},
      {"two names claiming as widely: none",
       Inputs().carrier(1, "Telus", {tuples({"44051", "44052"}, {}, {"54"})})
           .carrier(2, "Koodo", {tuples({"44051", "44052"}, {}, {"4B"})}),
       ""},
      {"a child is its parent's",
       Inputs().carrier(7, "FirstNet", {tuples({"44051"})}).carrier(9, "FirstNet Pacific", {tuples({"44051"})}, 7),
       "FirstNet"},
      {"names that meet only through a third are no one operator",
       Inputs().carrier(1, "Alpha / Beta", {tuples({"44051"})}).carrier(2, "Alpha", {tuples({"44051"})})
           .carrier(3, "Beta", {tuples({"44051"})}),
       ""},
      {"an IMSI prefix is a reseller's filter, however wide",
       Inputs().carrier(1, "Fonic", {tuples({"44051"}, {}, {"01"})}).carrier(2, "Tchibo", {[] {
         CarrierAttribute a = tuples({"44051", "44052"});
         a.imsi_prefix_xpattern = {"4405152"};
         return a;
       }()}),
       "Fonic"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(operator_of(c.in, kNet), c.want) << c.why;
}

TEST(CarrierOperators, MatchesListersByTheirLeadingWord) {
  NetworkOperator op;
  op.words = {"att"};
  NetworkOperator ooredoo;
  ooredoo.words = {"ooredoo"};
  NetworkOperator airtel;
  airtel.words = {"airteltigo"};
  NetworkOperator entel;
  entel.words = {"entel"};
  const struct { const char *name, *apn; const NetworkOperator &op; bool want; } cases[] = {
      {"AT&T", "broadband", op, true},
      {"StraightTalk ATT", "att.mvno", op, false},     // the lister's leading word
      {"Tunisiana", "web", ooredoo, false},             // not a word after the carrier's first
      {"Airtel", "internet", airtel, true},             // a start of five letters or more
      {"Internet Movil", "imovil.entelpcs.cl", entel, true},  // service words: the APN names it
      {"Internet Movil", "imovil.other.cl", entel, false},
  };
  for (const auto &c : cases)
    EXPECT_EQ(operated_by(c.name, c.apn, c.op), c.want) << c.name;
}

TEST(Names, KnowsANameByWhatPeopleCanRead) {
  const struct { const char *name; std::vector<std::string> want; } cases[] = {
      {"V! (Vodafone Idea)", {"v", "vodafone"}},
      {"\xe4\xb8\xad\xe5\x9c\x8b China Mobile HK", {"\xe4\xb8\xad\xe5\x9c\x8b", "china"}},
      {"b-mobile(docomo)", {"bmobile"}},  // a readable name keeps its brackets to itself
      {"3Internet", {"3"}},
      {"m:tel", {"mtel"}},
      {"GSM1800New World PCS Ltd.", {"new"}},
      {"PlusWAP", {"plus"}},
  };
  for (const auto &c : cases)
    EXPECT_EQ(operator_words(c.name), c.want) << c.name;
}

TEST(Names, LeavesOutTheWordsOfAServiceAndACountry) {
  const struct { const char *name; std::vector<std::string> want; } cases[] = {
      {"Public Mobile", {"public"}},        {"Vodafone Internet", {"vodafone"}},
      {"Orange WAP", {"orange"}},           {"T-Mobile US", {"tmobile"}},
      {"Telekom Mobil Data", {"telekom"}}, {"KT", {"kt"}},
  };
  for (const auto &c : cases)
    EXPECT_EQ(name_words(c.name), c.want) << c.name;
}

TEST(Names, TellsServiceApnsFromData) {
  const struct { const char *name, *apn, *usage; bool want; } cases[] = {
      {"Verizon", "vzwims", "internet", true},
      {"SKT", "lte-roaming.sktelecom.com", "default", true},
      {"Vodafone", "portalnmms", "default,supl,mms", true},
      {"Telekom", "iot.telekom.net", "internet", true},
      {"Operator", "m2m.example", "internet", true},
      {"Orange WAP", "orange", "default", true},
      {"Verizon", "voice.example", "default,ims", true},
      {"Verizon", "vzwinternet", "default,mms", false},  // MMS beside the internet is a phone's
      {"Plus", "internet", "internet", false},
  };
  for (const auto &c : cases)
    EXPECT_EQ(service_apn(c.name, c.apn, c.usage), c.want) << c.apn;
}

// ---- The ranking ----

// The choice's rows point into `in`, which outlives the merge, but for a
// row the merge respells: those cases keep their merge.
Choice choice(const Inputs &in, const NetworkId &key = kNet) {
  return Merge(source_list(in.sources)).choice(key);
}

std::string apn_of(const Inputs &in, const NetworkId &key = kNet) {
  const Listing *row = choice(in, key).row;
  return row ? row->apn : "";
}

TEST(Ranking, ChoosesTheOperatorThenItsDataApn) {
  const struct { const char *why; Inputs in; const char *apn; int outcome; } cases[] = {
      {"the carrier list names au over a reseller both databases list",
       Inputs().provider({"Mineo", "mineo.jp", {kNet}}).android({"mineo (au)", "mineo.jp", {kNet}})
           .android({"au(LTE NET)", "uno.au-net.ne.jp", {kNet}})
           .carrier(1, "au", {tuples({"44051", "44052"}, {}, {"10"})}),
       "uno.au-net.ne.jp", kCarrierSign},
      {"without it, both databases' reseller is only undecided against the host",
       Inputs().provider({"Mineo", "mineo.jp", {kNet}}).android({"mineo (au)", "mineo.jp", {kNet}})
           .android({"au(LTE NET)", "uno.au-net.ne.jp", {kNet}}).provider({"Povo", "povo.jp", {kNet}})
           .android({"povo", "povo.jp", {kNet}}),
       "mineo.jp", kUndecided},
      {"a preferred APN is the operator's own, whoever lists it",
       Inputs().provider({"Excite", "vmobile.jp", {kNet, kOther}}).android({"Other", "spmode.ne.jp", {kNet}})
           .carrier(1, "NTT DOCOMO", {tuples({"44051"}, {}, {}, {"spmode.ne.jp"})})
           .carrier(2, "NTT DOCOMO", {tuples({"44051"}, {}, {"00"})}),
       "spmode.ne.jp", kCarrierSign},
      {"the data APN before an IMS one the provider lists first",
       Inputs().provider({"Verizon", "vzwims", {kNet}}, {"vzwinternet"}),
       "vzwinternet", kOneOperator},
      {"the data APN before a roaming one",
       Inputs().provider({"SKT", "lte-roaming.sktelecom.com", {kNet}}, {"lte.sktelecom.com"}),
       "lte.sktelecom.com", kOneOperator},
      {"an APN without a proxy before a WAP portal's",
       Inputs().android({"Airtel Live", "airtelfun.com", {kNet}, 0, false, true})
           .android({"Airtel GPRS", "airtelgprs.com", {kNet}}),
       "airtelgprs.com", kOneOperator},
      {"an APN both kinds list before the provider's first",
       Inputs().provider({"Etisalat", "mnet", {kNet}}, {"etisalat.ae"}).android({"Etisalat UAE", "etisalat.ae", {kNet}}),
       "etisalat.ae", kOneOperator},
      {"the provider's own order between its plain APNs",
       Inputs().provider({"Plus", "plus.two", {kNet}}, {"plus.one"}),
       "plus.two", kOneOperator},
      {"\"V!\" is Vodafone: its data APN over Vodafone's MMS portal",
       Inputs().provider({"V! (Vodafone Idea)", "internet", {kNet}}).android({"Vodafone", "portalnmms", {kNet}}),
       "internet", kOneOperator},
      {"an operator of WAP APNs only after one with data",
       Inputs().android({"omantel wap", "wap", {kNet}}).android({"Oman Mobile", "taif", {kNet}})
           .carrier(1, "Omantel", {tuples({"44051"})}),
       "taif", kDataOnly},
  };
  for (const auto &c : cases) {
    Choice got = choice(c.in);
    ASSERT_NE(got.row, nullptr) << c.why;
    EXPECT_EQ(got.row->apn, c.apn) << c.why;
    EXPECT_EQ(got.outcome, c.outcome) << c.why;
  }
}

TEST(Ranking, SetsAsideTheSpellingTheOtherDatabaseContradicts) {
  Inputs nos;
  nos.provider({"NOS", "utms", {kNet}}, {"myconnection"}).service("umts").android({"NOS/WTF", "umts", {kNet}});
  Choice c = choice(nos);
  ASSERT_NE(c.respelt, nullptr);
  EXPECT_EQ(c.row->apn, "umts");
  EXPECT_EQ(c.respelt->apn, "utms");
  // One database's two spellings are its own two APNs, not a typo: its
  // order stands.
  Inputs one;
  one.provider({"NOS", "utms", {kNet}}, {"umts"}).service("umts");
  EXPECT_EQ(choice(one).row->apn, "utms");
  EXPECT_EQ(choice(one).respelt, nullptr);
  // Its own MMS entry alone tells the typo: the row takes its spelling.
  // That row is the merge's own: it lives as long as the merge.
  Inputs alone;
  alone.provider({"NOS", "utms", {kNet}}, {"myconnection"}).service("umts");
  Merge merge(source_list(alone.sources));
  Choice mended = merge.choice(kNet);
  ASSERT_NE(mended.respelt, nullptr);
  EXPECT_EQ(mended.row->apn, "umts");
  EXPECT_EQ(mended.respelt->apn, "utms");
  // A digit changed is another APN ("web1", "web2").
  Inputs two;
  two.provider({"Mobily", "web2", {kNet}}).android({"Mobily", "web1", {kNet}}).service("web1");
  EXPECT_EQ(choice(two).respelt, nullptr);
}

TEST(Ranking, HoldsResellerMarksToTheNetworksOperator) {
  // Android types O2's own entries as MVNO entries; its reseller's stay out.
  Inputs o2;
  o2.provider({"O2", "pinternet.example", {kNet}})
      .android({"O2 DE Internet", "internet", {kNet}, 0, true})
      .android({"Lidl", "lidl.example", {kNet}, 0, true});
  Merge merge(source_list(o2.sources));
  EXPECT_TRUE(merge.judge(kNet, "internet").candidate);
  EXPECT_TRUE(merge.judge(kNet, "internet").same_operator);
  EXPECT_FALSE(merge.judge(kNet, "lidl.example").candidate);
  // The carrier list tells a reseller apart by its filter: it stays out too.
  Inputs told;
  told.provider({"Host", "host.example", {kNet}}).provider({"Rider", "rider.example", {kNet}})
      .carrier(1, "Host", {tuples({"44051"})}).carrier(2, "Rider", {tuples({"44051"}, {"Rider"})});
  EXPECT_EQ(apn_of(told), "host.example");
  Merge merge_told(source_list(told.sources));
  EXPECT_FALSE(merge_told.judge(kNet, "rider.example").candidate);
  // check --against holds a row to the same rule: the rider's APN is not
  // the network's, the host's is.
  EXPECT_FALSE(merge_told.stands(told.sources[0].listings[1], kNet));
  EXPECT_TRUE(merge_told.stands(told.sources[0].listings[0], kNet));
}

TEST(Ranking, MarksNoResellerForAnOperatorNoDatabaseLists) {
  // The lists name au, which no database lists on the network: mineo stays
  // a candidate beside Excite, as without the lists, rather than leaving
  // Excite alone.
  Inputs in;
  in.provider({"Excite", "vmobile.jp", {kNet}}).provider({"Mineo", "mineo.jp", {kNet}})
      .carrier(1, "au", {tuples({"44051"})}).carrier(2, "mineo", {tuples({"44051"}, {"mineo"})});
  EXPECT_TRUE(Merge(source_list(in.sources)).judge(kNet, "mineo.jp").candidate);
  EXPECT_EQ(choice(in).outcome, kUndecided);
}

TEST(Ranking, CountsOfNamesNeverOutweighTheOperatorsPlans) {
  const struct { const char *why; Inputs in; } cases[] = {
      {"Android's labels of one operator are one voice for the brand",
       Inputs().android({"Euskaltel", "internet.euskaltel.mobi", {kNet}})
           .android({"Euskaltel Internet", "i.euskaltel.mobi", {kNet}})
           .android({"Orange Internet", "orangeworld", {kNet}})},
      {"a reseller both databases list, against the host's two APNs",
       Inputs().provider({"Mineo", "mineo.jp", {kNet}}).android({"mineo", "mineo.jp", {kNet}})
           .android({"au(LTE NET)", "uno.au-net.ne.jp", {kNet}})
           .android({"au(5G NET)", "uad5gn.au-net.ne.jp", {kNet}})},
      {"a reseller on another operator's primary network is no broader for it",
       Inputs().provider({"Docomo", "mopera.net", {{"440", "10"}}, 1})
           .provider({"Excite", "vmobile.jp", {kNet, {"440", "10"}}})
           .provider({"Mineo", "mineo.jp", {kNet}}).provider({"Rider", "rider.jp", {kNet}})},
  };
  for (const auto &c : cases)
    EXPECT_EQ(choice(c.in).outcome, kUndecided) << c.why;
}

TEST(Ranking, TakesAGlobalResellerForOneWhereTheListsNameNoOperator) {
  Inputs in;
  in.provider({"Crazy", "crazy.example", {kNet}}).provider({"Roamer", "roamer.example", {kNet}})
      .carrier(1, "Roamer", {tuples({"44051", "23433"}, {}, {"AA"})});
  EXPECT_EQ(apn_of(in), "crazy.example");
  EXPECT_EQ(choice(in).outcome, kOneOperator);
}

TEST(Ranking, WeighsMarksAndBreadthOnlyForOneNetwork) {
  std::vector<NetworkId> many = {{"440", "50"}, {"440", "51"}, {"440", "53"}, {"440", "54"},
                                 {"440", "55"}};
  // A primary provider of five networks, none of its APNs in Android's on
  // the network that Android gives to an operator of that one network only.
  Inputs overclaimed;
  overclaimed.provider({"Big", "big.example", many, 1}).android({"Inland", "inland.example", {kNet}});
  EXPECT_NE(choice(overclaimed).outcome, kMarkSign);
  // Android listing its APN there keeps the mark.
  Inputs kept = overclaimed;
  kept.android({"Big", "big.example", {kNet}});
  EXPECT_EQ(choice(kept).outcome, kMarkSign);
  EXPECT_EQ(apn_of(kept), "big.example");
  // Two operators of two networks of one key: breadth names neither.
  const NetworkId key{"732", "10"};
  Inputs split;
  split.provider({"Claro", "claro.example", {{"732", "101"}}})
      .provider({"Tigo", "tigo.example", {{"732", "103"}, {"732", "111"}, {"732", "123"}}})
      .provider({"Une", "une.example", {{"732", "111"}, {"732", "123"}}});
  EXPECT_EQ(choice(split, key).outcome, kUndecided);
}

TEST(Ranking, TakesTheRowsNameAndLoginFromTheOperatorsOwnListing) {
  // "1&1" is first in byte order; Vodafone offers more APNs on the network.
  Inputs in;
  in.provider({"1&1", "web.vodafone.de", {kNet}}).provider({"Vodafone", "web.vodafone.de", {kNet}}, {"event.vodafone.de"});
  EXPECT_EQ(choice(in).row->name, "Vodafone");
  // The carrier identity database names the operator over any other sign.
  Inputs named;
  named.android({"Aldi", "internet.eplus.de", {kNet}}).android({"E-Plus", "internet.eplus.de", {kNet}})
      .carrier(1, "E-Plus", {tuples({"44051"})});
  EXPECT_EQ(choice(named).row->name, "E-Plus");
}

TEST(Ranking, NeverChoosesAnApnThatIsNoDnsName) {
  Inputs in;
  in.android({"Tele2 GPRS", "Tele2 GPRS", {kNet}}).android({"Tele2 NL", "internet.tele2.nl", {kNet}});
  TableFigures f;
  Merge merge(source_list(in.sources), &f);
  EXPECT_EQ(merge.choice(kNet).row->apn, "internet.tele2.nl");
  ASSERT_EQ(f.not_dns_name.size(), 1u);
  EXPECT_EQ(f.not_dns_name.begin()->text(), "440-51: \"Tele2 GPRS\" (\"Tele2 GPRS\")");
}

}  // namespace

// ---- The signs on rank_providers.xml and rank_apns.xml ----

namespace {

NetworkId id(const char *mcc, const char *mnc) { return {mcc, mnc}; }

// "440-10 440-11": networks as the messages write them.
std::vector<NetworkId> networks(const std::string &names) {
  std::vector<NetworkId> ids;
  std::istringstream in(names);
  for (std::string name; in >> name;)
    ids.push_back({name.substr(0, 3), name.substr(4)});
  return ids;
}

// tests/isp_table/rank_providers.xml, in its order: name, APNs, networks,
// primary mark.
Inputs &rank_providers(Inputs &in) {
  const struct { const char *name, *apn, *more, *networks; int primary; } providers[] = {
      {"Resold", "resold.jp", "", "440-10", -1},
      {"Big Host", "big.host", "", "440-10 440-11 440-12", 1},
      {"Small Own", "small.own", "", "440-11", 1},
      {"Alpha", "alpha.ch", "", "228-01", 0},
      {"Delta", "web.two", "", "232-01", 0},
      {"Gamma", "web.one", "", "232-01", 0},
      {"Zeta", "zeta.uk", "", "234-30", 0},
      {"Epsilon", "eps.uk", "", "234-30 234-31", 0},
      {"Eta", "eta.uk", "", "234-31", 0},
      {"Coop", "coop.uk", "", "234-40 234-41", 0},
      {"Host", "host.one", "host.two", "234-40", 0},
      {"Italia", "italia.it", "", "222-01 222-02 222-03 222-04", 0},
      {"Cheap", "cheap.za", "", "655-01", 0},
      {"Cheap Plus", "plus.cheap.za", "", "655-01", 0},
      {"Kay-b", "internet", "", "655-01", 0},
      {"Prox", "prox.be", "", "206-01", 0},
      {"Tele", "tele.be", "", "206-01", 0},
      {"Ruby", "ruby.be", "", "206-01", 0},
      {"Narrow", "narrow.us", "", "310-270", 0},
      {"Wide", "wide.us", "", "310-270 310-271", 0},
      {"Third", "third.us", "", "310-271", 0},
      {"M\xc3\xbcller Funk", "mueller.de", "", "262-42", 0},
      {"Zett", "zett.de", "", "262-42", 0},
  };
  for (const auto &p : providers)
    in.provider({p.name, p.apn, networks(p.networks), p.primary},
                *p.more ? std::vector<std::string>{p.more} : std::vector<std::string>{});
  return in;
}

// tests/isp_table/rank_apns.xml: one lister per carrier name and MCC, its
// APNs and networks.
Inputs &rank_apns(Inputs &in) {
  const struct { const char *name, *apn, *more, *networks; } carriers[] = {
      {"Budget One", "cheap.apn", "", "228-01"},
      {"Budget Two", "cheap.apn", "", "228-01"},
      {"Budget Three", "cheap.apn", "", "228-01"},
      {"Alpha Surf", "surf.ch", "", "228-01"},
      {"Alpha Web", "ALPHA.CH", "", "228-01"},
      {"Internet", "web.one", "", "232-01"},
      {"Foreign Web", "foreign.mx", "", "222-010 222-011 222-012"},
      {"KAY B INTERNET", "internet", "", "655-01"},
      {"Prox Web", "web.prox.be", "", "206-01"},
      {"Tele Roam", "roam.tele.be", "", "206-01"},
      {"Internet", "ruby.be", "", "206-01"},
      {"Coop Rider", "coop.uk", "", "234-41"},
      {"Ora WAP", "paygwap", "orawap", "234-50"},
      {"Ora Internet", "orainternet", "", "234-50"},
      {"Eee Internet", "everywhere", "", "234-50"},
      {"Telen Surf", "services.telen.se", "", "240-06"},
      {"Gloc Internet", "internet.gloc.se", "", "240-06"},
      {"Gloc WAP GPRS", "services.gloc.se", "", "240-06"},
      {"NetLink", "rconet", "", "405-801"},
      {"Rco GPRS", "rcowap", "", "405-801"},
  };
  for (const auto &c : carriers) {
    Entry e{c.name, c.apn, networks(c.networks)};
    e.usage = "default";
    in.android(e, *c.more ? std::vector<std::string>{c.more} : std::vector<std::string>{});
  }
  return in;
}

// Each sign that tells a network's own operator from a reseller, worked
// out by hand from the two files: the provider database alone (p), with
// Android's (pa), Android's alone (a). The row's name and APN, and the
// sign that decided it.
TEST(Ranking, DecidesEachKeyOfTheRankFixtures) {
  Inputs p, pa, a;
  rank_providers(p);
  rank_apns(rank_providers(pa));
  rank_apns(a);
  const struct {
    const char *why;
    const Inputs &in;
    NetworkId key;
    const char *name, *apn;
    int outcome;
  } cases[] = {
      {"a reseller marked primary=\"false\" is no candidate", p, id("440", "10"), "Big Host",
       "big.host", kOneOperator},
      {"of two primaries, the one claiming fewer networks", p, id("440", "11"), "Small Own",
       "small.own", kMarkSign},
      {"undecided: the APN first in byte order, whatever the file order", p, id("232", "01"),
       "Gamma", "web.one", kUndecided},
      {"breadth over the file order", p, id("234", "30"), "Epsilon", "eps.uk", kBreadthSign},
      {"Eta's one network is Epsilon's by breadth too", p, id("234", "31"), "Epsilon", "eps.uk",
       kBreadthSign},
      {"Coop's other network is its own only: no breadth, undecided", p, id("234", "40"), "Host",
       "host.one", kUndecided},
      {"it serves both networks of the key", p, id("310", "27"), "Wide", "wide.us", kServedSign},
      {"the reseller stays out", pa, id("440", "10"), "Big Host", "big.host", kOneOperator},
      {"the brand over three carriers listing cheap.apn", pa, id("228", "01"), "Alpha", "alpha.ch",
       kBrandSign},
      {"both kinds of database list it", pa, id("232", "01"), "Gamma", "web.one", kAgreementSign},
      {"breadth", pa, id("234", "30"), "Epsilon", "eps.uk", kBreadthSign},
      {"an Android carrier on Coop's 234-41 adds no breadth", pa, id("234", "40"), "Host",
       "host.one", kUndecided},
      {"222-010 to 222-012 are 222-01: foreign.mx serves no more, undecided", pa, id("222", "01"),
       "Italia", "italia.it", kUndecided},
      {"\"Kay-b\" and \"KAY B INTERNET\" are one name in both kinds, against Cheap's two APNs",
       pa, id("655", "01"), "Kay-b", "internet", kUndecided},
      {"agreement, against Prox's two APNs: undecided", pa, id("206", "01"), "Ruby", "ruby.be",
       kUndecided},
      {"the label \"Ora WAP\" and its two APNs count for nothing: undecided", a, id("234", "50"),
       "Eee Internet", "everywhere", kUndecided},
      {"Gloc's WAP label casts no second vote: undecided", a, id("240", "06"), "Gloc Internet",
       "internet.gloc.se", kUndecided},
      {"\"rconet\" and \"rcowap\" are one operator's", a, id("405", "801"), "NetLink", "rconet",
       kOneOperator},
  };
  for (const auto &c : cases) {
    Choice got = choice(c.in, c.key);
    ASSERT_NE(got.row, nullptr) << c.why;
    EXPECT_EQ(got.row->name, c.name) << c.why;
    EXPECT_EQ(got.row->apn, c.apn) << c.why;
    EXPECT_EQ(got.outcome, c.outcome) << c.why;
  }
}

// check --against and extend's review hold a kept row's APN to the same
// ranking: another operator's APN that a deciding sign ranks below the
// network's own is likely wrong (the sign named); one of the chosen APN's
// operator, or of an undecided key, is a choice; one that no candidate
// lists, or only a marked reseller, is no candidate. Both files.
TEST(Ranking, JudgesAKeptApnAsItRanksTheKeysOwn) {
  Inputs pa;
  rank_apns(rank_providers(pa));
  Merge merge(source_list(pa.sources));
  const struct {
    NetworkId key;
    const char *apn;
    bool candidate, same_operator;
    int sign;
  } cases[] = {
      {id("440", "11"), "big.host", true, false, kMarkSign},
      {id("228", "01"), "cheap.apn", true, false, kBrandSign},
      {id("232", "01"), "web.two", true, false, kAgreementSign},
      {id("310", "27"), "narrow.us", true, false, kServedSign},
      {id("234", "30"), "zeta.uk", true, false, kBreadthSign},
      {id("228", "01"), "surf.ch", true, true, kUndecided},
      {id("228", "01"), "ALPHA.CH", true, true, kUndecided},
      {id("234", "40"), "host.two", true, true, kUndecided},
      {id("234", "40"), "coop.uk", true, false, kUndecided},
      {id("440", "10"), "resold.jp", false, false, kUndecided},
      {id("206", "01"), "eps.uk", false, false, kUndecided},
  };
  for (const auto &c : cases) {
    Judgement j = merge.judge(c.key, c.apn);
    std::string what = network_name(c.key) + " " + c.apn;
    EXPECT_EQ(j.candidate, c.candidate) << what;
    if (c.candidate) {
      EXPECT_EQ(j.same_operator, c.same_operator) << what;
    }
    if (c.candidate && !c.same_operator) {
      EXPECT_EQ(j.sign, c.sign) << what;
    }
    EXPECT_EQ(j.another_operators(), c.sign < kSigns) << what;
  }
}

// The words by which the rank fixtures' names and APNs meet, or do not.
TEST(Names, MeetAsTheRankFixturesNeedThem) {
  const struct { const char *name; std::vector<std::string> want; } names[] = {
      {"Kay-b", {"kayb"}},
      {"KAY B INTERNET", {"kay", "kayb"}},
      {"M\xc3\xbcller Funk", {"m\xc3\xbcller", "funk"}},
      {"Gloc WAP GPRS", {"gloc"}},
  };
  for (const auto &c : names)
    EXPECT_EQ(name_words(c.name), c.want) << c.name;
  const struct { const char *apn; std::vector<std::string> want; } stems[] = {
      {"rconet", {"rco"}}, {"rcowap", {"rco"}}, {"internet.gloc.se", {"gloc"}},
  };
  for (const auto &c : stems)
    EXPECT_EQ(apn_stems(c.apn), c.want) << c.apn;
  const struct { const char *name, *apn; bool want; } labels[] = {
      {"Ora WAP", "orawap", true},          {"Ora WAP", "paygwap", true},
      {"Gloc WAP GPRS", "services.gloc.se", true}, {"Gloc Internet", "internet.gloc.se", false},
      {"Ora Internet", "orainternet", false},
  };
  for (const auto &c : labels)
    EXPECT_EQ(labelled_wap_or_mms(c.name, c.apn), c.want) << c.name << " " << c.apn;
}

}  // namespace

// ---- explain --key ----

namespace {

TEST(ExplainKey, ReadsANetworkIdInEitherSpelling) {
  const struct { const char *text; bool ok; NetworkId want; } cases[] = {
      {"262-01", true, {"262", "01"}}, {"262,01", true, {"262", "01"}},
      {"26201", true, {"262", "01"}},  {"405-854", true, {"405", "854"}},
      {"2620", false, {}},             {"26-201", false, {}},
      {"262-0x", false, {}},           {"262-0001", false, {}},
      {"262--01", false, {}},
  };
  for (const auto &c : cases) {
    NetworkId id;
    EXPECT_EQ(read_network_id(c.text, &id), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(id, c.want) << c.text;
    }
  }
}

std::string explained(const Inputs &in, const NetworkId &id, bool *answered) {
  char *text = nullptr;
  size_t size = 0;
  FILE *out = open_memstream(&text, &size);
  *answered = explain_key(in.sources, id, out);
  fclose(out);
  std::string s(text, size);
  free(text);
  return s;
}

TEST(ExplainKey, ShowsWhoListsEachCandidateAndWhatDecided) {
  Inputs in;
  in.provider({"Mineo", "mineo.jp", {kNet}}).android({"au(LTE NET)", "uno.au-net.ne.jp", {kNet}})
      .carrier(1, "au", {tuples({"44051"}, {}, {"10"})});
  bool answered = false;
  std::string text = explained(in, kNet, &answered);
  EXPECT_TRUE(answered);
  for (const char *line :
       {"key 440-51\n", "the carrier identity database: 440-51 is \"au\"'s (carriers.textpb:1)\n",
        "operator 1, ranked first:\n  the carrier identity database: 1\n",
        "  APN \"uno.au-net.ne.jp\": the operator's data APN\n"
        "    apns.xml:0: \"au(LTE NET)\" lists it for 440-51\n",
        "operator 2:\n  the carrier identity database: 0\n",
        "    providers.xml:0: \"Mineo\" lists it for 440-51\n",
        "decided by: the carrier identity database\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line << "\nin:\n" << text;
  // A network of no listing has no row.
  EXPECT_NE(explained(in, {"262", "01"}, &answered).find("no candidate"), std::string::npos);
  EXPECT_FALSE(answered);
}

}  // namespace
