// The generated table does not depend on the order of its inputs: the same
// databases, their files given the other way round and their entries
// shuffled, give the same table bytes. The one order that may count is a
// provider's own order of the <apn> elements in its <gsm>, its own ranking
// of its APNs; every other order (countries, providers, network ids,
// Android's entries, carriers, their attributes and tuples) is the file
// writer's accident. Shuffles are seeded, so every run makes the same
// copies.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <pugixml.hpp>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string slurp(const std::string &path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

void spill(const std::string &path, const std::string &text) {
  std::ofstream(path, std::ios::binary) << text;
}

/// A seeded order: seed 0 reverses every run of entries, so that each tie
/// between two of them is turned round; any other seed reverses, then
/// shuffles with its own std::mt19937.
class Order {
 public:
  explicit Order(unsigned seed) : seed_(seed), rng_(seed) {}
  template <typename T>
  void arrange(std::vector<T> *items) {
    std::reverse(items->begin(), items->end());
    if (seed_)
      std::shuffle(items->begin(), items->end(), rng_);
  }

 private:
  unsigned seed_;
  std::mt19937 rng_;
};

// ---- XML: the provider database and Android's ----

/// Rearranges the children of `parent` named `name` among the places they
/// held, so that its other children (a <gsm>'s <apn>s) keep theirs.
void rearrange(pugi::xml_node parent, const char *name, Order *order) {
  std::vector<pugi::xml_node> nodes, places;
  for (pugi::xml_node node : parent.children(name)) {
    nodes.push_back(node);
    places.push_back(parent.insert_child_before(pugi::node_pcdata, node));
  }
  order->arrange(&nodes);
  for (size_t i = 0; i < nodes.size(); i++) {
    parent.insert_move_after(nodes[i], places[i]);
    parent.remove_child(places[i]);
  }
}

/// `bytes`, a provider database or Android's, with its entries rearranged
/// and written without indentation; comments (Debian's "generated from"
/// mark) and the declaration stay.
std::string shuffled_xml(const std::string &bytes, Order *order) {
  pugi::xml_document doc;
  if (!doc.load_buffer(bytes.data(), bytes.size(), pugi::parse_full))
    return "";
  pugi::xml_node root = doc.document_element();
  rearrange(root, "apn", order);
  rearrange(root, "country", order);
  for (pugi::xml_node country : root.children("country")) {
    rearrange(country, "provider", order);
    for (pugi::xml_node provider : country.children("provider")) {
      rearrange(provider.child("gsm"), "network-id", order);
      rearrange(provider.child("cdma"), "sid", order);
    }
  }
  std::ostringstream out;
  doc.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
  return out.str();
}

// ---- The carrier list: a text protocol buffer ----

/// One entry of a message: a field ("version: 1") or a block
/// ("carrier_attribute { ... }"), its line end included; `name` is empty
/// for white space or a comment.
struct Item {
  std::string name, text;
};

std::string name_of(const std::string &text) {
  size_t start = text.find_first_not_of(" \t\r\n");
  if (start == std::string::npos)
    return "";
  size_t end = start;
  while (end < text.size() && (isalnum((unsigned char)text[end]) || text[end] == '_'))
    end++;
  return text.substr(start, end - start);
}

/// Cuts a message into its entries: each ends with the first line end
/// outside a block, string or comment after it begins. The blank lines
/// before the first entry (a block's line end after "{") stay in front.
std::vector<Item> items_of(const std::string &text) {
  std::vector<Item> items;
  size_t first = text.find_first_not_of(" \t\r\n");
  size_t start = first == std::string::npos ? 0 : text.rfind('\n', first) + 1;
  if (start > 0)
    items.push_back({"", text.substr(0, start)});
  int depth = 0;
  char quote = 0;
  bool comment = false;
  for (size_t i = start; i < text.size(); i++) {
    char c = text[i];
    if (quote) {
      i += c == '\\';
      quote = c == quote ? 0 : quote;
      continue;
    }
    if (comment && c != '\n')
      continue;
    comment = c == '#';
    quote = c == '"' || c == '\'' ? c : 0;
    depth += (c == '{') - (c == '}');
    if (c == '\n' && depth == 0) {
      std::string entry = text.substr(start, i + 1 - start);
      items.push_back({name_of(entry), entry});
      start = i + 1;
    }
  }
  if (start < text.size())
    items.push_back({name_of(text.substr(start)), text.substr(start)});
  return items;
}

