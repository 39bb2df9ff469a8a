#include "rank.h"

#include <algorithm>
#include <ctype.h>

#include <array>
#include <numeric>
#include <tuple>

#include "names.h"
#include "sets.h"

namespace {

// Networks claimed by one primary provider that make it a group's, not one
// network's operator.
const size_t kManyNetworks = 5;

// The operator a listing stands for: its name's first word, or, for a name
// of service words only ("Internet"), its own lister.
std::string operator_of(const Listing &l) {
  std::string op = operator_word(l.name);
  return op.empty() ? "#" + std::to_string(l.lister) : op;
}

// (operator, network): the operator lists an APN for the network that is
// not labelled WAP or MMS.
using UnlabelledOffers = std::set<std::pair<std::string, NetworkId>>;

UnlabelledOffers unlabelled_offers(const std::vector<Standing> &standings) {
  UnlabelledOffers unlabelled;
  for (const Standing &s : standings)
    if (!labelled_wap_or_mms(s.listing->name, s.listing->apn))
      unlabelled.insert({operator_of(*s.listing), s.network});
  return unlabelled;
}

// An APN labelled WAP or MMS ("Orange WAP" with "paygwap") that Android
// types as an internet APN is its operator's service APN when the
// operator lists another for the network: it neither votes nor stands.
bool aside(const Standing &s, const UnlabelledOffers &unlabelled) {
  return labelled_wap_or_mms(s.listing->name, s.listing->apn) &&
         unlabelled.count({operator_of(*s.listing), s.network});
}

// One word's use on one network: by which kinds of database (provider
// database, Android's), by how many listers, and whether a name uses it.
struct Votes {
  std::set<bool> kinds;
  // Providers, and Android's carriers by operator: Android labels each APN
  // of one operator apart ("Euskaltel", "Euskaltel Internet"), one voice.
  std::set<std::string> listers;
  bool named = false;
};

using Ballot = std::map<std::string, Votes>;

// `named`: the words come from the lister's name, not its APN.
void vote_words(const std::vector<std::string> &words, const Listing &l, bool named, Ballot *ballot) {
  for (const std::string &w : words) {
    Votes &v = (*ballot)[w];
    v.kinds.insert(l.android);
    v.listers.insert(l.android ? "a:" + operator_of(l) : "p:" + std::to_string(l.lister));
    v.named = v.named || named;
  }
}

void vote(const Listing &l, Ballot *ballot) {
  vote_words(name_words(l.name), l, true, ballot);
  vote_words(apn_words(l.apn), l, false, ballot);
}

// The brand: the words a name uses that the most kinds of database use,
// then the most listers. An APN that spells a word adds its lister's vote
// but makes no word a brand on its own: "ofnew" in five resellers' APNs
// under 208-01 names no operator. Words that tie are one brand only when
// one name holds them all ("NTT docomo"); a tie between names that never
// meet ("Proximus" and "Telenet" on 206-01) decides nothing, and the
// network has no brand.
std::set<std::string> brand_of(const Ballot &ballot,
                               const std::set<std::vector<std::string>> &names) {
  std::set<std::string> brand;
  std::pair<size_t, size_t> best{0, 0};
  for (const auto &word : ballot) {
    if (!word.second.named)
      continue;
    std::pair<size_t, size_t> score{word.second.kinds.size(), word.second.listers.size()};
    if (score > best) {
      best = score;
      brand.clear();
    }
    if (score == best)
      brand.insert(word.first);
  }
  for (const std::vector<std::string> &name : names)
    if (std::all_of(brand.begin(), brand.end(), [&](const std::string &w) {
          return std::find(name.begin(), name.end(), w) != name.end();
        }))
      return brand;
  return {};
}

}  // namespace

