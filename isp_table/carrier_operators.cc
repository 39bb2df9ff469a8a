#include "carrier_operators.h"

#include <algorithm>
#include <tuple>

#include "names.h"

namespace {

// How an attribute tells a carrier's SIMs apart on its networks, the
// strongest sign of an operator first; kNoSign for every other filter. An
// SPN of its own name or a GID1 alone are one sign: operators and their
// resellers use both, and only their breadth tells them apart (PC mobile
// filters by its own SPN on TELUS's 302-220, au by GID1 on its 440-51).
enum Filter { kBare, kEmptySpn, kOwnSpnOrGid1, kNoSign };

// Two words of one name: the same, or one the other's start when it is
// long enough to be a name of its own ("airtel" of "airteltigo"), not a
// common start ("tele" of "telenor" and "telekom").
bool same_name(const std::string &a, const std::string &b) {
  const size_t kLongStart = 5;
  const std::string &shorter = a.size() < b.size() ? a : b, &longer = a.size() < b.size() ? b : a;
  return a == b || (shorter.size() >= kLongStart && longer.compare(0, shorter.size(), shorter) == 0);
}

bool meets(const std::vector<std::string> &a, const std::vector<std::string> &b) {
  for (const std::string &w : a)
    for (const std::string &v : b)
      if (same_name(w, v))
        return true;
  return false;
}

bool only_spn_and(const CarrierAttribute &a, bool gid1) {
  return a.imsi_prefix_xpattern.empty() && a.plmn.empty() && a.gid2.empty() &&
         a.preferred_apn.empty() && a.iccid_prefix.empty() && a.privilege_access_rule.empty() &&
         (gid1 || a.gid1.empty());
}

Filter filter_of(const Carrier &c, const CarrierAttribute &a) {
  if (!only_spn_and(a, true))
    return kNoSign;
  if (!a.gid1.empty())
    return a.spn.empty() ? kOwnSpnOrGid1 : kNoSign;
  if (std::all_of(a.spn.begin(), a.spn.end(), [](const std::string &s) { return s.empty(); }))
    return kBare;
  if (std::find(a.spn.begin(), a.spn.end(), "") != a.spn.end())
    return kEmptySpn;
  std::vector<std::string> own = name_words(c.carrier_name);
  for (const std::string &spn : a.spn)
    if (meets(name_words(spn), own))
      return kOwnSpnOrGid1;
  return kNoSign;
}

// The names a carrier goes by: the leading word of each part of its name
// ("1O1O / csl / Club Sim" is 1O1O's, csl's and Club Sim's), never the
// words after it ("Ooredoo Tunisia" is not Tunisiana).
std::vector<std::string> carrier_words(const std::string &name) {
  std::vector<std::string> words;
  for (size_t start = 0; start <= name.size();) {
    size_t slash = std::min(name.find('/', start), name.size());
    for (const std::string &w : operator_words(name.substr(start, slash - start)))
      words.push_back(w);
    start = slash + 1;
  }
  return words;
}

// The words of a carrier's name after its leading ones that may name it
// too ("Hong Kong CSL Ltd." is CSL's), matched whole: a company's words
// and a place's name every operator of the place shares are not.
std::vector<std::string> other_words(const std::string &name) {
  static const std::set<std::string> company = {
      "ltd",      "limited",  "inc",    "llc",     "corp",        "corporation", "company",
      "group",    "telecom",  "telecommunications", "communications", "cellular",
      "wireless", "networks", "network", "holdings", "services",    "mobility"};
  std::vector<std::string> leading = carrier_words(name), others;
  for (const std::string &w : name_words(name))
    if (!company.count(w) && std::find(leading.begin(), leading.end(), w) == leading.end())
      others.push_back(w);
  return others;
}

bool says_mvno(const std::string &name) {
  std::vector<std::string> words = name_words(name);
  return std::find(words.begin(), words.end(), "mvno") != words.end();
}

NetworkId network_of(const std::string &tuple) { return {tuple.substr(0, 3), tuple.substr(3)}; }

struct Claim {
  const Carrier *carrier;
  const Source *source;
  size_t reach;  // the networks under the MCC that the claiming attribute names
};

// The networks under `mcc` that attribute `a` names.
size_t reach_of(const CarrierAttribute &a, const std::string &mcc) {
  std::set<std::string> under;
  for (const std::string &t : a.mccmnc_tuple)
    if (t.compare(0, 3, mcc) == 0)
      under.insert(t);
  return under.size();
}

// The claims of one sign on one network, children of a parent among them
// left out: the carrier whose claiming attribute names strictly the most
// networks under the MCC (an operator's names its networks; a reseller's,
// the host networks it rides, fewer: TELUS's four against PC mobile's two
// on 302-220), or null on a tie between two names. Whatever order the
// claims come in, the answer is one.
const Claim *decide(const std::vector<Claim> &claims) {
  std::set<long> ids;
  for (const Claim &c : claims)
    ids.insert(c.carrier->canonical_id);
  std::map<const Carrier *, size_t> left;  // carrier -> its widest claim
  for (const Claim &c : claims)
    if (c.carrier->parent_canonical_id < 0 || !ids.count(c.carrier->parent_canonical_id))
      left[c.carrier] = std::max(left[c.carrier], c.reach);
  size_t most = 0;
  for (const auto &c : left)
    most = std::max(most, c.second);
  // Carriers of one name (two entries of one operator) are no tie; every
  // two of them must meet, so that no order of meeting them decides.
  std::vector<const Carrier *> top;
  for (const auto &c : left)
    if (c.second == most)
      top.push_back(c.first);
  for (const Carrier *a : top)
    for (const Carrier *b : top)
      if (!meets(carrier_words(a->carrier_name), carrier_words(b->carrier_name)))
        return nullptr;
  const Carrier *best = nullptr;
  for (const Carrier *c : top)
    if (!best || std::tie(c->canonical_id, c->carrier_name) <
                     std::tie(best->canonical_id, best->carrier_name))
      best = c;
  for (const Claim &c : claims)
    if (c.carrier == best)
      return &c;
  return nullptr;
}

}  // namespace