using Rewrite = std::function<std::string(const std::string &)>;

/// `text` with its entries named `name` rearranged among the places they
/// held, and, when `inner` is given, each such block's body (between its
/// first "{" and its last "}"; a block's head holds no string) rewritten.
std::string rearranged(const std::string &text, const std::string &name, Order *order,
                       const Rewrite &inner = nullptr) {
  std::vector<Item> items = items_of(text);
  std::vector<size_t> places;
  std::vector<std::string> moved;
  for (size_t i = 0; i < items.size(); i++) {
    if (items[i].name != name)
      continue;
    std::string entry = items[i].text;
    size_t open = entry.find('{'), close = entry.rfind('}');
    if (inner && open != std::string::npos && close > open)
      entry = entry.substr(0, open + 1) + inner(entry.substr(open + 1, close - open - 1)) +
              entry.substr(close);
    places.push_back(i);
    moved.push_back(entry);
  }
  order->arrange(&moved);
  for (size_t k = 0; k < places.size(); k++)
    items[places[k]].text = moved[k];
  std::string out;
  for (const Item &item : items)
    out += item.text;
  return out;
}

/// A carrier list with its carriers, each carrier's attributes and each
/// attribute's MCC-MNC tuples rearranged; `version:` stays where it is, last.
std::string shuffled_carriers(const std::string &text, Order *order) {
  return rearranged(text, "carrier_id", order, [order](const std::string &carrier) {
    return rearranged(carrier, "carrier_attribute", order, [order](const std::string &attribute) {
      return rearranged(attribute, "mccmnc_tuple", order);
    });
  });
}

std::string shuffled(const std::string &path, Order *order) {
  std::string bytes = slurp(path);
  bool text = path.size() > 7 && path.compare(path.size() - 7, 7, ".textpb") == 0;
  return text ? shuffled_carriers(bytes, order) : shuffled_xml(bytes, order);
}

// ---- Running the tool and comparing tables ----

struct ToolRun {
  int status = -1;
  std::string out, err;
};

/// The built isp_table on `files`, its output kept in `dir`.
ToolRun run_tool(const std::vector<std::string> &files, const std::string &dir) {
  std::string command = "'" ISP_TABLE "'";
  for (const std::string &f : files)
    command += " '" + f + "'";
  command += " > '" + dir + "/out' 2> '" + dir + "/err'";
  int status = system(command.c_str());
  ToolRun r;
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.out = slurp(dir + "/out");
  r.err = slurp(dir + "/err");
  return r;
}

/// A table's rows by key ("262-01"), the header under "".
std::map<std::string, std::string> rows_of(const std::string &table) {
  std::map<std::string, std::string> rows;
  std::istringstream lines(table);
  std::string line;
  for (bool header = true; std::getline(lines, line); header = false) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    std::vector<std::string> fields;
    std::istringstream cut(line);
    for (std::string field; std::getline(cut, field, ',');)
      fields.push_back(field);
    rows[header || fields.size() < 3 ? "" : fields[1] + "-" + fields[2]] = line;
  }
  return rows;
}

/// The keys whose rows differ between two tables, a row only one holds
/// included, each with both rows ("-" for none).
std::vector<std::string> differing_rows(const std::string &given, const std::string &moved) {
  std::map<std::string, std::string> a = rows_of(given), b = rows_of(moved);
  std::map<std::string, std::pair<std::string, std::string>> both;
  for (const auto &row : a)
    both[row.first] = {row.second, "-"};
  for (const auto &row : b)
    both.emplace(row.first, std::make_pair("-", "")).first->second.second = row.second;
  std::vector<std::string> differ;
  for (const auto &row : both)
    if (row.second.first != row.second.second)
      differ.push_back(row.first + ": given order " + row.second.first + "; shuffled " +
                       row.second.second);
  return differ;
}

