#include "merge.h"

#include <string.h>

#include <algorithm>
#include <set>
#include <tuple>

#include "identity.h"
#include "operator_table.h"
#include "text.h"

const char kTableHeader[] = "Index,MCC,MNC,ISP,Region,System,APN,Number,User,Password\r\n";

// The first key of isp_pick's own lookup order is the one that answers a
// SIM of the network whenever its row is there.
static LookupKey first_key(const NetworkId &id) {
  LookupKey keys[kMaxLookups];
  lookup_order(id.first.c_str(), id.second.c_str(), true, keys);
  return keys[0];
}

NetworkId lookup_key(const NetworkId &id) {
  LookupKey key = first_key(id);
  return {key.mcc, key.mnc};
}

static std::string placeholder(const std::string &value) { return value.empty() ? "NA" : value; }

static bool plain(const std::string &value) {
  return value.find_first_of(",\r\n") == std::string::npos;
}

// isp_pick's own rule: a value holding "NA" or "blank" is taken as empty.
static bool blanked(const std::string &value) {
  std::string copy = value;
  blank_placeholder(&copy[0]);
  return !value.empty() && copy.c_str()[0] == '\0';
}

// Why listing `l` cannot be a row that isp_pick reads back unchanged.
static const char *unrepresentable(const Listing &l) {
  for (const std::string *v : {&l.name, &l.region, &l.apn, &l.user, &l.password})
    if (!plain(*v))
      return "comma or line end in a value";
  // isp_pick would blank these, so the row would carry the wrong login.
  if (blanked(l.apn) || blanked(l.user) || blanked(l.password))
    return "APN, user name or password holds NA or blank";
  // The widths of isp_pick's profile record, without the terminating zero.
  if (l.name.size() >= sizeof(isp_profile::isp) || l.region.size() >= sizeof(isp_profile::region) ||
      l.apn.size() >= sizeof(isp_profile::apn) || l.user.size() >= sizeof(isp_profile::usr) ||
      l.password.size() >= sizeof(isp_profile::pwd))
    return "value too long for its field";
  return nullptr;
}

static std::string row_text(const Listing &l, const NetworkId &key) {
  return key.first + "," + key.second + "," + placeholder(l.name) + "," + placeholder(l.region) +
         "," + l.technology + "," + placeholder(l.apn) + "," + l.number + "," +
         placeholder(l.user) + "," + placeholder(l.password) + "\r\n";
}

// The row as isp_pick reads it back for its key: every value it sends to
// the store must come back unchanged.
static bool read_back(const Listing &l, const NetworkId &key) {
  std::string line = std::string(sizeof(isp_profile::index) - 1, '9') + "," + row_text(l, key);
  char row[kRowSize];
  if (line.size() >= sizeof row)
    return false;
  memcpy(row, line.c_str(), line.size() + 1);
  isp_profile p{};
  if (!take_row(row, first_key(key), &p))
    return false;
  return l.apn == p.apn && l.user == p.usr && l.password == p.pwd && l.number == p.number &&
         l.technology == kTechnologyNames[p.system];
}

static const char kGid1Dropped[] = "GID1-marked provider where the network has its own";

// Every network of every source, the internet APNs listed for each, and who
// lists them.
struct Networks {
  std::map<NetworkId, std::set<std::string>> apns;
  std::map<std::pair<NetworkId, std::string>, std::set<size_t>> listers;  // (network, APN)
  std::map<NetworkId, std::string> names;
  std::map<NetworkId, std::vector<NetworkId>> keys;              // key -> its networks
  std::map<NetworkId, std::vector<const Listing *>> candidates;  // key -> listings
  std::set<NetworkId> own;        // networks that an unmarked provider or carrier lists
  std::set<NetworkId> gid1_only;  // networks that only GID1-marked providers list
};

// Whether listing `l` counts for `id`, one of its networks. isp_pick cannot
// read GID1, so a GID1-marked provider's row would reach every SIM of the
// network: it counts only where no unmarked provider or carrier lists it.
static bool stands_for(const Networks &n, const Listing &l, const NetworkId &id) {
  return !l.gid1 || !n.own.count(id);
}

static void add_network(Networks *n, const Listing &l, const NetworkId &id) {
  n->apns[id].insert(l.apn);
  n->listers[{id, l.apn}].insert(l.lister);
  if (l.gid1)
    n->gid1_only.insert(id);
}

// A listing is a candidate for the keys of the networks it stands for; a key
// where it stands for none counts as a row left out, like any other.
static void add_listing(Networks *n, const Listing &l, TableFigures *f) {
  std::set<NetworkId> keys, dropped;
  for (const NetworkId &id : l.networks) {
    if (!stands_for(*n, l, id)) {
      dropped.insert(lookup_key(id));
      continue;
    }
    keys.insert(lookup_key(id));
    add_network(n, l, id);
  }
  for (const NetworkId &key : keys)
    n->candidates[key].push_back(&l);
  for (const NetworkId &key : dropped)
    f->left_out[kGid1Dropped] += !keys.count(key);
}

static Networks gather(const std::vector<const Source *> &sources, TableFigures *f) {
  Networks n;
  for (const Source *s : sources) {
    for (const auto &network : s->networks) {
      n.apns[network.first];
      n.names.emplace(network.first, network.second);
    }
    for (const Listing &l : s->listings)
      if (!l.gid1)
        n.own.insert(l.networks.begin(), l.networks.end());
  }
  for (const Source *s : sources)
    for (const Listing &l : s->listings)
      add_listing(&n, l, f);
  for (const auto &id : n.apns)
    n.keys[lookup_key(id.first)].push_back(id.first);
  return n;
}

