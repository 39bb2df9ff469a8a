#include "summary.h"

// Served, no table can serve, and without a usable APN add up to the
// networks; an indented figure is part of the one above it. `named`: each
// network no table can serve follows its count, by name.
static void write_networks(const TableFigures &f, bool named, FILE *out) {
  fprintf(out, "  networks served: %zu\n", f.served);
  fprintf(out, "    networks served only through a GID1-marked provider: %zu\n", f.served_gid1_only);
  fprintf(out, "  networks no table can serve under the lookup rule: %zu\n", f.unservable.size());
  for (size_t i = 0; named && i < f.unservable.size(); i++)
    fprintf(out, "    %s\n", f.unservable[i].text().c_str());
  fprintf(out, "  networks without a usable internet APN: %zu\n", f.without_usable);
  fprintf(out, "    networks whose key has no row at all: %zu\n", f.without_row);
  fprintf(out, "  network ids read as the two-digit network they begin with: %zu\n", f.read_as);
}

// Each outcome's stable word for a machine and its words for a person,
// in the order of rank.h's Sign and outcomes.
static const Wording kOutcomeWords[kOutcomes] = {
    {"carrier-list", "the carrier identity database"},
    {"primary-mark", "the network's own primary provider"},
    {"brand", "the network's brand"},
    {"both-kinds", "agreement of both kinds of database"},
    {"networks-served", "more of the key's networks served"},
    {"breadth", "a lister of several networks under the MCC"},
    {"one-operator", "one operator's APNs only"},
    {"data-only", "one operator's data APNs only, the others' service APNs"},
    {"undecided", "nothing (undecided: a weak tie-break chose)"}};

const char *outcome_name(int outcome) {
  return outcome >= 0 && outcome < kOutcomes ? kOutcomeWords[outcome].words : "";
}

const char *outcome_code(int outcome) {
  return outcome >= 0 && outcome < kOutcomes ? kOutcomeWords[outcome].code : "";
}

// Which sign chose each row over the other operators' APNs; `named`: each
// undecided key follows its count.
static void write_decisions(const TableFigures &f, bool named, FILE *out) {
  fprintf(out, "  rows decided by:\n");
  for (int i = 0; i < kOutcomes; i++)
    fprintf(out, "    %s: %zu\n", outcome_name(i), f.decided[i]);
  for (size_t i = 0; named && i < f.undecided.size(); i++)
    fprintf(out, "      %s\n", f.undecided[i].text().c_str());
}

// Each line of `lines` under its count, when `named`.
template <typename Lines>
static void write_named(const char *what, const Lines &lines, bool named, FILE *out) {
  fprintf(out, "  %s: %zu\n", what, lines.size());
  for (auto it = lines.begin(); named && it != lines.end(); ++it)
    fprintf(out, "      %s\n", it->text().c_str());
}

// The rows left out, whatever the reason.
static size_t left_out_rows(const TableFigures &f) {
  size_t left = 0;
  for (const auto &why : f.left_out)
    left += why.second;
  return left;
}

static void write_figures(const TableFigures &f, const char *listers, bool named, FILE *out) {
  fprintf(out, "  %s: %zu\n  networks: %zu\n  rows: %zu\n", listers, f.listers, f.networks, f.rows);
  fprintf(out, "    rows whose name or region is cut to fit its field: %zu\n", f.cut);
  fprintf(out, "  rows left out: %zu\n", left_out_rows(f));
  for (const auto &why : f.left_out)
    fprintf(out, "    %s: %zu\n", why.first.c_str(), why.second);
  write_networks(f, named, out);
  write_decisions(f, named, out);
  write_named("APNs set aside as their operator's other spelling", f.respelt, named, out);
  write_named("APNs that are no DNS name, never chosen", f.not_dns_name, named, out);
}

static const char *kind_name(const Source &s) {
  if (s.carrier_list)
    return "carrier identity database";
  if (s.generated)
    return "Android APN database, generated from the provider database";
  return s.android ? "Android APN database" : "provider database";
}

// A carrier list gives no row: what it holds, no table's figures.
static void write_carriers(const Source &s, FILE *out) {
  fprintf(out, "  carriers: %zu\n  networks: %zu\n", s.listers, s.networks.size());
  if (s.carriers.version != -1)
    fprintf(out, "  version: %ld\n", s.carriers.version);
}

std::vector<TableFigures> own_figures(const std::vector<Source> &sources) {
  std::vector<TableFigures> own(sources.size());
  for (size_t i = 0; i < sources.size(); i++)
    if (!sources[i].carrier_list && !sources[i].set_aside)
      own[i] = merge_table({&sources[i]}, nullptr);
  return own;
}

