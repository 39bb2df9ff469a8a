#include "merge.h"

#include <algorithm>
#include <set>

#include "names.h"
#include "networks.h"
#include "pieces.h"
#include "rank.h"
#include "table_text.h"

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

// A control byte in a name must not break the line.
std::string UnservableNetwork::text() const { return network_name(network) + " " + shown_name(name); }

static UnservableNetwork unservable(const Networks &n, const NetworkId &id) {
  auto name = n.names.find(id);
  return {id, name == n.names.end() ? "" : name->second};
}

// A name as people write it, an APN with every byte past ASCII shown, and
// a control byte in either kept from breaking the line.
std::string UndecidedKey::text() const {
  return network_name(key) + ": " + shown(apn) + " (" + shown_name(name) + ") or " +
         shown(other_apn) + " (" + shown_name(other_name) +
         "): nothing in the inputs decides; chosen by " + weak;
}

std::string RespeltKey::text() const {
  return network_name(key) + ": " + shown(apn) + " (" + shown_name(name) + ") kept, " +
         shown(set_aside_apn) + " (" + shown_name(set_aside_name) +
         ") set aside: one operator's APN spelt two ways, two letters swapped, and more of its "
         "entries agree on the first";
}

std::string NotDnsName::text() const {
  return network_name(key) + ": " + shown(apn) + " (" + shown_name(name) + ")";
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
      f->unservable.push_back(unservable(n, id));
    }
  }
}

// What the sources count themselves: their listers, and the entries that
// give no row.
static void count_sources(const std::vector<const Source *> &sources, TableFigures *f) {
  for (const Source *s : sources) {
    if (s->carrier_list)
      continue;  // a carrier list lists no APN: its carriers list no row
    f->listers += s->set_aside ? 0 : s->listers;
    for (const auto &why : s->left_out)
      f->left_out[why.first] += why.second;
  }
}

// What the key's choice adds to the figures, and each APN left out as no
// DNS name.
static void count_choice(const NetworkId &key, const Choice &c,
                         const std::vector<LeftOut> &left_out, TableFigures *f) {
  f->rows += c.row != nullptr;
  if (c.row) {
    f->cut += name_or_region_cut(*c.row);
    f->decided[c.outcome]++;
    if (c.outcome == kUndecided)
      f->undecided.push_back(
          {key, c.row->apn, c.row->name, c.other->apn, c.other->name, c.weak});
    if (c.respelt)
      f->respelt.push_back({key, c.row->apn, c.row->name, c.respelt->apn, c.respelt->name});
  }
  for (const LeftOut &l : left_out)
    if (l.why == kNotDnsName)
      f->not_dns_name.insert({key, l.listing->apn, l.listing->name});
}

Merge::Merge(const std::vector<const Source *> &sources, TableFigures *figures) {
  TableFigures own;
  TableFigures &f = figures ? *figures : own;
  count_sources(sources, &f);
  networks_.reset(new Networks(gather_networks(sources)));
  const Networks &n = *networks_;
  f.read_as = n.read_as.size();
  for (const auto &why : n.left_out)
    f.left_out[why.first] += why.second;
  ranking_.reset(new Ranking(n.all, n.carriers, n.service_apns));
  f.networks = n.apns.size();
  for (const auto &key : n.keys) {
    std::set<NetworkId> usable;
    Key &k = keys_[key.first];
    k.candidates = candidates(n, key.first, &usable, &f, &k.left_out);
    k.choice = ranking_->choose(k.candidates);
    count_choice(key.first, k.choice, k.left_out, &f);
    count_networks(n, key.first, k.choice.row, k.choice.respelt, usable, &f);
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
      out.push_back({l, set_aside_as(*l)});
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
  return networks_->stands(l, id);
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