// Each sign as a count over the key's networks, so that on a key of
// several networks the APN right for more of them ranks first.
struct Ranking::Group {
  std::string apn;                       // folded
  std::vector<const Listing *> listings;  // each once
  std::array<std::set<NetworkId>, kSigns> signs;
  std::map<NetworkId, std::set<bool>> kinds;
  std::set<bool> all_kinds;
  bool broad = false;  // a provider of several networks under the MCC that others list too
  bool wide = false;   // a provider of several networks under the MCC, its own or not
  bool labelled = true;  // every listing of it says WAP or MMS
  bool service = true;   // every listing of it serves something else than data
  bool proxy = true;     // every listing of it sends the web through a proxy
  size_t offers = 0;
  std::set<size_t> listers;
  std::map<size_t, size_t> positions;  // provider -> the APN's place among its APNs
  std::set<std::string> operators, reseller_operators;
  std::set<std::string> stems;  // what its APN says of its operator

  const std::set<std::string> &who() const {
    return operators.empty() ? reseller_operators : operators;
  }
  bool same_operator(const Group &o) const;
};

// One operator's APNs on the key: groups that `same_operator` joins, each
// sign counted over all of them.
struct Ranking::Operator {
  std::vector<const Group *> groups;
  std::array<std::set<NetworkId>, kSigns> signs;
  bool broad = false, wide = false, labelled = true;
  size_t offers = 0;
  std::set<size_t> listers;
  const Group *chosen = nullptr;  // its data APN
  const Group *respelt = nullptr;  // its other spelling of the chosen APN, set aside
  std::map<const Group *, std::map<size_t, size_t>> positions;  // with those of its misspellings
};

// Whether primary listing `p` is no sign of its network's operator, as the
// constructor says, among `others`, the network's standings.
static bool overclaims(
    const Standing &p, const std::vector<const Standing *> &others,
    std::map<size_t, std::string> &operators,
    std::map<std::pair<size_t, std::string>, std::set<NetworkId>> &under_mcc) {
  std::set<std::string> theirs;  // the primary provider's APNs on the network
  for (const Standing *o : others)
    if (o->listing->lister == p.listing->lister)
      theirs.insert(folded_apn(o->listing->apn));
  bool neighbour = false;
  for (const Standing *o : others) {
    const Listing &l = *o->listing;
    if (!l.android)
      continue;
    if (theirs.count(folded_apn(l.apn)))
      return false;
    neighbour = neighbour || (!l.reseller() && operators[l.lister] != operators[p.listing->lister] &&
                              under_mcc[{l.lister, o->network.first}].size() == 1);
  }
  return neighbour;
}

