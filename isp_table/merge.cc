#include "merge.h"

#include <algorithm>
#include <set>

#include "names.h"
#include "pieces.h"
#include "rank.h"
#include "table_text.h"

static const char kGid1Dropped[] = "GID1-marked provider where the network has its own";
static const char kMvnoDropped[] = "MVNO entry (mvno_type) where the network has its own";
static const char kToldApartDropped[] =
    "reseller by the carrier identity database where the network has its own";
static const char kSecondaryDropped[] =
    "provider marked primary=\"false\" where the network has its own";

// Every network of every source, the internet APNs listed for each, and who
// lists them.
struct Networks {
  NetworkOperators carriers;  // each network's operator, as the carrier lists give it
  // network -> the carriers the carrier lists tell apart there by a filter,
  // on networks where a listing stands for the operator the lists name
  std::map<NetworkId, std::vector<std::vector<std::string>>> told_apart;
  std::map<size_t, std::set<std::string>> service_apns;  // lister -> its other APNs, folded
  std::map<NetworkId, std::set<std::string>> own_words;  // network -> its unmarked listers' words
  // key -> folded APN -> a marked reseller listing it where it stands for nothing
  std::map<NetworkId, std::map<std::string, const Listing *>> resold;
  std::map<NetworkId, std::set<const Listing *>> set_aside;  // key -> marked resellers left out
  std::map<NetworkId, std::set<std::string>> apns;
  std::map<NetworkId, std::string> names;
  std::map<NetworkId, std::vector<NetworkId>> keys;  // key -> its networks
  std::map<NetworkId, std::vector<Standing>> standing;  // key -> listings on its networks
  std::vector<Standing> all;
  std::set<NetworkId> own;        // networks that an unmarked provider or carrier lists
  std::set<NetworkId> gid1_only;  // networks that only GID1-marked providers list
  std::map<NetworkId, NetworkId> read_as;  // impossible id -> the network it begins with
};

// A three-digit MNC under an MCC whose networks are mostly two-digit, when
// its first two digits are a listed network, is that network's id written
// long (Android's 222-010 inside TIM's 22201x), not a network of its own.
// The lookup key stays the same; only what counts as one network changes.
static std::map<NetworkId, NetworkId> impossible_ids(const std::set<NetworkId> &ids) {
  std::map<std::string, std::pair<size_t, size_t>> digits;  // MCC -> two-digit, three-digit
  for (const NetworkId &id : ids)
    (id.second.size() == 2 ? digits[id.first].first : digits[id.first].second)++;
  std::map<NetworkId, NetworkId> read_as;
  for (const NetworkId &id : ids) {
    NetworkId shorter{id.first, id.second.substr(0, 2)};
    if (id.second.size() == 3 && ids.count(shorter) &&
        digits[id.first].first > digits[id.first].second && lookup_key(id) == lookup_key(shorter))
      read_as.emplace(id, shorter);
  }
  return read_as;
}

static NetworkId read_id(const Networks &n, const NetworkId &id) {
  auto it = n.read_as.find(id);
  return it == n.read_as.end() ? id : it->second;
}

// A listing marked as a reseller's that is its network's operator's own:
// Android types some operators' own entries (Telus, O2 Germany, csl) as
// MVNO entries, and the provider database marks some with GID1.
static bool operators_own(const Networks &n, const Listing &l, const NetworkId &id) {
  auto op = n.carriers.find(id);
  if (op != n.carriers.end())
    return operated_by(l.name, l.apn, op->second);
  auto own = n.own_words.find(id);
  if (own == n.own_words.end())
    return false;
  for (const std::string &w : operator_words(l.name))
    if (own->second.count(w))
      return true;
  return false;
}

// A listing marked as a reseller's on network `id`: by its own database,
// or because Android's carrier identity database tells its SIMs apart
// there by a filter, as it tells a reseller's from its host's.
static bool marked(const Networks &n, const Listing &l, const NetworkId &id) {
  auto told = n.told_apart.find(id);
  return l.reseller() || (told != n.told_apart.end() && resold_by(l.name, told->second));
}

