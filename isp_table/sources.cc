#include "sources.h"

#include <ctype.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <pugixml.hpp>

#include "digits.h"
#include "identity.h"
#include "input.h"
#include "names.h"
#include "operator_table.h"
#include "pieces.h"
#include "reasons.h"
#include "sid_table.h"

static std::string trimmed(const char *text) {
  const char *end = text + strlen(text);
  while (*text && isspace((unsigned char)*text))
    text++;
  while (end > text && isspace((unsigned char)end[-1]))
    end--;
  return std::string(text, end);
}

// The line of each byte of the file being read, for messages that name
// where an entry stands.
class Lines {
 public:
  explicit Lines(const std::string &bytes) {
    for (size_t at = 0; at < bytes.size(); at++)
      if (bytes[at] == '\n')
        newlines_.push_back(at);
  }
  size_t of(pugi::xml_node node) const {
    ptrdiff_t at = node.offset_debug();
    return 1 + (std::lower_bound(newlines_.begin(), newlines_.end(), (size_t)std::max<ptrdiff_t>(at, 0)) -
                newlines_.begin());
  }

 private:
  std::vector<size_t> newlines_;
};

static bool test_network(const std::string &mcc) { return mcc == "001" || mcc == "999"; }

// A network's name is the first in byte order of those its entries give,
// whatever order they come in.
static void name_network(Source *s, const NetworkId &id, const std::string &name) {
  auto known = s->networks.emplace(id, name);
  if (name < known.first->second)
    known.first->second = name;
}

// A network id the lookup can use: three MCC digits, two or three MNC digits.
static bool take_network_id(Source *s, const std::string &mcc, const std::string &mnc,
                            const std::string &name) {
  if (!all_digits(mcc, 3, 3) || !all_digits(mnc, 2, 3)) {
    s->bad_network_ids++;
    return false;
  }
  if (test_network(mcc)) {
    s->left_out[kLeftOut[kTestNetworkOut].words]++;
    return false;
  }
  name_network(s, NetworkId{mcc, mnc}, name);
  return true;
}

// ---- The provider database: <serviceproviders><country><provider> ----

// A use names the internet when one of its dash-separated words is
// "internet": "internet", and "mms-internet-hipri" and
// "mms-internet-hipri-fota", which carry MMS and the high-priority bearer too.
static bool names_internet(const char *type) {
  std::string words = "-" + trimmed(type) + "-";
  return words.find("-internet-") != std::string::npos;
}

// "internet" or "mms-internet-hipri,mms": each use as the entry states it.
static std::string usages(pugi::xml_node apn) {
  std::string all;
  for (pugi::xml_node usage : apn.children("usage"))
    all += (all.empty() ? "" : ",") + trimmed(usage.attribute("type").value());
  return all;
}

static bool internet_apn(pugi::xml_node apn) {
  for (pugi::xml_node usage : apn.children("usage"))
    if (names_internet(usage.attribute("type").value()))
      return true;
  return !apn.child("usage");  // an APN without a stated use serves the internet
}

static std::string country_code(pugi::xml_node country) {
  std::string code = trimmed(country.attribute("code").value());
  for (char &c : code)
    c = (char)toupper((unsigned char)c);
  return code;
}

static Listing provider_listing(size_t lister, pugi::xml_node country, pugi::xml_node provider) {
  Listing l;
  l.lister = lister;
  l.name = trimmed(provider.child_value("name"));
  l.region = country_code(country);
  std::string primary = trimmed(provider.attribute("primary").value());
  l.primary = primary == "true" ? 1 : primary == "false" ? -1 : 0;
  return l;
}

static void add_gsm(Source *s, const Lines &lines, const Listing &base, pugi::xml_node gsm) {
  std::vector<NetworkId> ids;
  for (pugi::xml_node id : gsm.children("network-id")) {
    std::string mcc = id.attribute("mcc").value(), mnc = id.attribute("mnc").value();
    if (take_network_id(s, mcc, mnc, base.name)) {
      ids.push_back({mcc, mnc});
      s->mcc_countries[mcc][base.region]++;
    }
  }
  size_t position = 0;
  for (pugi::xml_node apn : gsm.children("apn")) {
    Listing l = base;
    l.line = lines.of(apn);
    l.usage = usages(apn);
    l.written_apn = apn.attribute("value").value();
    l.apn = trimmed(l.written_apn.c_str());
    l.networks = ids;
    if (!internet_apn(apn)) {
      s->service_apns[base.lister].insert(folded_apn(l.apn));
      s->service_listings.push_back(l);
      continue;
    }
    l.position = position++;
    l.technology = kTechnologyNames[kHsdpa];
    l.number = "*99#";
    l.user = trimmed(apn.child_value("username"));
    l.password = trimmed(apn.child_value("password"));
    // The lookup cannot read GID1: the merge decides where such a listing may serve.
    l.gid1 = !gsm.child("gid1").empty();
    s->listings.push_back(l);
  }
  if (!position)
    s->left_out[kLeftOut[kNoInternetApnOut].words]++;
}