Ranking::Ranking(const std::vector<Standing> &all, const NetworkOperators &carriers,
                 const std::map<size_t, std::set<std::string>> &service_apns)
    : carriers_(carriers), service_apns_(service_apns) {
  std::map<NetworkId, Ballot> ballots;
  std::map<NetworkId, std::set<std::vector<std::string>>> names;  // the voters' names
  std::map<size_t, std::set<NetworkId>> networks;
  std::map<std::pair<size_t, std::string>, std::set<NetworkId>> under_mcc;
  UnlabelledOffers unlabelled = unlabelled_offers(all);
  std::map<std::pair<std::string, NetworkId>, std::set<std::string>> apns;
  std::map<NetworkId, std::set<std::string>> listed_by;  // network -> providers' operators
  std::map<size_t, std::string> operators;                // lister -> its operator
  for (const Standing &s : all) {
    operators[s.listing->lister] = operator_of(*s.listing);
    if (!s.listing->android)
      listed_by[s.network].insert(operators[s.listing->lister]);
    networks[s.listing->lister].insert(s.network);
    under_mcc[{s.listing->lister, s.network.first}].insert(s.network);
    if (!aside(s, unlabelled))
      apns[{operator_of(*s.listing), s.network}].insert(folded_apn(s.listing->apn));
    // A reseller names its host's network as its own: it never votes.
    if (!s.listing->reseller() && !aside(s, unlabelled)) {
      vote(*s.listing, &ballots[s.network]);
      names[s.network].insert(name_words(s.listing->name));
    }
  }
  for (const auto &l : networks)
    lister_networks_[l.first] = l.second.size();
  // Breadth counts only the networks that another provider of the provider
  // database lists too: an operator's networks carry its resellers, while
  // a reseller's own MVNO code (CoopVoce's 222-53 beside Vodafone's 222-10,
  // Telenet's 206-05 beside Proximus's 206-01) carries no one else there,
  // and must not make it look like the operator of its host. Android's
  // carriers do not count, as they count for no breadth of their own: Voo
  // rides Telenet's 206-05 there, which makes Telenet no more Proximus.
  // A network another operator holds the primary mark of is the lister's
  // host, not its own: Excite's 440-10 (docomo's) and 440-51 make it no
  // operator of two networks.
  std::map<NetworkId, std::set<std::string>> primaries;
  for (const Standing &s : all)
    if (s.listing->primary > 0)
      primaries[s.network].insert(operators[s.listing->lister]);
  for (const auto &l : under_mcc) {
    std::pair<size_t, size_t> &breadth = breadth_[l.first];
    breadth.second = l.second.size();
    const std::string &own = operators[l.first.first];
    for (const NetworkId &id : l.second) {
      const std::set<std::string> &ops = listed_by[id];
      auto primary = primaries.find(id);
      bool hosted = primary != primaries.end() && !primary->second.count(own);
      breadth.first += !hosted && (ops.size() > 1 || !ops.count(own));
    }
  }
  for (const auto &l : apns)
    offers_[l.first] = l.second.size();
  for (const auto &b : ballots)
    brand_[b.first] = brand_of(b.second, names[b.first]);
  // Two primary providers on one network (docomo and Rakuten both claim
  // 440-11): the one that claims fewer networks is the network's own.
  for (const Standing &s : all) {
    if (s.listing->primary <= 0)
      continue;
    size_t claims = lister_networks_[s.listing->lister];
    auto it = fewest_primary_.emplace(s.network, claims).first;
    it->second = std::min(it->second, claims);
  }
  // A provider claiming many networks (T-Mobile US claims 15, marked
  // primary or not) may claim a neighbour's too: where Android's database
  // lists none of its APNs on the network but another operator, unmarked,
  // that has it as its only network under the MCC (Inland Cellular's
  // 310-580), neither its mark nor its breadth says who runs it. docomo's
  // 47 networks keep them: Android lists docomo's "mopera.net" on 440-10
  // beside its many resellers.
  std::map<NetworkId, std::vector<const Standing *>> on;
  for (const Standing &s : all)
    on[s.network].push_back(&s);
  for (const Standing &s : all)
    if (!s.listing->android && !s.listing->reseller() &&
        lister_networks_[s.listing->lister] >= kManyNetworks &&
        overclaims(s, on[s.network], operators, under_mcc))
      overclaimed_.insert(s.network);
}

Ranking::~Ranking() = default;

static bool carrier_sign(const NetworkOperators &carriers, const Listing &l, const NetworkId &id) {
  auto op = carriers.find(id);
  return op != carriers.end() &&
         (operated_by(l.name, l.apn, op->second) || op->second.preferred.count(folded_apn(l.apn)));
}