// One attribute of a carrier list, with its carrier's names and its filter.
struct CarrierFilters::Entry {
  const Source *source;
  const Carrier *carrier;
  const CarrierAttribute *attribute;
  std::vector<std::string> words;  // the names its carrier goes by (carrier_words)
  Filter filter;
};

using Entries = std::vector<CarrierFilters::Entry>;

// Carriers of several MCCs found on no network without a filter: resellers
// that roam the world on others' networks (Truphone, 1Global), never an
// operator, by the names they go by.
static std::set<std::vector<std::string>> roaming_carriers(const Entries &entries) {
  std::set<std::vector<std::string>> bare;
  std::map<std::vector<std::string>, std::set<std::string>> mccs;
  for (const CarrierFilters::Entry &e : entries)
    for (const std::string &t : e.attribute->mccmnc_tuple) {
      mccs[e.words].insert(t.substr(0, 3));
      if (e.filter == kBare)
        bare.insert(e.words);
    }
  std::set<std::vector<std::string>> roaming;
  for (const auto &c : mccs)
    if (c.second.size() > 1 && !bare.count(c.first))
      roaming.insert(c.first);
  return roaming;
}

// What else the operator goes by on the network: the SPNs that its
// carrier, or another carrier of the same name, shows there (Telekom
// Romania's "COSMOTE", Vi's "Vodafone IN"), and its preferred APNs.
static void add_own_names(const Entries &entries, const NetworkId &id, NetworkOperator *op) {
  std::string tuple = id.first + id.second;
  std::vector<std::string> name = op->words;
  for (const CarrierFilters::Entry &e : entries) {
    const CarrierAttribute &a = *e.attribute;
    if (e.words != name ||
        std::find(a.mccmnc_tuple.begin(), a.mccmnc_tuple.end(), tuple) == a.mccmnc_tuple.end())
      continue;
    for (const std::string &apn : a.preferred_apn)
      op->preferred.insert(folded_apn(apn));
    for (const std::string &spn : a.spn)
      for (const std::string &w : carrier_words(spn))
        if (std::find(op->words.begin(), op->words.end(), w) == op->words.end())
          op->words.push_back(w);
  }
}