// ---- The cases ----

struct Case {
  const char *name;
  const char *folder;
  std::vector<std::string> files;
  std::vector<unsigned> seeds;
};

std::ostream &operator<<(std::ostream &os, const Case &c) { return os << c.name; }

class TableOrder : public testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    std::string pattern = testing::TempDir() + "isp_table_order.XXXXXX";
    ASSERT_TRUE(mkdtemp(&pattern[0])) << pattern;
    dir_ = pattern;
  }
  void TearDown() override {
    if (!dir_.empty())
      std::filesystem::remove_all(dir_);
  }
  std::string dir_;
};

TEST_P(TableOrder, SameBytesWhateverTheOrder) {
  const Case &c = GetParam();
  std::vector<std::string> paths;
  for (const std::string &f : c.files) {
    paths.push_back(std::string(c.folder) + "/" + f);
    if (access(paths.back().c_str(), R_OK) != 0)
      GTEST_SKIP() << paths.back() << " is not there";
  }
  ToolRun given = run_tool(paths, dir_);
  ASSERT_EQ(given.status, 0) << given.err;
  for (unsigned seed : c.seeds) {
    std::string folder = dir_ + "/" + std::to_string(seed);
    std::filesystem::create_directory(folder);
    Order order(seed);
    std::vector<std::string> copies;
    for (size_t i = 0; i < paths.size(); i++) {
      copies.insert(copies.begin(), folder + "/" + c.files[i]);
      spill(copies.front(), shuffled(paths[i], &order));
    }
    ToolRun moved = run_tool(copies, dir_);
    ASSERT_EQ(moved.status, 0) << "seed " << seed << ": " << moved.err;
    if (moved.out == given.out)
      continue;
    std::vector<std::string> differ = differing_rows(given.out, moved.out);
    std::string first;
    for (size_t i = 0; i < differ.size() && i < 5; i++)
      first += "\n  " + differ[i];
    ADD_FAILURE() << "seed " << seed << " (files reversed, entries "
                  << (seed ? "shuffled" : "reversed") << "): " << differ.size() << " of "
                  << rows_of(given.out).size() - 1 << " rows differ" << first;
  }
}

const std::vector<unsigned> kFixtureSeeds = {0, 1, 2, 3};
INSTANTIATE_TEST_SUITE_P(
    Fixtures, TableOrder,
    testing::Values(
        Case{"providers", ISP_TABLE_FIXTURES, {"order_providers.xml"}, kFixtureSeeds},
        Case{"android", ISP_TABLE_FIXTURES, {"order_apns.xml"}, kFixtureSeeds},
        Case{"both", ISP_TABLE_FIXTURES, {"order_providers.xml", "order_apns.xml"}, kFixtureSeeds},
        Case{"carriers",
             ISP_TABLE_FIXTURES,
             {"order_providers.xml", "order_apns.xml", "order_carriers.textpb"},
             kFixtureSeeds}),
    [](const testing::TestParamInfo<Case> &info) { return std::string(info.param.name); });

// The real databases, where they are at hand (a CI clone has no ../shared):
// the orders their writers happened to choose.
const char kProviders[] = "serviceproviders-2026-08.xml", kAndroid[] = "apns-conf-2024-10.xml",
           kCarriers[] = "carrier_list-2024-07.textpb";
INSTANTIATE_TEST_SUITE_P(
    RealDatabases, TableOrder,
    testing::Values(Case{"providers", ISP_TABLE_DATA, {kProviders}, {0, 1}},
                    Case{"android", ISP_TABLE_DATA, {kAndroid}, {0, 1}},
                    Case{"both", ISP_TABLE_DATA, {kProviders, kAndroid}, {0, 1}},
                    Case{"carriers", ISP_TABLE_DATA, {kProviders, kAndroid, kCarriers}, {0, 1}}),
    [](const testing::TestParamInfo<Case> &info) { return std::string(info.param.name); });