// How many of a key's networks list `apn`, and how many providers or
// carriers list it for them.
static std::pair<size_t, size_t> reach(const Networks &n, const std::vector<NetworkId> &group,
                                       const std::string &apn) {
  size_t served = 0;
  std::set<size_t> listers;
  for (const NetworkId &id : group) {
    served += n.apns.at(id).count(apn);
    auto it = n.listers.find({id, apn});
    if (it != n.listers.end())
      listers.insert(it->second.begin(), it->second.end());
  }
  return {served, listers.size()};
}

// Adds to `usable` the networks of `key` that listing `l`, which can stand
// in the table as the key's row, stands for.
static void mark_usable(const Networks &n, const Listing &l, const NetworkId &key,
                        std::set<NetworkId> *usable) {
  for (const NetworkId &id : l.networks)
    if (stands_for(n, l, id) && lookup_key(id) == key)
      usable->insert(id);
}

// The key's row: the most networks served, then the most providers or
// carriers, then the file given first, then the file's own order. Adds to
// `usable` the key's networks that some candidate could serve.
static const Listing *best_row(const Networks &n, const NetworkId &key,
                               std::set<NetworkId> *usable, TableFigures *f) {
  const std::vector<NetworkId> &group = n.keys.at(key);
  const Listing *best = nullptr;
  std::tuple<long, long, size_t, size_t> best_rank;
  auto it = n.candidates.find(key);
  if (it == n.candidates.end())
    return nullptr;
  for (const Listing *l : it->second) {
    const char *why = unrepresentable(*l);
    // The index at its widest, and its comma.
    if (!why && sizeof(isp_profile::index) + row_text(*l, key).size() > kPieceMax)
      why = "line longer than one read";
    if (!why && !read_back(*l, key))
      why = "not read back unchanged by isp_pick";
    if (why) {
      f->left_out[why]++;
      continue;
    }
    mark_usable(n, *l, key, usable);
    std::pair<size_t, size_t> r = reach(n, group, l->apn);
    auto rank = std::make_tuple(-(long)r.first, -(long)r.second, l->file, l->order);
    if (!best || rank < best_rank) {
      best = l;
      best_rank = rank;
    }
  }
  return best;
}

static std::string label(const Networks &n, const NetworkId &id) {
  auto name = n.names.find(id);
  return id.first + "-" + id.second + " " + (name == n.names.end() ? "" : name->second);
}

// Each network of the key is served by its row, or has no usable APN, or
// has one but another network of the key won: no table serves both.
static void count_networks(const Networks &n, const NetworkId &key, const Listing *row,
                           const std::set<NetworkId> &usable, TableFigures *f) {
  for (const NetworkId &id : n.keys.at(key)) {
    if (row && n.apns.at(id).count(row->apn)) {
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

TableFigures merge_table(const std::vector<const Source *> &sources, std::vector<TableRow> *rows) {
  TableFigures f;
  for (const Source *s : sources) {
    f.listers += s->listers;
    for (const auto &why : s->left_out)
      f.left_out[why.first] += why.second;
  }
  Networks n = gather(sources, &f);
  f.networks = n.apns.size();
  std::set<NetworkId> usable;
  for (const auto &key : n.keys) {
    const Listing *row = best_row(n, key.first, &usable, &f);
    f.rows += row != nullptr;
    if (row && rows)
      rows->push_back({key.first, row, row_text(*row, key.first)});
    count_networks(n, key.first, row, usable, &f);
  }
  return f;
}

std::string numbered_rows(const std::vector<TableRow> &rows, size_t first) {
  std::string text;
  for (size_t i = 0; i < rows.size(); i++)
    text += std::to_string(first + i) + "," + rows[i].text;
  return text;
}

// Served, no table can serve, and without a usable APN add up to the
// networks; an indented figure is part of the one above it. `named`: each
// network no table can serve follows its count, by name.
static void write_networks(const TableFigures &f, bool named, FILE *out) {
  fprintf(out, "  networks served: %zu\n", f.served);
  fprintf(out, "    networks served only through a GID1-marked provider: %zu\n", f.served_gid1_only);
  fprintf(out, "  networks no table can serve under the lookup rule: %zu\n", f.unservable.size());
  for (size_t i = 0; named && i < f.unservable.size(); i++)
    fprintf(out, "    %s\n", f.unservable[i].c_str());
  fprintf(out, "  networks without a usable internet APN: %zu\n", f.without_usable);
  fprintf(out, "    networks whose key has no row at all: %zu\n", f.without_row);
}

static void write_figures(const TableFigures &f, const char *listers, bool named, FILE *out) {
  fprintf(out, "  %s: %zu\n  networks: %zu\n  rows: %zu\n", listers, f.listers, f.networks, f.rows);
  size_t left = 0;
  for (const auto &why : f.left_out)
    left += why.second;
  fprintf(out, "  rows left out: %zu\n", left);
  for (const auto &why : f.left_out)
    fprintf(out, "    %s: %zu\n", why.first.c_str(), why.second);
  write_networks(f, named, out);
}

void write_summary(const std::vector<Source> &sources, const TableFigures &merged, FILE *out) {
  for (const Source &s : sources) {
    fprintf(out, "%s (%s):\n", s.path.c_str(),
            s.android ? "Android APN database" : "provider database");
    write_figures(merge_table({&s}, nullptr), s.android ? "carriers" : "providers", false, out);
    fprintf(out, "  CDMA SIDs outside the SID table: %zu\n", s.sids_outside_table);
    fprintf(out, "  network ids that are not MCC and MNC digits: %zu\n", s.bad_network_ids);
  }
  fprintf(out, "merged table:\n");
  write_figures(merged, "providers and carriers", true, out);
}