// CDMA providers serve the SIDs that isp_pick's SID table maps to an identity.
static void add_cdma(Source *s, const Lines &lines, const Listing &base, pugi::xml_node cdma) {
  Listing l = base;
  l.line = lines.of(cdma);
  l.technology = kTechnologyNames[kCdma2000];
  l.number = "#777";
  l.user = trimmed(cdma.child_value("username"));
  l.password = trimmed(cdma.child_value("password"));
  for (pugi::xml_node sid : cdma.children("sid")) {
    const char *value = sid.attribute("value").value();
    const SidRange *range = all_digits(value, 1, 9) ? sid_range(atoi(value)) : nullptr;
    if (!range) {
      s->sids_outside_table++;
      continue;
    }
    NetworkId id{range->mcc, range->mnc};
    if (std::find(l.networks.begin(), l.networks.end(), id) == l.networks.end())
      l.networks.push_back(id);
    name_network(s, id, l.name);
  }
  s->listings.push_back(l);
}

static void load_providers(pugi::xml_node root, const Lines &lines, size_t *next_lister,
                           Source *s) {
  for (pugi::xml_node country : root.children("country")) {
    for (pugi::xml_node provider : country.children("provider")) {
      s->listers++;
      Listing base = provider_listing((*next_lister)++, country, provider);
      if (pugi::xml_node gsm = provider.child("gsm"))
        add_gsm(s, lines, base, gsm);
      if (pugi::xml_node cdma = provider.child("cdma"))
        add_cdma(s, lines, base, cdma);
    }
  }
}

// ---- Android's APN database: <apns><apn .../> ----

// `type` is a comma list; "default" or "*" marks the internet APN, and an
// absent or empty type counts as "default".
static bool android_internet(pugi::xml_node apn) {
  std::string types = apn.attribute("type").value();
  if (trimmed(types.c_str()).empty())
    return true;
  for (size_t start = 0; start <= types.size();) {
    size_t comma = types.find(',', start);
    if (comma == std::string::npos)
      comma = types.size();
    std::string type = trimmed(types.substr(start, comma - start).c_str());
    if (type == "default" || type == "*")
      return true;
    start = comma + 1;
  }
  return false;
}

// Why an entry of a real network gives no row; empty when it gives one.
static const char *android_left_out(pugi::xml_node apn) {
  if (strcmp(apn.attribute("carrier_enabled").value(), "false") == 0)
    return kLeftOut[kDisabledOut].words;
  if (!android_internet(apn))
    return kLeftOut[kNotInternetOut].words;
  return nullptr;
}

static void load_android(pugi::xml_node root, const Lines &lines, size_t *next_lister,
                         Source *s) {
  std::map<std::pair<std::string, std::string>, size_t> carriers;  // (MCC, name) -> lister
  for (pugi::xml_node apn : root.children("apn")) {
    std::string mcc = trimmed(apn.attribute("mcc").value());
    std::string mnc = trimmed(apn.attribute("mnc").value());
    std::string name = trimmed(apn.attribute("carrier").value());
    if (!take_network_id(s, mcc, mnc, name))
      continue;
    auto carrier = carriers.emplace(std::make_pair(mcc, name), *next_lister);
    if (carrier.second) {
      (*next_lister)++;
      s->listers++;
    }
    Listing l;
    l.line = lines.of(apn);
    l.lister = carrier.first->second;
    l.usage = apn.attribute("type").value();
    l.written_apn = apn.attribute("apn").value();
    l.apn = trimmed(l.written_apn.c_str());
    l.name = name;
    l.networks = {{mcc, mnc}};
    l.android = true;
    if (const char *why = android_left_out(apn)) {
      s->left_out[why]++;
      if (!android_internet(apn)) {
        s->service_apns[carrier.first->second].insert(folded_apn(l.apn));
        s->service_listings.push_back(l);
      }
      continue;
    }
    // A reseller on its host's MCC and MNC, told apart by what the lookup
    // cannot read; the merge decides where it may serve.
    l.mvno = *apn.attribute("mvno_type").value() != '\0';
    l.proxy = !trimmed(apn.attribute("proxy").value()).empty();
    l.technology = kTechnologyNames[kHsdpa];
    l.number = "*99#";
    l.user = trimmed(apn.attribute("user").value());
    l.password = trimmed(apn.attribute("password").value());
    s->listings.push_back(l);
  }
}