void Ranking::add(const Standing &s, Group *g) const {
  const Listing &l = *s.listing;
  g->apn = folded_apn(l.apn);
  if (std::find(g->listings.begin(), g->listings.end(), &l) == g->listings.end())
    g->listings.push_back(&l);
  if (carrier_sign(carriers_, l, s.network))
    g->signs[kCarrierSign].insert(s.network);
  auto primary = fewest_primary_.find(s.network);
  if (l.primary > 0 && primary != fewest_primary_.end() && !overclaimed_.count(s.network) &&
      lister_networks_.at(l.lister) == primary->second)
    g->signs[kMarkSign].insert(s.network);
  std::string op = operator_word(l.name);
  auto brand = brand_.find(s.network);
  if (!l.reseller() && brand != brand_.end())
    for (const std::string &w : operator_words(l.name))
      if (brand->second.count(w))
        g->signs[kBrandSign].insert(s.network);
  std::set<bool> &kinds = g->kinds[s.network];
  kinds.insert(l.android);
  g->all_kinds.insert(l.android);
  if (kinds.size() == 2)
    g->signs[kAgreementSign].insert(s.network);
  g->signs[kServedSign].insert(s.network);
  // Only a provider names every network it runs: an Android carrier name
  // is a label on each entry, and a reseller's recurs on every host it uses.
  // A network a primary provider of many claims from its own operator
  // makes it no broader there than its mark.
  if (!l.android && !l.reseller()) {
    const std::pair<size_t, size_t> &breadth = breadth_.at({l.lister, s.network.first});
    bool claimed = overclaimed_.count(s.network) != 0;
    g->broad = g->broad || (breadth.first > 1 && !claimed);
    g->wide = g->wide || (breadth.second > 1 && !claimed);
    auto at = g->positions.emplace(l.lister, l.position).first;
    at->second = std::min(at->second, l.position);
  }
  auto offers = offers_.find({operator_of(l), s.network});
  g->offers = std::max(g->offers, offers == offers_.end() ? 1 : offers->second);
  g->labelled = g->labelled && labelled_wap_or_mms(l.name, l.apn);
  g->service = g->service && service_apn(l.name, l.apn, l.usage);
  g->proxy = g->proxy && l.proxy;
  g->listers.insert(l.lister);
  for (const std::string &stem : apn_stems(l.apn))
    g->stems.insert(stem);
  // Every name it goes by: "V! (Vodafone Idea)" is Vodafone's.
  for (const std::string &w : operator_words(l.name))
    (l.reseller() ? g->reseller_operators : g->operators).insert(w);
  if (operator_words(l.name).empty())
    (l.reseller() ? g->reseller_operators : g->operators).insert(op);
}

static std::array<size_t, kSigns> deciding_of(const std::array<std::set<NetworkId>, kSigns> &signs,
                                              bool broad) {
  std::array<size_t, kSigns> d;
  for (int i = 0; i < kSigns; i++)
    d[i] = signs[i].size();
  d[kBreadthSign] = broad;
  return d;
}

static const int kWeak = 4;
static const int kOffersWeak = 1;  // the operator offering more APNs, among the weak tie-breaks

// Weak tie-breaks between operators that no sign tells apart, strongest
// first: an APN that does not say WAP or MMS, the more APNs its operator
// offers for the network (an operator lists its plans, a reseller its one
// APN; Android labels each APN apart, so the operator is the first word of
// the names), a provider of several networks under the MCC though no one
// else lists the others (an operator's second network, or a reseller's own
// MVNO code), the more listers; at last the APN's bytes. The choice is
// listed as undecided whatever breaks the tie.
static const char *const kWeakNames[kWeak + 1] = {
    "an APN not labelled WAP or MMS", "the operator offering more APNs for the network",
    "a lister of several networks under the MCC, the others its own only", "more listers",
    "the APN first in byte order"};

static const char kOutnumbered[] =
    "more mentions in the databases, against an operator offering more APNs for the network";
static const char kOtherNetworksBreadth[] =
    "a lister of several networks under the MCC, for another network of the key";

// Two APNs are one operator's when the first words of their listers' names
// meet, when one provider or carrier lists both, or when the APNs share a
// part that names the operator ("rcomnet" and "rcomwap", "3gnet" and
// "3gwap"): Android labels each APN of an operator apart ("NetConnect",
// "Reliance GPRS"), and a choice between them is no choice of operator.
bool Ranking::Group::same_operator(const Group &o) const {
  return !disjoint(who(), o.who()) || !disjoint(listers, o.listers) || !disjoint(stems, o.stems);
}