// network -> the claims of its strongest sign, a roaming carrier's never
static std::map<NetworkId, std::vector<Claim>> claims(
    const Entries &entries, const std::set<std::vector<std::string>> &roaming) {
  std::map<NetworkId, std::pair<Filter, std::vector<Claim>>> claims;
  for (const CarrierFilters::Entry &e : entries) {
    if (e.filter == kNoSign || says_mvno(e.carrier->carrier_name) || roaming.count(e.words))
      continue;
    for (const std::string &t : e.attribute->mccmnc_tuple) {
      auto &on = claims.emplace(network_of(t), std::make_pair(kNoSign, std::vector<Claim>()))
                     .first->second;
      if (e.filter < on.first)
        on = {e.filter, {}};
      if (e.filter == on.first)
        on.second.push_back({e.carrier, e.source, reach_of(*e.attribute, t.substr(0, 3))});
    }
  }
  std::map<NetworkId, std::vector<Claim>> strongest;
  for (auto &network : claims)
    strongest[network.first] = std::move(network.second.second);
  return strongest;
}

CarrierFilters::CarrierFilters(const std::vector<const Source *> &sources) {
  for (const Source *s : sources)
    for (const Carrier &c : s->carriers.carriers)
      for (const CarrierAttribute &a : c.attributes)
        entries_.push_back({s, &c, &a, carrier_words(c.carrier_name), filter_of(c, a)});
  roaming_ = roaming_carriers(entries_);
}

CarrierFilters::~CarrierFilters() = default;

NetworkOperators CarrierFilters::operators() const {
  NetworkOperators operators;
  for (const auto &network : claims(entries_, roaming_)) {
    const Claim *c = decide(network.second);
    if (!c)
      continue;
    NetworkOperator &op = operators[network.first];
    op.name = c->carrier->carrier_name;
    op.words = carrier_words(op.name);
    op.others = other_words(op.name);
    op.path = c->source->path;
    op.line = c->carrier->line;
    add_own_names(entries_, network.first, &op);
  }
  return operators;
}

NetworkOperators network_operators(const std::vector<const Source *> &sources) {
  return CarrierFilters(sources).operators();
}

// A name of service words only ("Internet Movil") says nothing of who
// lists the APN; the APN then names its operator ("imovil.entelpcs.cl").
bool operated_by(const std::string &name, const std::string &apn, const NetworkOperator &op) {
  std::vector<std::string> words = operator_words(name);
  if (words.empty())
    return meets(apn_words(apn), op.words);
  for (const std::string &w : words)
    if (std::find(op.others.begin(), op.others.end(), w) != op.others.end())
      return true;
  return meets(words, op.words);
}

// A carrier found bare on a network anywhere in the lists is no reseller
// there, whatever its other attributes filter.
std::map<NetworkId, std::vector<std::vector<std::string>>> CarrierFilters::resellers(
    const NetworkOperators &operators) const {
  std::map<NetworkId, std::map<std::vector<std::string>, bool>> bare;  // names -> found bare
  for (const Entry &e : entries_)
    for (const std::string &t : e.attribute->mccmnc_tuple) {
      bool &found = bare[network_of(t)][e.words];
      found = found || e.filter == kBare;
    }
  std::map<NetworkId, std::vector<std::vector<std::string>>> resellers;
  for (const auto &network : bare) {
    auto op = operators.find(network.first);
    for (const auto &carrier : network.second) {
      if (carrier.second || carrier.first.empty())
        continue;
      // Without an operator the lists name, a filter may tell brands apart
      // (TELUS and Koodo on 302-220): only a roaming carrier is a reseller
      // for sure.
      if (op == operators.end() ? roaming_.count(carrier.first) != 0
                                : !meets(carrier.first, op->second.words))
        resellers[network.first].push_back(carrier.first);
    }
  }
  return resellers;
}

bool resold_by(const std::string &name, const std::vector<std::vector<std::string>> &resellers) {
  std::vector<std::string> words = operator_words(name);
  for (const std::vector<std::string> &r : resellers)
    if (meets(words, r))
      return true;
  return false;
}
