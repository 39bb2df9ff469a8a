#include "explain_key.h"

#include "digits.h"
#include "pieces.h"
#include "reasons.h"
#include "summary.h"

bool read_network_id(const std::string &text, NetworkId *id) {
  std::string digits = text;
  size_t mark = digits.find_first_of("-,");
  if (mark != std::string::npos) {
    if (mark != 3)
      return false;
    digits.erase(mark, 1);
  }
  if (!all_digits(digits, 5, 6))
    return false;
  *id = {digits.substr(0, 3), digits.substr(3)};
  return true;
}

// The networks of `key` that entry `l` lists.
static std::vector<NetworkId> key_networks(const Listing &l, const NetworkId &key) {
  std::vector<NetworkId> networks;
  for (const NetworkId &id : l.networks)
    if (lookup_key(id) == key)
      networks.push_back(id);
  return networks;
}

// A key's networks share its MCC: only that MCC's carriers are walked.
static std::vector<CarrierNaming> carriers_of(const Merge &merge, const NetworkId &key) {
  std::vector<CarrierNaming> named;
  const NetworkOperators &all = merge.carriers();
  for (auto it = all.lower_bound({key.first, ""}); it != all.end() && it->first.first == key.first;
       ++it)
    if (lookup_key(it->first) == key)
      named.push_back({it->first, &it->second});
  return named;
}

KeyExplanation explain_key(const Merge &merge, const NetworkId &id) {
  KeyExplanation e;
  e.network = id;
  e.key = lookup_key(id);
  e.carriers = carriers_of(merge, e.key);
  e.operators = merge.weigh(e.key);
  e.left_out = merge.left_out(e.key);
  e.choice = merge.choice(e.key);
  if (e.choice.row)
    e.index = stable_index(e.key, {});
  return e;
}

// ---- The text ----

// "apns-conf.xml:2101: "au(LTE NET)" lists it for 440-51": where an entry
// stands and the key's networks it names.
static std::string place(const std::vector<Source> &sources, const Listing &l,
                         const NetworkId &key) {
  std::string networks;
  for (const NetworkId &id : key_networks(l, key))
    networks += (networks.empty() ? "" : ", ") + network_name(id);
  return sources[l.file].path + ":" + std::to_string(l.line) + ": " + shown_name(l.name) +
         (l.reseller() ? " (marked as a reseller)" : "") + " lists it for " + networks;
}

static void write_carriers(const KeyExplanation &e, FILE *out) {
  for (const CarrierNaming &c : e.carriers)
    fprintf(out, "the carrier identity database: %s is %s's (%s:%d)\n",
            network_name(c.network).c_str(), shown_name(c.op->name).c_str(), c.op->path.c_str(),
            c.op->line);
}

static void write_signs(const WeighedOperator &op, FILE *out) {
  for (int s = 0; s < kSigns; s++)
    fprintf(out, "  %s: %zu\n", outcome_name(s), op.signs[s]);
}

static void write_apn(const std::vector<Source> &sources, const WeighedApn &apn,
                      const NetworkId &key, FILE *out) {
  fprintf(out, "  APN %s%s%s%s\n", shown(apn.apn).c_str(),
          apn.chosen ? ": the operator's data APN" : "",
          apn.service ? ": a service APN (WAP, MMS, IMS, roaming, portal, M2M, passes)" : "",
          apn.respelt ? ": another spelling of the data APN, set aside" : "");
  for (const Listing *l : apn.listings)
    fprintf(out, "    %s\n", place(sources, *l, key).c_str());
}

static void write_decision(const KeyExplanation &e, FILE *out) {
  const Choice &c = e.choice;
  fprintf(out, "decided by: %s", outcome_name(c.outcome));
  if (c.outcome == kUndecided)
    fprintf(out, "; chosen over %s (%s) by %s", shown(c.other->apn).c_str(),
            shown_name(c.other->name).c_str(), c.weak);
  fputc('\n', out);
  if (c.row)
    fprintf(out, "row: %s", shown(e.index + "," + row_text(*c.row, e.key)).c_str());
  fputc('\n', out);
}

void write_explanation(const std::vector<Source> &sources, const KeyExplanation &e, FILE *out) {
  fprintf(out, "key %s", network_name(e.key).c_str());
  if (e.key != e.network)
    fprintf(out, " (network %s is looked up by it)", network_name(e.network).c_str());
  fputc('\n', out);
  write_carriers(e, out);
  for (size_t i = 0; i < e.operators.size(); i++) {
    fprintf(out, "operator %zu%s:\n", i + 1, i == 0 ? ", ranked first" : "");
    write_signs(e.operators[i], out);
    for (const WeighedApn &apn : e.operators[i].apns)
      write_apn(sources, apn, e.key, out);
  }
  for (const LeftOut &l : e.left_out)
    fprintf(out, "left out: APN %s: %s: %s\n", shown(l.listing->apn).c_str(),
            place(sources, *l.listing, e.key).c_str(), l.why);
  if (e.operators.empty()) {
    fputs("no candidate: the key has no row\n", out);
    return;
  }
  write_decision(e, out);
}