// How many of one operator's entries agree on a spelling: the kinds of
// database that list it, and its listers that list it for another use too.
static size_t agreement(const Ranking::Group &g, const Ranking::Operator &op,
                        const std::map<size_t, std::set<std::string>> &service_apns) {
  size_t agree = g.all_kinds.size();
  for (size_t lister : op.listers) {
    auto apns = service_apns.find(lister);
    agree += apns != service_apns.end() && apns->second.count(g.apn);
  }
  return agree;
}

// Of the providers listing both, how many list `a` before `b`.
static int preferred_by_providers(const std::map<size_t, size_t> &a,
                                  const std::map<size_t, size_t> &b) {
  int votes = 0;
  for (const auto &p : a) {
    auto theirs = b.find(p.first);
    if (theirs != b.end() && p.second != theirs->second)
      votes += p.second < theirs->second ? 1 : -1;
  }
  return votes;
}

// Within one operator, after its respelt APNs are set aside: its data APN
// before its service APNs; one without a proxy (the store keeps none, and
// a proxy's APN is a WAP portal's: Airtel's "airtelfun.com"); one both
// kinds of database list; one serving more of the key's networks; the APN
// its providers list first (a spelling set aside lends its place to the
// one kept); more listers; at last the APN's bytes.
static bool better_in_operator(const Ranking::Group &a, const Ranking::Group &b,
                               const Ranking::Operator &op) {
  auto strong = [](const Ranking::Group &g) {
    return std::make_tuple(!g.service, !g.proxy, g.all_kinds.size(), g.signs[kServedSign].size());
  };
  if (strong(a) != strong(b))
    return strong(a) > strong(b);
  if (int votes = preferred_by_providers(op.positions.at(&a), op.positions.at(&b)))
    return votes > 0;
  if (a.listers.size() != b.listers.size())
    return a.listers.size() > b.listers.size();
  return a.apn < b.apn;
}

// Of two spellings one edit apart, the one more of the operator's entries
// agree on; on a tie, neither is set aside.
static const Ranking::Group *misspelt(const Ranking::Group &a, const Ranking::Group &b,
                                      const Ranking::Operator &op,
                                      const std::map<size_t, std::set<std::string>> &service_apns) {
  // Across the databases: one database's spelling against the other's.
  if (!swapped_letters(a.apn, b.apn) || a.all_kinds == b.all_kinds)
    return nullptr;
  size_t mine = agreement(a, op, service_apns), theirs = agreement(b, op, service_apns);
  return mine == theirs ? nullptr : mine > theirs ? &b : &a;
}

// (misspelt, kept): each spelling set aside for another of its operator's,
// in the order met (the groups' order, their APNs' bytes), never in the
// order of their addresses.
using Respellings = std::vector<std::pair<const Ranking::Group *, const Ranking::Group *>>;

static bool set_aside(const Respellings &respelt, const Ranking::Group *g) {
  return std::any_of(respelt.begin(), respelt.end(),
                     [g](const Respellings::value_type &r) { return r.first == g; });
}

// Each of the operator's spellings that another sets aside, once.
static Respellings respellings(const Ranking::Operator &op,
                               const std::map<size_t, std::set<std::string>> &service_apns) {
  Respellings respelt;
  const std::vector<const Ranking::Group *> &g = op.groups;
  for (size_t i = 0; i < g.size(); i++)
    for (size_t j = i + 1; j < g.size(); j++)
      if (const Ranking::Group *wrong = misspelt(*g[i], *g[j], op, service_apns))
        if (!set_aside(respelt, wrong))
          respelt.push_back({wrong, wrong == g[i] ? g[j] : g[i]});
  return respelt;
}