// Whether listing `l` counts for `id`, one of its networks. isp_pick cannot
// read GID1, and a reseller's row would reach every SIM of its host's
// network: a marked reseller counts only where no unmarked provider or
// carrier lists the network, or where it is the network's operator's own.
static bool stands_for(const Networks &n, const Listing &l, const NetworkId &id) {
  return !marked(n, l, id) || !n.own.count(id) || operators_own(n, l, id);
}

static const char *dropped_as(const Listing &l) {
  if (l.gid1)
    return kGid1Dropped;
  if (l.mvno)
    return kMvnoDropped;
  return l.primary < 0 ? kSecondaryDropped : kToldApartDropped;
}

// A listing is a candidate for the keys of the networks it stands for; a key
// where it stands for none counts as a row left out, like any other.
static void add_listing(Networks *n, const Listing &l, TableFigures *f) {
  std::set<NetworkId> ids, keys, dropped;
  for (const NetworkId &listed : l.networks)
    ids.insert(read_id(*n, listed));
  for (const NetworkId &id : ids) {
    if (!stands_for(*n, l, id)) {
      dropped.insert(lookup_key(id));
      // The same reseller named whatever order the inputs come in.
      n->set_aside[lookup_key(id)].insert(&l);
      const Listing *&resold = n->resold[lookup_key(id)][folded_apn(l.apn)];
      if (!resold || std::tie(l.name, l.line) < std::tie(resold->name, resold->line))
        resold = &l;
      continue;
    }
    keys.insert(lookup_key(id));
    n->apns[id].insert(l.apn);
    if (l.gid1)
      n->gid1_only.insert(id);
    n->standing[lookup_key(id)].push_back({&l, id});
    n->all.push_back({&l, id});
  }
  for (const NetworkId &key : dropped)
    f->left_out[dropped_as(l)] += !keys.count(key);
}

static Networks gather(const std::vector<const Source *> &sources, TableFigures *f) {
  Networks n;
  n.carriers = network_operators(sources);
  // Where no database lists the operator the carrier lists name, marking
  // its resellers would hand the row to one the lists do not know.
  NetworkOperators listed;
  for (const Source *s : sources)
    for (const Listing &l : s->listings)
      for (const NetworkId &id : l.networks) {
        auto op = n.carriers.find(id);
        if (op != n.carriers.end() && operated_by(l.name, l.apn, op->second))
          listed.insert(*op);
      }
  n.told_apart = network_resellers(sources, listed);
  std::set<NetworkId> ids;
  for (const Source *s : sources) {
    n.service_apns.insert(s->service_apns.begin(), s->service_apns.end());
    // A carrier list's networks have no APN listed: none is a table's network.
    if (!s->carrier_list)
      for (const auto &network : s->networks)
        ids.insert(network.first);
  }
  n.read_as = impossible_ids(ids);
  f->read_as = n.read_as.size();
  // A network's own name first, before the names of its ids written long.
  for (int long_ids = 0; long_ids < 2; long_ids++)
    for (const Source *s : sources)
      for (const auto &network : s->networks)
        if (!s->carrier_list && n.read_as.count(network.first) == (size_t)long_ids) {
          n.apns[read_id(n, network.first)];
          // The name first in byte order, whatever order the files come in.
          auto name = n.names.emplace(read_id(n, network.first), network.second);
          if (!long_ids && network.second < name.first->second)
            name.first->second = network.second;
        }
  for (const Source *s : sources)
    for (const Listing &l : s->listings)
      for (const NetworkId &id : l.networks)
        if (!marked(n, l, read_id(n, id))) {
          n.own.insert(read_id(n, id));
          for (const std::string &w : operator_words(l.name))
            n.own_words[read_id(n, id)].insert(w);
        }
  for (const Source *s : sources)
    for (const Listing &l : s->listings)
      add_listing(&n, l, f);
  for (const auto &id : n.apns)
    n.keys[lookup_key(id.first)].push_back(id.first);
  return n;
}

