#include "explain_key.h"

#include "digits.h"
#include "merge.h"
#include "pieces.h"
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

// "apns-conf.xml:2101: "au(LTE NET)" lists it for 440-51": where an entry
// stands and the key's networks it names.
static std::string place(const std::vector<Source> &sources, const Listing &l,
                         const NetworkId &key) {
  std::string networks;
  for (const NetworkId &id : l.networks)
    if (lookup_key(id) == key)
      networks += (networks.empty() ? "" : ", ") + network_name(id);
  return sources[l.file].path + ":" + std::to_string(l.line) + ": " + shown_name(l.name) +
         (l.reseller() ? " (marked as a reseller)" : "") + " lists it for " + networks;
}

static void write_carriers(const Merge &merge, const NetworkId &key, FILE *out) {
  for (const auto &op : merge.carriers())
    if (lookup_key(op.first) == key)
      fprintf(out, "the carrier identity database: %s is %s's (%s:%d)\n",
              network_name(op.first).c_str(), shown_name(op.second.name).c_str(),
              op.second.path.c_str(), op.second.line);
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

static void write_decision(const Merge &merge, const NetworkId &key, FILE *out) {
  Choice c = merge.choice(key);
  fprintf(out, "decided by: %s", outcome_name(c.outcome));
  if (c.outcome == kUndecided)
    fprintf(out, "; chosen over %s (%s) by %s", shown(c.other->apn).c_str(),
            shown_name(c.other->name).c_str(), c.weak);
  fputc('\n', out);
  std::vector<TableRow> rows;
  merge.rows(&rows);
  for (const TableRow &row : rows)
    if (row.key == key)
      fprintf(out, "row: %s", shown(stable_index(key, {}) + "," + row.text).c_str());
  fputc('\n', out);
}

bool explain_key(const std::vector<Source> &sources, const NetworkId &id, FILE *out) {
  NetworkId key = lookup_key(id);
  Merge merge(source_list(sources));
  fprintf(out, "key %s", network_name(key).c_str());
  if (key != id)
    fprintf(out, " (network %s is looked up by it)", network_name(id).c_str());
  fputc('\n', out);
  write_carriers(merge, key, out);
  std::vector<WeighedOperator> ops = merge.weigh(key);
  for (size_t i = 0; i < ops.size(); i++) {
    fprintf(out, "operator %zu%s:\n", i + 1, i == 0 ? ", ranked first" : "");
    write_signs(ops[i], out);
    for (const WeighedApn &apn : ops[i].apns)
      write_apn(sources, apn, key, out);
  }
  for (const LeftOut &l : merge.left_out(key))
    fprintf(out, "left out: APN %s: %s: %s\n", shown(l.listing->apn).c_str(),
            place(sources, *l.listing, key).c_str(), l.why);
  if (ops.empty()) {
    fputs("no candidate: the key has no row\n", out);
    return false;
  }
  write_decision(merge, key, out);
  return true;
}