// The operator's data APN, each spelling it sets aside noted in `respelt`.
static void choose_within(Ranking::Operator *op,
                          const std::map<size_t, std::set<std::string>> &service_apns) {
  Respellings respelt = respellings(*op, service_apns);
  for (const Ranking::Group *g : op->groups)
    op->positions[g].insert(g->positions.begin(), g->positions.end());
  for (const auto &k : respelt)
    op->positions[k.second].insert(k.first->positions.begin(), k.first->positions.end());
  for (const Ranking::Group *g : op->groups)
    if (!set_aside(respelt, g) && (!op->chosen || better_in_operator(*g, *op->chosen, *op)))
      op->chosen = g;
  // Spellings that set each other aside in a ring: none is.
  for (const Ranking::Group *g : op->groups)
    if (!op->chosen ||
        (respelt.size() == op->groups.size() && better_in_operator(*g, *op->chosen, *op)))
      op->chosen = g;
  for (const auto &k : respelt)
    if (k.second == op->chosen && !op->respelt)
      op->respelt = k.first;
}

using Rank = std::pair<std::array<size_t, kSigns>, std::array<long, kWeak>>;

static Rank rank_of(const Ranking::Operator &o) {
  return Rank{deciding_of(o.signs, o.broad),
              {!o.labelled, (long)o.offers, o.wide, (long)o.listers.size()}};
}

// The operator ranked first: one with a data APN before one with service
// APNs only (a router needs the internet, whoever runs the network: Oman
// Mobile's "taif" before "omantel wap"'s "wap"); then by its signs, its
// weak tie-breaks, then the bytes of its data APN, so that any order of
// the inputs gives the same.
static bool ranks_before(const Ranking::Operator &a, const Ranking::Operator &b) {
  if (a.chosen->service != b.chosen->service)
    return !a.chosen->service;
  Rank ra = rank_of(a), rb = rank_of(b);
  if (ra != rb)
    return ra > rb;
  return a.chosen->apn < b.chosen->apn;
}

// The key's APNs, each with its listings; an APN its operator labels WAP or
// MMS beside an unlabelled one stands aside.
std::map<std::string, Ranking::Group> Ranking::groups(
    const std::vector<Standing> &candidates) const {
  std::map<std::string, Group> groups;  // folded APN -> its listings
  UnlabelledOffers unlabelled = unlabelled_offers(candidates);
  for (const Standing &s : candidates)
    if (!aside(s, unlabelled))
      add(s, &groups[folded_apn(s.listing->apn)]);
  return groups;
}

static size_t root(std::vector<size_t> &up, size_t i) {
  while (up[i] != i)
    i = up[i] = up[up[i]];
  return i;
}

// The operators of the key: the groups `same_operator` joins, directly or
// through another, each with its data APN chosen.
std::vector<Ranking::Operator> Ranking::operators(const std::map<std::string, Group> &groups) const {
  std::vector<const Group *> all;
  for (const auto &g : groups)
    all.push_back(&g.second);
  std::vector<size_t> up(all.size());
  std::iota(up.begin(), up.end(), 0);
  for (size_t i = 0; i < all.size(); i++)
    for (size_t j = i + 1; j < all.size(); j++)
      if (all[i]->same_operator(*all[j]))
        up[root(up, j)] = root(up, i);
  std::map<size_t, Operator> joined;
  for (size_t i = 0; i < all.size(); i++) {
    Operator &o = joined[root(up, i)];
    const Group &g = *all[i];
    o.groups.push_back(&g);
    for (int s = 0; s < kSigns; s++)
      o.signs[s].insert(g.signs[s].begin(), g.signs[s].end());
    o.broad = o.broad || g.broad;
    o.wide = o.wide || g.wide;
    o.labelled = o.labelled && g.labelled;
    o.offers = std::max(o.offers, g.offers);
    o.listers.insert(g.listers.begin(), g.listers.end());
  }
  std::vector<Operator> ops;
  for (auto &j : joined) {
    choose_within(&j.second, service_apns_);
    ops.push_back(j.second);
  }
  std::sort(ops.begin(), ops.end(), ranks_before);
  return ops;
}