// The key's listings that can stand as its row; each one that cannot is
// counted once as a row left out. Adds to `usable` the networks they serve.
static std::vector<Standing> candidates(const Networks &n, const NetworkId &key,
                                        std::set<NetworkId> *usable, TableFigures *f,
                                        std::vector<LeftOut> *left_out) {
  std::vector<Standing> kept;
  auto it = n.standing.find(key);
  if (it == n.standing.end())
    return kept;
  std::map<const Listing *, bool> fits;
  for (const Standing &s : it->second) {
    auto known = fits.find(s.listing);
    if (known == fits.end()) {
      const char *why = unwritable(*s.listing, key);
      if (why) {
        f->left_out[why]++;
        left_out->push_back({s.listing, why});
      }
      known = fits.emplace(s.listing, !why).first;
    }
    if (!known->second)
      continue;
    kept.push_back(s);
    usable->insert(s.network);
  }
  return kept;
}

// "311-481 "Tie Two"": a control byte in a name must not break the line.
static std::string label(const Networks &n, const NetworkId &id) {
  auto name = n.names.find(id);
  return network_name(id) + " " + shown_name(name == n.names.end() ? "" : name->second);
}

// "234-15: "internet" ("Vodafone") or ...": a name as people write it, an
// APN with every byte past ASCII shown, and a control byte in either kept
// from breaking the line.
static std::string undecided_line(const NetworkId &key, const Choice &c) {
  return network_name(key) + ": " + shown(c.row->apn) + " (" + shown_name(c.row->name) + ") or " +
         shown(c.other->apn) + " (" + shown_name(c.other->name) +
         "): nothing in the inputs decides; chosen by " + c.weak;
}

// "268-03: "umts" ("NOS/WTF Internet") kept, "utms" ("NOS") set aside: ...".
static std::string respelt_line(const NetworkId &key, const Choice &c) {
  return network_name(key) + ": " + shown(c.row->apn) + " (" + shown_name(c.row->name) +
         ") kept, " + shown(c.respelt->apn) + " (" + shown_name(c.respelt->name) +
         ") set aside: one operator's APN spelt two ways, two letters swapped, and more of its "
         "entries agree on the first";
}

// Each network of the key is served by its row, or has no usable APN, or
// has one but another network of the key won: no table serves both.
static void count_networks(const Networks &n, const NetworkId &key, const Listing *row,
                           const Listing *respelt, const std::set<NetworkId> &usable,
                           TableFigures *f) {
  for (const NetworkId &id : n.keys.at(key)) {
    // A respelt row serves the networks its other spelling is listed for.
    const Listing *listed = respelt && !n.apns.at(id).count(row->apn) ? respelt : row;
    if (listed && n.apns.at(id).count(listed->apn)) {
      f->served++;
      f->served_gid1_only += n.gid1_only.count(id);
    } else if (!usable.count(id)) {
      f->without_usable++;
      f->without_row += !row;
    } else {
      f->unservable.push_back(label(n, id));
    }
  }
}