void write_summary(const std::vector<Source> &sources, const std::vector<TableFigures> &own,
                   const TableFigures &merged, FILE *out) {
  for (size_t i = 0; i < sources.size(); i++) {
    const Source &s = sources[i];
    fprintf(out, "%s (%s):\n", s.path.c_str(), kind_name(s));
    if (s.carrier_list) {
      write_carriers(s, out);
      continue;
    }
    if (s.set_aside) {
      fprintf(out, "  carriers left out whole, another database is among the inputs: %zu\n",
              s.listers);
      continue;
    }
    write_figures(own[i], s.android ? "carriers" : "providers", false, out);
    fprintf(out, "  CDMA SIDs outside the SID table: %zu\n", s.sids_outside_table);
    fprintf(out, "  network ids that are not MCC and MNC digits: %zu\n", s.bad_network_ids);
  }
  fprintf(out, "merged table:\n");
  write_figures(merged, "providers and carriers", true, out);
}

void write_summary(const std::vector<Source> &sources, const TableFigures &merged, FILE *out) {
  write_summary(sources, own_figures(sources), merged, out);
}

// ---- The report ----

static Json item_json(const UnservableNetwork &u) {
  return {{"network", network_name(u.network)}, {"name", u.name}};
}

static Json item_json(const UndecidedKey &u) {
  return {{"key", network_name(u.key)}, {"apn", u.apn},           {"operator", u.name},
          {"other_apn", u.other_apn},   {"other_operator", u.other_name}, {"by", u.weak}};
}

static Json item_json(const RespeltKey &r) {
  return {{"key", network_name(r.key)},
          {"apn", r.apn},
          {"operator", r.name},
          {"set_aside_apn", r.set_aside_apn},
          {"set_aside_operator", r.set_aside_name}};
}

static Json item_json(const NotDnsName &d) {
  return {{"key", network_name(d.key)}, {"apn", d.apn}, {"operator", d.name}};
}

// What the summary names under a count, each an object of its values as
// they stand.
template <typename Items>
static Json items_json(const Items &items) {
  Json array = Json::array();
  for (const auto &item : items)
    array.push_back(item_json(item));
  return array;
}

// The figures by the summary's lines, in its order; `named`: the lines
// the merged part names follow their counts.
static Json figures_json(const TableFigures &f, bool named) {
  Json by_reason = Json::object();
  for (const auto &why : f.left_out)
    by_reason[left_out_code(why.first)] = why.second;
  Json decided = Json::object();
  for (int i = 0; i < kOutcomes; i++)
    decided[outcome_code(i)] = f.decided[i];
  Json doc = {{"listers", f.listers},
              {"networks", f.networks},
              {"rows", f.rows},
              {"rows_cut", f.cut},
              {"rows_left_out", left_out_rows(f)},
              {"rows_left_out_by", by_reason},
              {"networks_served", f.served},
              {"networks_served_gid1_only", f.served_gid1_only},
              {"networks_unservable", f.unservable.size()},
              {"networks_without_usable_apn", f.without_usable},
              {"networks_without_row", f.without_row},
              {"network_ids_read_as", f.read_as},
              {"rows_decided_by", decided},
              {"apns_respelt", f.respelt.size()},
              {"apns_not_dns_name", f.not_dns_name.size()}};
  if (named) {
    doc["unservable"] = items_json(f.unservable);
    doc["undecided"] = items_json(f.undecided);
    doc["respelt"] = items_json(f.respelt);
    doc["not_dns_name"] = items_json(f.not_dns_name);
  }
  return doc;
}

static Json input_json(const Source &s, const TableFigures &own) {
  Json doc = {{"path", s.path}, {"kind", kind_name(s)}};
  if (s.carrier_list) {
    doc["carriers"] = s.listers;
    doc["networks"] = s.networks.size();
    doc["version"] = s.carriers.version != -1 ? Json(s.carriers.version) : Json();
    return doc;
  }
  if (s.set_aside) {
    doc["carriers_left_out"] = s.listers;
    return doc;
  }
  doc["table"] = figures_json(own, false);
  doc["sids_outside_table"] = s.sids_outside_table;
  doc["bad_network_ids"] = s.bad_network_ids;
  return doc;
}

void add_summary_json(const std::vector<Source> &sources, const std::vector<TableFigures> &own,
                      const TableFigures &merged, Json *doc) {
  Json inputs = Json::array();
  for (size_t i = 0; i < sources.size(); i++)
    inputs.push_back(input_json(sources[i], own[i]));
  (*doc)["inputs"] = inputs;
  (*doc)["table"] = figures_json(merged, true);
}