bool explain_key(const std::vector<Source> &sources, const NetworkId &id, FILE *out) {
  Merge merge(source_list(sources));
  KeyExplanation e = explain_key(merge, id);
  write_explanation(sources, e, out);
  return e.choice.row != nullptr;
}

// ---- The report ----

static Json networks_json(const std::vector<NetworkId> &networks) {
  Json array = Json::array();
  for (const NetworkId &id : networks)
    array.push_back(network_name(id));
  return array;
}

// An entry as the text's place() names it, its values as they stand.
static Json entry_json(const std::vector<Source> &sources, const Listing &l, const NetworkId &key) {
  return {{"file", sources[l.file].path},
          {"line", l.line},
          {"name", l.name},
          {"reseller", l.reseller()},
          {"networks", networks_json(key_networks(l, key))}};
}

static Json carriers_json(const KeyExplanation &e) {
  Json array = Json::array();
  for (const CarrierNaming &c : e.carriers)
    array.push_back({{"network", network_name(c.network)},
                     {"operator", c.op->name},
                     {"file", c.op->path},
                     {"line", c.op->line}});
  return array;
}

// `first`: the operator ranked first, whose data APN is the row's.
static Json operator_json(const std::vector<Source> &sources, const WeighedOperator &op,
                          bool first, const NetworkId &key) {
  Json signs = Json::object();
  for (int s = 0; s < kSigns; s++)
    signs[outcome_code(s)] = op.signs[s];
  Json apns = Json::array();
  for (const WeighedApn &apn : op.apns) {
    Json entries = Json::array();
    for (const Listing *l : apn.listings)
      entries.push_back(entry_json(sources, *l, key));
    apns.push_back({{"apn", apn.apn},
                    {"chosen", first && apn.chosen},
                    {"data_apn", apn.chosen},
                    {"service", apn.service},
                    {"set_aside", apn.respelt},
                    {"entries", entries}});
  }
  return {{"operator", op.row ? Json(op.row->name) : Json()}, {"signs", signs}, {"apns", apns}};
}

static Json left_out_json(const std::vector<Source> &sources, const KeyExplanation &e) {
  Json array = Json::array();
  for (const LeftOut &l : e.left_out)
    array.push_back({{"apn", l.listing->apn},
                     {"entry", entry_json(sources, *l.listing, e.key)},
                     {"why", left_out_code(l.why)}});
  return array;
}

// The row's values as the store gets them; all null without a row.
static void add_row(const KeyExplanation &e, Json *doc) {
  const Listing *row = e.choice.row;
  auto value = [row](const std::string Listing::*field) {
    return row ? Json(row->*field) : Json();
  };
  (*doc)["index"] = row ? Json(e.index) : Json();
  (*doc)["system"] = value(&Listing::technology);
  (*doc)["apn"] = value(&Listing::apn);
  (*doc)["user"] = value(&Listing::user);
  (*doc)["password"] = value(&Listing::password);
  (*doc)["number"] = value(&Listing::number);
  (*doc)["operator"] = value(&Listing::name);
  (*doc)["decided_by"] = row ? Json(outcome_code(e.choice.outcome)) : Json();
  const Choice &c = e.choice;
  (*doc)["chosen_over"] = c.outcome == kUndecided && c.other
                              ? Json{{"apn", c.other->apn}, {"operator", c.other->name},
                                     {"by", c.weak}}
                              : Json();
}

// The databases' mistakes that reach the row, as lint names them.
static Json row_findings(const std::vector<Source> &sources, const KeyExplanation &e,
                         const std::vector<LintFinding> &mistakes) {
  std::vector<LintFinding> on_row;
  for (const LintFinding &f : mistakes)
    if (e.choice.row && lint_reaches(f, e.key, e.choice.row->apn))
      on_row.push_back(f);
  return lint_findings_json(sources, on_row);
}

Json explanation_json(const std::vector<Source> &sources, const KeyExplanation &e,
                      const std::vector<LintFinding> &mistakes) {
  Json doc = Json::object();
  doc["key"] = network_name(e.key);
  if (e.key != e.network)
    doc["network"] = network_name(e.network);
  add_row(e, &doc);
  doc["carrier_list"] = carriers_json(e);
  Json candidates = Json::array();
  for (size_t i = 0; i < e.operators.size(); i++)
    candidates.push_back(operator_json(sources, e.operators[i], i == 0, e.key));
  doc["candidates"] = candidates;
  doc["left_out"] = left_out_json(sources, e);
  doc["findings"] = row_findings(sources, e, mistakes);
  return doc;
}
