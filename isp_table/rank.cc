#include "rank.h"

#include <algorithm>
#include <array>

#include "against.h"
#include "names.h"

namespace {

// The operator a listing stands for: its name's first word, or, for a name
// of service words only ("Internet"), its own lister.
std::string operator_of(const Listing &l) {
  std::string op = operator_word(l.name);
  return op.empty() ? "#" + std::to_string(l.lister) : op;
}

using Plain = std::set<std::pair<std::string, NetworkId>>;  // (operator, network)

// The operators that list an APN not labelled WAP or MMS for a network.
Plain plain_of(const std::vector<Standing> &standings) {
  Plain plain;
  for (const Standing &s : standings)
    if (!labelled_wap_or_mms(s.listing->name, s.listing->apn))
      plain.insert({operator_of(*s.listing), s.network});
  return plain;
}

// An APN labelled WAP or MMS ("Orange WAP" with "paygwap") that Android
// types as an internet APN is its operator's service APN when the
// operator lists another for the network: it neither votes nor stands.
bool aside(const Standing &s, const Plain &plain) {
  return labelled_wap_or_mms(s.listing->name, s.listing->apn) &&
         plain.count({operator_of(*s.listing), s.network});
}

// One word's use on one network: by which kinds of database (provider
// database, Android's), by how many listers, and whether a name uses it.
struct Votes {
  std::set<bool> kinds;
  std::set<size_t> listers;
  bool named = false;
};

using Ballot = std::map<std::string, Votes>;

// `named`: the words come from the lister's name, not its APN.
void vote_words(const std::vector<std::string> &words, const Listing &l, bool named, Ballot *ballot) {
  for (const std::string &w : words) {
    Votes &v = (*ballot)[w];
    v.kinds.insert(l.android);
    v.listers.insert(l.lister);
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
  const Listing *row = nullptr;  // the first listing in file order
  std::array<std::set<NetworkId>, kSigns> signs;
  std::map<NetworkId, std::set<bool>> kinds;
  bool broad = false;  // a provider of several networks under the MCC that others list too
  bool wide = false;   // a provider of several networks under the MCC, its own or not
  bool labelled = true;  // every listing of it says WAP or MMS
  size_t offers = 0;
  std::set<size_t> listers;
  std::set<std::string> operators, reseller_operators;
  std::set<std::string> stems;  // what its APN says of its operator

  const std::set<std::string> &who() const {
    return operators.empty() ? reseller_operators : operators;
  }
  bool same_operator(const Group &o) const;
};

Ranking::Ranking(const std::vector<Standing> &all) {
  std::map<NetworkId, Ballot> ballots;
  std::map<NetworkId, std::set<std::vector<std::string>>> names;  // the voters' names
  std::map<size_t, std::set<NetworkId>> networks;
  std::map<std::pair<size_t, std::string>, std::set<NetworkId>> under_mcc;
  Plain plain = plain_of(all);
  std::map<std::pair<std::string, NetworkId>, std::set<std::string>> apns;
  std::map<NetworkId, std::set<std::string>> listed_by;  // network -> providers' operators
  std::map<size_t, std::string> operators;                // lister -> its operator
  for (const Standing &s : all) {
    operators[s.listing->lister] = operator_of(*s.listing);
    if (!s.listing->android)
      listed_by[s.network].insert(operators[s.listing->lister]);
    networks[s.listing->lister].insert(s.network);
    under_mcc[{s.listing->lister, s.network.first}].insert(s.network);
    if (!aside(s, plain))
      apns[{operator_of(*s.listing), s.network}].insert(folded_apn(s.listing->apn));
    // A reseller names its host's network as its own: it never votes.
    if (!s.listing->reseller() && !aside(s, plain)) {
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
  for (const auto &l : under_mcc) {
    std::pair<size_t, size_t> &breadth = breadth_[l.first];
    breadth.second = l.second.size();
    for (const NetworkId &id : l.second) {
      const std::set<std::string> &ops = listed_by[id];
      breadth.first += ops.size() > 1 || !ops.count(operators[l.first.first]);
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
}

void Ranking::add(const Standing &s, Group *g) const {
  const Listing &l = *s.listing;
  if (!g->row || std::tie(l.file, l.order) < std::tie(g->row->file, g->row->order))
    g->row = &l;
  auto primary = fewest_primary_.find(s.network);
  if (l.primary > 0 && primary != fewest_primary_.end() &&
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
  if (kinds.size() == 2)
    g->signs[kAgreementSign].insert(s.network);
  g->signs[kServedSign].insert(s.network);
  // Only a provider names every network it runs: an Android carrier name
  // is a label on each entry, and a reseller's recurs on every host it uses.
  if (!l.android && !l.reseller()) {
    const std::pair<size_t, size_t> &breadth = breadth_.at({l.lister, s.network.first});
    g->broad = g->broad || breadth.first > 1;
    g->wide = g->wide || breadth.second > 1;
  }
  auto offers = offers_.find({operator_of(l), s.network});
  g->offers = std::max(g->offers, offers == offers_.end() ? 1 : offers->second);
  g->labelled = g->labelled && labelled_wap_or_mms(l.name, l.apn);
  g->listers.insert(l.lister);
  if (g->stems.empty())
    for (const std::string &stem : apn_stems(l.apn))
      g->stems.insert(stem);
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

static const int kWeak = 6;

// Weak tie-breaks, strongest first: an APN that does not say WAP or MMS,
// the more APNs its operator offers for the network (an operator lists its
// plans, a reseller its one APN; Android labels each APN apart, so the
// operator is the first word of the names), a
// provider of several networks under the MCC though no one else lists the
// others (an operator's second network, or a reseller's own MVNO code),
// the more listers, the file given first and the first in that file.
static std::array<long, kWeak> weak_of(const Listing &row, bool labelled, size_t offers,
                                       bool wide, size_t listers) {
  return {!labelled, (long)offers, wide, (long)listers, -(long)row.file, -(long)row.order};
}

static const char *const kWeakNames[kWeak] = {
    "an APN not labelled WAP or MMS", "the operator offering more APNs for the network",
    "a lister of several networks under the MCC, the others its own only", "more listers",
    "the file given first", "the order in the file"};

template <typename T>
static bool disjoint(const std::set<T> &a, const std::set<T> &b) {
  for (const T &s : a)
    if (b.count(s))
      return false;
  return true;
}

// Two APNs are one operator's when the first words of their listers' names
// meet, when one provider or carrier lists both, or when the APNs share a
// part that names the operator ("rcomnet" and "rcomwap", "3gnet" and
// "3gwap"): Android labels each APN of an operator apart ("NetConnect",
// "Reliance GPRS"), and a choice between them is no choice of operator.
bool Ranking::Group::same_operator(const Group &o) const {
  return !disjoint(who(), o.who()) || !disjoint(listers, o.listers) || !disjoint(stems, o.stems);
}

using Rank = std::pair<std::array<size_t, kSigns>, std::array<long, kWeak>>;

// A template, so that it names no private type: Ranking's Group.
template <typename Group>
static Rank rank_of(const Group &g) {
  return Rank{deciding_of(g.signs, g.broad),
              weak_of(*g.row, g.labelled, g.offers, g.wide, g.listers.size())};
}

// The key's APNs, each with its listings; an APN its operator labels WAP or
// MMS beside a plain one stands aside.
std::map<std::string, Ranking::Group> Ranking::groups(
    const std::vector<Standing> &candidates) const {
  std::map<std::string, Group> groups;  // folded APN -> its listings
  Plain plain = plain_of(candidates);
  for (const Standing &s : candidates)
    if (!aside(s, plain))
      add(s, &groups[folded_apn(s.listing->apn)]);
  return groups;
}

const Ranking::Group *Ranking::best(const std::map<std::string, Group> &groups) const {
  const Group *best = nullptr;
  for (const auto &g : groups)
    if (!best || rank_of(g.second) > rank_of(*best))
      best = &g.second;
  return best;
}


// The first deciding sign on which `mine` and `theirs` differ, or kSigns.
static int deciding_sign(const Rank &mine, const Rank &theirs) {
  for (int i = 0; i < kSigns; i++)
    if (mine.first[i] != theirs.first[i])
      return i;
  return kSigns;
}

Choice Ranking::choose(const std::vector<Standing> &candidates) const {
  std::map<std::string, Group> all = groups(candidates);
  const Group *mine = best(all);
  Choice c;
  if (!mine)
    return c;
  c.row = mine->row;
  // The other operators' best APN: what the row had to beat.
  const Group *other = nullptr;
  for (const auto &g : all)
    if (!g.second.same_operator(*mine) && (!other || rank_of(g.second) > rank_of(*other)))
      other = &g.second;
  if (!other)
    return c;
  Rank ours = rank_of(*mine), theirs = rank_of(*other);
  c.outcome = deciding_sign(ours, theirs);
  if (c.outcome < kSigns)
    return c;
  c.outcome = kUndecided;
  c.other = other->row;
  for (int i = 0; i < kWeak && !c.weak; i++)
    if (ours.second[i] != theirs.second[i])
      c.weak = kWeakNames[i];
  return c;
}

Judgement Ranking::judge(const std::vector<Standing> &candidates, const std::string &apn) const {
  Judgement j;
  std::string folded = folded_apn(apn);
  for (const Standing &s : candidates)
    if (!j.listing && folded_apn(s.listing->apn) == folded)
      j.listing = s.listing;
  std::map<std::string, Group> all = groups(candidates);
  const Group *mine = best(all);
  j.candidate = j.listing != nullptr;
  j.chosen = mine ? mine->row : nullptr;
  auto theirs = all.find(folded);
  // An APN standing aside is its operator's service APN: no operator's
  // choice to hold against the row.
  if (!mine || theirs == all.end()) {
    j.same_operator = true;
    return j;
  }
  j.same_operator = &theirs->second == mine || theirs->second.same_operator(*mine);
  int sign = deciding_sign(rank_of(*mine), rank_of(theirs->second));
  j.sign = sign < kSigns ? sign : kUndecided;
  return j;
}