// ---- Android's format, generated from the provider database ----

// "Automatically generated from serviceproviders.xml", in any case and
// spacing.
static bool says_generated(const char *comment) {
  std::string words;
  for (const char *c = comment; *c; c++)
    if (!isspace((unsigned char)*c))
      words += (char)tolower((unsigned char)*c);
    else if (!words.empty() && words.back() != ' ')
      words += ' ';
  return words.find("generated from serviceproviders.xml") != std::string::npos;
}

// Debian's mobile-broadband-provider-info installs beside the provider
// database an apns-conf.xml that it generates from it, saying so in a
// comment before the root element: the same providers again, only the
// first network id of each, every APN (MMS ones too) typed "default". It
// is no second, independent database.
static bool generated_from_providers(const pugi::xml_document &doc) {
  for (pugi::xml_node node = doc.first_child(); node && node.type() != pugi::node_element;
       node = node.next_sibling())
    if (node.type() == pugi::node_comment && says_generated(node.value()))
      return true;
  return false;
}

// ---- Android's carrier identity database: carrier_id { ... } ----

// Each MCC-MNC tuple of five or six digits is a network; the carrier list
// lists no APN, so its carriers give no listing.
static void load_carriers(Source *s) {
  s->listers = s->carriers.carriers.size();
  for (const Carrier &carrier : s->carriers.carriers)
    for (const CarrierAttribute &attribute : carrier.attributes)
      for (const std::string &tuple : attribute.mccmnc_tuple)
        if (!all_digits(tuple, 5, 6))
          s->bad_network_ids++;
        else
          take_network_id(s, tuple.substr(0, 3), tuple.substr(3), carrier.carrier_name);
}

// ---- What a file of none of the kinds holds ----

static const char kNeither[] =
    "not a provider database (serviceproviders.xml), an Android APN database (apns-conf.xml) "
    "or a carrier identity database (carrier_list.textpb): ";

// An XML document begins with "<", after a byte-order mark, white space
// and, in UTF-16, NUL bytes.
static bool begins_as_xml(const std::string &bytes) {
  std::string before(" \t\r\n\xef\xbb\xbf\xfe\xff");
  before += '\0';
  size_t first = bytes.find_first_not_of(before);
  return first != std::string::npos && bytes[first] == '<';
}

// An operator table's header or row: ten or more comma-separated fields.
static bool table_line(const std::string &line) {
  return std::count(line.begin(), line.end(), ',') >= kColumns - 1;
}

// What a file that is no XML at all holds: its first line, shown escaped
// and cut, and whether it looks like an operator table given in the
// place of a database ("isp_table my_table.csv").
static std::string not_xml(const std::string &bytes) {
  if (bytes.find_first_not_of(" \t\r\n") == std::string::npos)
    return std::string(kNeither) + "the file holds no text";
  std::string line = bytes.substr(0, bytes.find_first_of("\r\n"));
  const size_t kShown = 72;
  std::string text = shown(line.substr(0, kShown)) + (line.size() > kShown ? "..." : "");
  if (table_line(line))
    return std::string(kNeither) + "not XML at all; its first line, " + text +
           ", looks like an operator table: tables are read by check, explain, diff and extend";
  return std::string(kNeither) + "not XML at all; its first line is " + text;
}

// A parser's error where an editor shows it: "line 12, column 5".
static std::string position(const std::string &bytes, ptrdiff_t offset) {
  std::string before = bytes.substr(0, std::max<ptrdiff_t>(offset, 0));
  size_t newline = before.rfind('\n');
  size_t column = newline == std::string::npos ? before.size() + 1 : before.size() - newline;
  return "line " + std::to_string(1 + std::count(before.begin(), before.end(), '\n')) +
         ", column " + std::to_string(column);
}

bool load_source(const char *path, size_t file, size_t *next_lister, Source *source,
                 std::string *error) {
  std::string bytes;
  return read_regular(path, &bytes, error) &&
         parse_source(path, bytes, file, next_lister, source, error);
}