Merge::Merge(const std::vector<const Source *> &sources, TableFigures *figures) {
  TableFigures own;
  TableFigures &f = figures ? *figures : own;
  for (const Source *s : sources) {
    if (s->carrier_list)
      continue;  // its carriers list no APN, and the test networks it names no row
    f.listers += s->set_aside ? 0 : s->listers;
    for (const auto &why : s->left_out)
      f.left_out[why.first] += why.second;
  }
  networks_.reset(new Networks(gather(sources, &f)));
  const Networks &n = *networks_;
  ranking_.reset(new Ranking(n.all, n.carriers, n.service_apns));
  f.networks = n.apns.size();
  for (const auto &key : n.keys) {
    std::set<NetworkId> usable;
    Key &k = keys_[key.first];
    k.candidates = candidates(n, key.first, &usable, &f, &k.left_out);
    k.choice = ranking_->choose(k.candidates);
    const Listing *row = k.choice.row;
    f.rows += row != nullptr;
    if (row) {
      f.cut += name_or_region_cut(*row);
      f.decided[k.choice.outcome]++;
      if (k.choice.outcome == kUndecided)
        f.undecided.push_back(undecided_line(key.first, k.choice));
      if (k.choice.respelt)
        f.respelt.push_back(respelt_line(key.first, k.choice));
    }
    count_networks(n, key.first, row, k.choice.respelt, usable, &f);
    for (const LeftOut &l : k.left_out)
      if (l.why == kNotDnsName)
        f.not_dns_name.insert(network_name(key.first) + ": " + shown(l.listing->apn) + " (" +
                              shown_name(l.listing->name) + ")");
  }
}

Merge::~Merge() = default;

void Merge::rows(std::vector<TableRow> *rows) const {
  for (const auto &key : keys_)
    if (const Listing *row = key.second.choice.row)
      rows->push_back({key.first, row, row_text(*row, key.first)});
}

Choice Merge::choice(const NetworkId &key) const {
  auto it = keys_.find(key);
  return it == keys_.end() ? Choice() : it->second.choice;
}

std::vector<WeighedOperator> Merge::weigh(const NetworkId &key) const {
  auto it = keys_.find(key);
  return it == keys_.end() ? std::vector<WeighedOperator>() : ranking_->weigh(it->second.candidates);
}

std::vector<LeftOut> Merge::left_out(const NetworkId &key) const {
  std::vector<LeftOut> out;
  auto aside = networks_->set_aside.find(key);
  if (aside != networks_->set_aside.end())
    for (const Listing *l : aside->second)
      out.push_back({l, dropped_as(*l)});
  auto it = keys_.find(key);
  if (it != keys_.end())
    out.insert(out.end(), it->second.left_out.begin(), it->second.left_out.end());
  // In the order of the files and lines, whatever order the merge met them.
  std::sort(out.begin(), out.end(), [](const LeftOut &a, const LeftOut &b) {
    return std::tie(a.listing->file, a.listing->line) < std::tie(b.listing->file, b.listing->line);
  });
  return out;
}

const NetworkOperators &Merge::carriers() const { return networks_->carriers; }

Judgement Merge::judge(const NetworkId &key, const std::string &apn) const {
  auto it = keys_.find(key);
  return it == keys_.end() ? Judgement() : ranking_->judge(it->second.candidates, apn);
}

bool Merge::stands(const Listing &l, const NetworkId &id) const {
  return stands_for(*networks_, l, read_id(*networks_, id));
}

const Listing *Merge::resold(const NetworkId &key, const std::string &apn) const {
  auto it = networks_->resold.find(key);
  if (it == networks_->resold.end())
    return nullptr;
  auto listing = it->second.find(folded_apn(apn));
  return listing == it->second.end() ? nullptr : listing->second;
}

TableFigures merge_table(const std::vector<const Source *> &sources, std::vector<TableRow> *rows) {
  TableFigures f;
  Merge merge(sources, &f);
  if (!rows)
    return f;
  size_t first = rows->size();
  merge.rows(rows);
  // A respelt row's listing dies with the merge: none is handed out.
  for (size_t i = first; i < rows->size(); i++)
    (*rows)[i].listing = nullptr;
  return f;
}

std::vector<const Source *> source_list(const std::vector<Source> &sources) {
  std::vector<const Source *> all;
  for (const Source &s : sources)
    all.push_back(&s);
  return all;
}

TableFigures merge_all(const std::vector<Source> &sources, std::vector<TableRow> *rows) {
  return merge_table(source_list(sources), rows);
}