// The first deciding sign on which `mine` and `theirs` differ, or kSigns.
static int deciding_sign(const Rank &mine, const Rank &theirs) {
  for (int i = 0; i < kSigns; i++)
    if (mine.first[i] != theirs.first[i])
      return i;
  return kSigns;
}

// The sign by which operator `a` beats `b`, or kSigns; when a sign orders
// them but decides nothing, `voided` (if given) says why. Breadth tells an
// operator from a reseller on one network; between operators of different
// networks of the key (Claro's 732-101 and Tigo's 732-103) it says nothing.
static int deciding_sign(const Ranking::Operator &a, const Ranking::Operator &b,
                         const char **voided = nullptr) {
  Rank ra = rank_of(a), rb = rank_of(b);
  int sign = deciding_sign(ra, rb);
  // Ranked first for its data APN against another operator's service APNs
  // only: no sign for it.
  if (a.chosen->service != b.chosen->service)
    return kSigns;
  const char *why = nullptr;
  if (sign == kBreadthSign && disjoint(a.signs[kServedSign], b.signs[kServedSign]))
    why = kOtherNetworksBreadth;
  // Brand, agreement and breadth count how often names appear: a reseller
  // both databases list outnumbers its host listed in one (mineo against
  // au on 440-51). Against an operator offering more APNs on the network
  // (its plans, against a reseller's one), they decide nothing.
  else if ((sign == kBrandSign || sign == kAgreementSign || sign == kBreadthSign) &&
           ra.second[kOffersWeak] < rb.second[kOffersWeak])
    why = kOutnumbered;
  if (!why)
    return sign;
  if (voided)
    *voided = why;
  return kSigns;
}

// The listing that gives the row its name, region and login, when several
// list its APN: the network's operator's own (by the carrier identity
// database, the primary mark, no reseller's mark, the brand), the
// provider database's before Android's, one offering more APNs on the
// network (an operator lists its plans, a reseller its one APN), a lister
// of more networks (an operator lists its APN for all its networks);
// then by the bytes, never by where it stands in a file. Vodafone's
// "web.vodafone.de" carries Vodafone's name and login, not 1&1's.
const Listing *Ranking::row_of(const Group &g) const {
  auto own = [this](const Listing *l) {
    bool carrier = false, brand = false;
    for (const NetworkId &id : l->networks) {
      carrier = carrier || carrier_sign(carriers_, *l, id);
      auto b = brand_.find(id);
      for (const std::string &w : operator_words(l->name))
        brand = brand || (b != brand_.end() && b->second.count(w));
    }
    size_t offers = 0;
    for (const NetworkId &id : l->networks) {
      auto o = offers_.find({operator_of(*l), id});
      offers = std::max(offers, o == offers_.end() ? 0 : o->second);
    }
    auto networks = lister_networks_.find(l->lister);
    return std::make_tuple(carrier, l->primary > 0, !l->reseller(), brand, !l->android, offers,
                           networks == lister_networks_.end() ? 0 : networks->second);
  };
  auto bytes = [](const Listing *l) {
    return std::tie(l->apn, l->name, l->region, l->user, l->password, l->technology, l->number);
  };
  const Listing *best = nullptr;
  for (const Listing *l : g.listings)
    if (!best || own(l) > own(best) || (own(l) == own(best) && bytes(l) < bytes(best)))
      best = l;
  return best;
}

// An APN one kind of database lists for the internet, two letters swapped
// from the APN its own provider lists for MMS or WAP (NOS's "utms" and
// "umts" in the provider database of 2025 and 2026): the row takes the
// spelling of the provider's other entry, and the summary names both.
void Ranking::respell(const Operator &op, Choice *c) const {
  const Group &chosen = *op.chosen;
  if (chosen.all_kinds.size() != 1)
    return;
  for (size_t lister : chosen.listers) {
    auto other = service_apns_.find(lister);
    if (other == service_apns_.end())
      continue;
    for (const std::string &apn : other->second)
      // A spelling the operator lists for the internet too is weighed as
      // its other APNs are.
      if (swapped_letters(chosen.apn, apn) &&
          std::none_of(op.groups.begin(), op.groups.end(),
                       [&](const Group *g) { return g->apn == apn; })) {
        respelled_.push_back(*c->row);
        respelled_.back().apn = apn;
        c->respelt = c->row;
        c->row = &respelled_.back();
        return;
      }
  }
}

