#include "table_writer.h"

#include <algorithm>
#include <map>
#include <string>
#include <utility>

// The widths of isp_pick's profile record, and its one read of a row.
constexpr size_t kNameMax = 63, kApnMax = 63, kNumberMax = 15, kLoginMax = 69, kIndexMax = 7;
constexpr size_t kLineMax = 249;

static const char kHeader[] = "Index,MCC,MNC,ISP,Region,System,APN,Number,User,Password\r\n";

static std::string placeholder(const std::string &value) { return value.empty() ? "NA" : value; }

static bool plain(const std::string &value) { return value.find_first_of(",\r\n") == std::string::npos; }

static bool blanked(const std::string &value) {
  return value.find("NA") != std::string::npos || value.find("blank") != std::string::npos;
}

// Why `p` cannot be a row that isp_pick reads back unchanged; empty if it can.
static std::string unrepresentable(const Profile &p) {
  if (!p.left_out.empty())
    return p.left_out;
  for (const std::string *v : {&p.name, &p.country, &p.apn, &p.user, &p.password})
    if (!plain(*v))
      return "comma or line end in a value";
  // isp_pick would blank these, so the row would carry the wrong login.
  if (blanked(p.apn) || blanked(p.user) || blanked(p.password))
    return "APN, user name or password holds NA or blank";
  if (p.name.size() > kNameMax || p.country.size() > kNameMax || p.apn.size() > kApnMax ||
      p.number.size() > kNumberMax || p.user.size() > kLoginMax || p.password.size() > kLoginMax)
    return "value too long for its field";
  return "";
}

static std::string row_text(const Profile &p, const Network &n) {
  return n.mcc + "," + n.mnc + "," + placeholder(p.name) + "," + placeholder(p.country) + "," +
         p.technology + "," + placeholder(p.apn) + "," + p.number + "," + placeholder(p.user) +
         "," + placeholder(p.password) + "\r\n";
}

static bool serves(const std::string &apn, const Network &n) {
  return std::find(n.apns.begin(), n.apns.end(), apn) != n.apns.end();
}

struct Summary {
  size_t rows = 0, networks = 0, served = 0, without_row = 0;
  std::map<std::string, size_t> left_out;
  std::vector<std::string> unservable;
};

// One lookup key: its distinct rows, the one whose APN serves the most of the
// key's networks first (ties: database order).
static void write_key(const ProviderDb &db, const std::vector<size_t> &group, FILE *table,
                      Summary *sum) {
  std::vector<std::pair<std::string, const Profile *>> rows;  // row text, profile
  std::vector<std::string> seen;
  for (size_t i : group) {
    const Network &n = db.networks[i];
    const Profile &p = db.profiles[n.profile];
    std::string text = row_text(p, n);
    if (std::find(seen.begin(), seen.end(), text) != seen.end())
      continue;
    seen.push_back(text);
    std::string why = unrepresentable(p);
    if (why.empty() && kIndexMax + 1 + text.size() > kLineMax)
      why = "line longer than one read";
    if (why.empty())
      rows.push_back({text, &p});
    else
      sum->left_out[why]++;
  }
  auto count = [&](const Profile *p) {
    return std::count_if(group.begin(), group.end(),
                         [&](size_t i) { return serves(p->apn, db.networks[i]); });
  };
  std::stable_sort(rows.begin(), rows.end(),
                   [&](auto &a, auto &b) { return count(a.second) > count(b.second); });
  for (auto &r : rows)
    fprintf(table, "%zu,%s", ++sum->rows, r.first.c_str());
  sum->networks += group.size();
  if (rows.empty()) {
    sum->without_row += group.size();
    return;
  }
  for (size_t i : group) {
    if (serves(rows[0].second->apn, db.networks[i]))
      sum->served++;
    else
      sum->unservable.push_back(db.networks[i].label);
  }
}

static void write_summary(const ProviderDb &db, const Summary &s, FILE *out) {
  fprintf(out, "providers: %zu\nnetworks: %zu (GSM network ids and CDMA SIDs of the SID table)\n",
          db.providers, s.networks);
  fprintf(out, "rows: %zu\n", s.rows);
  size_t left = 0;
  for (auto &r : s.left_out)
    left += r.second;
  fprintf(out, "rows left out: %zu\n", left);
  for (auto &r : s.left_out)
    fprintf(out, "  %s: %zu\n", r.first.c_str(), r.second);
  fprintf(out, "networks served by the lookup rule: %zu\n", s.served);
  fprintf(out, "networks without a row: %zu\n", s.without_row);
  fprintf(out, "networks no table can serve under the lookup rule: %zu\n", s.unservable.size());
  for (const std::string &label : s.unservable)
    fprintf(out, "  %s\n", label.c_str());
  fprintf(out, "CDMA SIDs outside the SID table: %zu\n", db.sids_outside_table);
  fprintf(out, "network ids that are not MCC and MNC digits: %zu\n", db.bad_network_ids);
}

void write_operator_table(const ProviderDb &db, FILE *table, FILE *summary) {
  std::map<std::pair<std::string, std::string>, std::vector<size_t>> keys;
  for (size_t i = 0; i < db.networks.size(); i++)
    keys[{db.networks[i].mcc, db.networks[i].mnc}].push_back(i);
  fputs(kHeader, table);
  Summary sum;
  for (auto &key : keys)
    write_key(db, key.second, table, &sum);
  write_summary(db, sum, summary);
}