// ---- The shuffler and the comparison themselves ----

// Seed 0 only reverses, so what each shuffler makes of it is worked out
// by hand: entries turned round, the places of other children kept.
TEST(Shuffler, ReversesEntriesKeepingEachProvidersApnOrder) {
  const struct { std::string given, want; } xml[] = {
      {"<serviceproviders><country code=\"a\"><provider><name>P</name><gsm>"
       "<network-id mcc=\"262\" mnc=\"01\"/><apn value=\"x\"/>"
       "<network-id mcc=\"262\" mnc=\"02\"/><apn value=\"y\"/></gsm></provider>"
       "<provider><name>Q</name></provider></country><country code=\"b\"/>"
       "</serviceproviders>",
       "<serviceproviders><country code=\"b\"/><country code=\"a\"><provider><name>Q</name>"
       "</provider><provider><name>P</name><gsm>"
       "<network-id mcc=\"262\" mnc=\"02\"/><apn value=\"x\"/>"
       "<network-id mcc=\"262\" mnc=\"01\"/><apn value=\"y\"/></gsm></provider></country>"
       "</serviceproviders>"},
      {"<!-- generated --><apns><apn carrier=\"A\"/><!-- c --><apn carrier=\"B\"/></apns>",
       "<!-- generated --><apns><apn carrier=\"B\"/><!-- c --><apn carrier=\"A\"/></apns>"},
  };
  for (const auto &c : xml) {
    Order order(0);
    EXPECT_EQ(shuffled_xml(c.given, &order), c.want);
  }
  // Braces inside strings, an escaped quote, a comment: no block ends there.
  const std::string carriers =
      "carrier_id {\n  canonical_id: 1\n  carrier_name: \"A {\\\"\"  # }\n"
      "  carrier_attribute {\n    mccmnc_tuple: \"26201\"\n    mccmnc_tuple: \"26202\"\n"
      "    spn: \"}\"\n  }\n  carrier_attribute {\n    mccmnc_tuple: \"26203\"\n  }\n}\n"
      "carrier_id {\n  canonical_id: 2\n}\nversion: 7\n";
  const std::string want =
      "carrier_id {\n  canonical_id: 2\n}\n"
      "carrier_id {\n  canonical_id: 1\n  carrier_name: \"A {\\\"\"  # }\n"
      "  carrier_attribute {\n    mccmnc_tuple: \"26203\"\n  }\n"
      "  carrier_attribute {\n    mccmnc_tuple: \"26202\"\n    mccmnc_tuple: \"26201\"\n"
      "    spn: \"}\"\n  }\n}\nversion: 7\n";
  Order order(0);
  EXPECT_EQ(shuffled_carriers(carriers, &order), want);
}

TEST(DifferingRows, CountsChangedRowsAndRowsOnlyOneTableHolds) {
  const std::string header = "Index,MCC,MNC\r\n";
  const std::string a = header + "1,262,01,A\r\n2,262,02,B\r\n3,262,03,C\r\n";
  const struct { std::string moved; size_t want; } cases[] = {
      {a, 0},
      {header + "3,262,03,C\r\n1,262,01,A\r\n2,262,02,B\r\n", 0},  // the same rows
      {header + "1,262,01,A\r\n2,262,02,X\r\n3,262,03,C\r\n", 1},
      {header + "1,262,01,A\r\n3,262,03,C\r\n4,262,04,D\r\n", 2},  // 262-02 gone, 262-04 new
      {"I,M,N\r\n1,262,01,A\r\n2,262,02,B\r\n3,262,03,C\r\n", 1},  // the header
  };
  for (const auto &c : cases)
    EXPECT_EQ(differing_rows(a, c.moved).size(), c.want) << c.moved;
}

}  // namespace