Choice Ranking::choose(const std::vector<Standing> &candidates) const {
  std::map<std::string, Group> all = groups(candidates);
  std::vector<Operator> ops = operators(all);
  Choice c;
  if (ops.empty())
    return c;
  const Operator &mine = ops[0];
  c.row = row_of(*mine.chosen);
  c.respelt = mine.respelt ? row_of(*mine.respelt) : nullptr;
  if (!c.respelt)
    respell(mine, &c);
  if (ops.size() == 1)
    return c;
  const Operator &other = ops[1];
  Rank ours = rank_of(mine), theirs = rank_of(other);
  const char *voided = nullptr;
  c.outcome = deciding_sign(mine, other, &voided);
  if (c.outcome < kSigns)
    return c;
  c.outcome = kUndecided;
  c.other = row_of(*other.chosen);
  // The others' APNs are WAP or MMS portals', which no router can use.
  if (mine.chosen->service != other.chosen->service) {
    c.outcome = kDataOnly;
    c.other = nullptr;
    return c;
  }
  if (voided) {
    c.weak = voided;
    return c;
  }
  c.weak = kWeakNames[kWeak];
  for (int i = 0; i < kWeak; i++)
    if (ours.second[i] != theirs.second[i]) {
      c.weak = kWeakNames[i];
      break;
    }
  return c;
}

Judgement Ranking::judge(const std::vector<Standing> &candidates, const std::string &apn) const {
  Judgement j;
  std::string folded = folded_apn(apn);
  std::map<std::string, Group> all = groups(candidates);
  std::vector<Operator> ops = operators(all);
  auto theirs = all.find(folded);
  if (theirs != all.end())
    j.listing = row_of(theirs->second);
  for (const Standing &s : candidates)
    if (!j.listing && folded_apn(s.listing->apn) == folded)
      j.listing = s.listing;
  j.candidate = j.listing != nullptr;
  j.chosen = ops.empty() ? nullptr : row_of(*ops[0].chosen);
  // An APN standing aside is its operator's service APN: no operator's
  // choice to hold against the row.
  if (ops.empty() || theirs == all.end()) {
    j.same_operator = true;
    return j;
  }
  const Operator *owner = nullptr;
  for (const Operator &o : ops)
    if (std::find(o.groups.begin(), o.groups.end(), &theirs->second) != o.groups.end())
      owner = &o;
  j.same_operator = owner == &ops[0];
  int sign = deciding_sign(ops[0], *owner);
  j.sign = sign < kSigns ? sign : kUndecided;
  // When no sign tells the network's operator (the key is undecided), no
  // APN is another operator's: mineo's and povo's tie says nothing of au's.
  if (ops.size() > 1 && deciding_sign(ops[0], ops[1]) == kSigns)
    j.sign = kUndecided;
  return j;
}

std::vector<WeighedOperator> Ranking::weigh(const std::vector<Standing> &candidates) const {
  std::map<std::string, Group> all = groups(candidates);
  std::vector<WeighedOperator> weighed;
  for (const Operator &o : operators(all)) {
    WeighedOperator w;
    Rank r = rank_of(o);
    std::copy(r.first.begin(), r.first.end(), w.signs);
    w.row = row_of(*o.chosen);
    for (const Group *g : o.groups)
      w.apns.push_back({g->apn, g->listings, g == o.chosen, g->service, g == o.respelt});
    weighed.push_back(w);
  }
  return weighed;
}