bool parse_source(const char *path, const std::string &bytes, size_t file, size_t *next_lister,
                  Source *source, std::string *error) {
  if (looks_like_carrier_list(bytes)) {
    if (!read_carrier_list(bytes, &source->carriers, error))
      return false;
    source->path = path;
    source->carrier_list = true;
    load_carriers(source);
    return true;
  }
  // The parser takes text before the root element, a table's lines too.
  if (!begins_as_xml(bytes)) {
    *error = not_xml(bytes);
    return false;
  }
  pugi::xml_document doc;
  pugi::xml_parse_result parsed =
      doc.load_buffer(bytes.data(), bytes.size(), pugi::parse_default | pugi::parse_comments);
  if (!parsed) {
    *error = position(bytes, parsed.offset) + ": " + parsed.description();
    return false;
  }
  source->path = path;
  Lines lines(bytes);
  if (pugi::xml_node root = doc.child("serviceproviders")) {
    load_providers(root, lines, next_lister, source);
  } else if (pugi::xml_node root = doc.child("apns")) {
    source->android = true;
    source->generated = generated_from_providers(doc);
    load_android(root, lines, next_lister, source);
  } else {
    *error = std::string(kNeither) + "XML whose root element is <" +
             doc.document_element().name() + ">, not <serviceproviders> or <apns>";
    return false;
  }
  for (Listing &l : source->listings)
    l.file = file;
  for (Listing &l : source->service_listings)
    l.file = file;
  return true;
}

// An MCC can stand in several countries of the provider database (310 in
// the US and Guam): the country with the most of its networks wins.
static std::map<std::string, std::string> mcc_country(const std::vector<Source> &sources) {
  std::map<std::string, std::map<std::string, size_t>> counts;
  for (const Source &s : sources)
    for (const auto &mc : s.mcc_countries)
      for (const auto &c : mc.second)
        counts[mc.first][c.first] += c.second;
  std::map<std::string, std::string> country;
  for (const auto &mc : counts) {
    auto best = mc.second.begin();
    for (auto it = mc.second.begin(); it != mc.second.end(); ++it)
      if (it->second > best->second)
        best = it;
    country[mc.first] = best->first;
  }
  return country;
}

void fill_android_regions(std::vector<Source> *sources) {
  std::map<std::string, std::string> country = mcc_country(*sources);
  for (Source &s : *sources) {
    if (!s.android)
      continue;
    for (Listing &l : s.listings) {
      auto it = country.find(l.networks[0].first);
      l.region = it == country.end() ? "" : it->second;
    }
  }
}

// Beside a provider database, the generated file's entries would count
// its providers twice; beside Android's own, its MMS APNs typed "default"
// and its extra listers would win rows; either way it would pass for a
// second, independent database. Alone, or beside a carrier list, which
// lists no APN, it is the only data at hand: read, as Android's kind.
void set_aside_generated(std::vector<Source> *sources, FILE *warnings) {
  bool others = std::any_of(sources->begin(), sources->end(),
                            [](const Source &s) { return !s.generated && !s.carrier_list; });
  for (Source &s : *sources) {
    if (!s.generated)
      continue;
    if (warnings)
      fprintf(warnings,
              "isp_table: warning: %s was generated from the provider database "
              "(serviceproviders.xml), not Android's: %s\n",
              s.path.c_str(),
              others ? "another database is among the inputs, so its entries are left out"
                     : "read, as no other database is given");
    if (!others)
      continue;
    Source aside;
    aside.path = s.path;
    aside.android = aside.generated = aside.set_aside = true;
    aside.listers = s.listers;
    s = aside;
  }
}

// "-" is standard input to the verbs that read a table; a database is
// read from a regular file only, and "-" was never meant as a file's name.
static bool from_standard_input(const std::string &path) {
  if (path != "-")
    return false;
  fputs("isp_table: -: a database is read from a file, not from standard input: give its path\n",
        stderr);
  return true;
}

// Each file is read and parsed before the next is read, so that the
// first file that cannot be used is the one named.
bool load_public_data(const std::vector<std::string> &paths, std::vector<Source> *sources,
                      std::vector<std::string> *bytes, FILE *warnings) {
  std::vector<std::string> own;
  bool given = bytes && bytes->size() == paths.size();
  if (!bytes)
    bytes = &own;
  bytes->resize(paths.size());
  sources->assign(paths.size(), Source());
  size_t next_lister = 0;
  for (size_t i = 0; i < paths.size(); i++) {
    if (from_standard_input(paths[i]))
      return false;
    const char *path = paths[i].c_str();
    std::string error;
    if ((given || read_regular(path, &(*bytes)[i], &error)) &&
        parse_source(path, (*bytes)[i], i, &next_lister, &(*sources)[i], &error))
      continue;
    fprintf(stderr, "isp_table: cannot read %s: %s\n", path, error.c_str());
    return false;
  }
  set_aside_generated(sources, warnings);
  return true;
}
