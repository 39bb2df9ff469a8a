#include "names.h"

#include <ctype.h>
#include <string.h>

#include <algorithm>
#include <set>

// Words any operator uses for a service or a plan: they name no one.
static bool service_word(const std::string &word) {
  static const std::set<std::string> words = {
      "internet", "web",  "wap",     "mms",     "data",     "mobile", "mobil",   "gprs",
      "apn",      "net",  "com",     "www",     "lte",      "3g",     "4g",      "5g",
      "isp",      "plan", "prepaid", "postpaid", "contract", "pre",    "post",    "payg",
      "broadband", "modem", "phone", "ims", "movil", "m\xc3\xb3vil",     "default",  "hipri",  "the",     "and"};
  return words.count(word) != 0;
}

// "AT&T", "Kay-b", "m:tel": one word each.
static bool joiner(unsigned char c) { return c == '&' || c == '\'' || c == '-' || c == ':'; }

static bool word_byte(unsigned char c) { return c >= 128 || isalnum(c); }

static std::vector<std::string> words_of(const std::string &text, bool (*joins)(unsigned char)) {
  std::vector<std::string> words;
  std::string word;
  for (unsigned char c : text + " ") {
    if (word_byte(c)) {
      word += (char)tolower(c);
    } else if (!joins(c)) {
      if (!word.empty())
        words.push_back(word);
      word.clear();
    }
  }
  return words;
}

static bool letters_only(const std::string &word) {
  for (char c : word)
    if (!isalpha((unsigned char)c))
      return false;
  return true;
}

static bool one_letter(const std::string &word) {
  return word.size() == 1 && isalpha((unsigned char)word[0]);
}

// A short word after the first is a country code ("T-Mobile US", "TIM IT",
// "O2 SK"), shared by every operator of the country; first, it is a name
// ("KT", "3"). A word followed by one letter also stands joined to it:
// "CELL C" is the "Cell-c" of the other database, while "T-Mobile A" is
// T-Mobile in Austria, so neither reading may be the only one.
// "3Internet", "PlusWAP": a name run together with the service it labels.
static std::string without_service(const std::string &word) {
  for (const char *service : {"internet", "gprs", "wap", "mms"}) {
    size_t n = strlen(service);
    if (word.size() > n && word.compare(word.size() - n, n, service) == 0)
      return word.substr(0, word.size() - n);
  }
  return word;
}

// "gsm1800new" of "GSM1800New World": a band the carrier runs before its name.
static std::string without_band(const std::string &word) {
  size_t digits = word.find_first_not_of("0123456789", 3);
  if (word.compare(0, 3, "gsm") != 0 || digits == 3 || digits == std::string::npos)
    return word;
  return word.substr(digits);
}

std::vector<std::string> name_words(const std::string &name) {
  std::vector<std::string> all = words_of(name, joiner), words;
  if (!all.empty())
    all[0] = without_band(without_service(all[0]));
  for (size_t i = 0; i < all.size(); i++) {
    if (!service_word(all[i]) && (i == 0 || all[i].size() > 2 || !letters_only(all[i])))
      words.push_back(all[i]);
    if (i + 1 < all.size() && one_letter(all[i + 1]) && !one_letter(all[i]))
      words.push_back(all[i] + all[i + 1]);
  }
  return words;
}

std::string operator_word(const std::string &name) {
  std::vector<std::string> words = name_words(name);
  return words.empty() ? "" : words[0];
}

// A leading word that is a single letter ("V!") or written in another
// script ("中国移动") is a mark people cannot match: such a name says in
// brackets who it is ("V! (Vodafone Idea)", "中国移动 (China Mobile)").
static std::string bracketed_word(const std::string &name, const std::string &first) {
  bool other_script = (unsigned char)first[0] >= 128;
  if (first.size() != 1 && !other_script)
    return "";
  size_t open = name.find('(');
  if (open != std::string::npos) {
    std::vector<std::string> inside = name_words(name.substr(open + 1));
    return inside.empty() ? "" : inside[0];
  }
  // "中國移動香港 China Mobile HK": the name in Latin letters follows.
  for (const std::string &w : name_words(name))
    if (other_script && (unsigned char)w[0] < 128)
      return w;
  return "";
}

std::vector<std::string> operator_words(const std::string &name) {
  std::vector<std::string> words = name_words(name);
  if (words.size() > 1 && words[1].size() == words[0].size() + 1 &&
      words[1].compare(0, words[0].size(), words[0]) == 0)
    words.resize(2);
  else
    words.resize(std::min<size_t>(words.size(), 1));
  std::string known_as = words.empty() ? "" : bracketed_word(name, words[0]);
  if (!known_as.empty() && known_as != words[0])
    words.push_back(known_as);
  return words;
}

static bool never_joins(unsigned char) { return false; }

std::vector<std::string> apn_words(const std::string &apn) {
  std::vector<std::string> words;
  for (const std::string &w : words_of(apn, never_joins))
    if (w.size() > 2 && !service_word(w))
      words.push_back(w);
  return words;
}

// "wap" or "mms" as a word of the name ("Orange WAP", "Glocalnet WAP GPRS")
// or at either end of a label of the APN ("paygwap", "wap.omnitel.it").
bool labelled_wap_or_mms(const std::string &name, const std::string &apn) {
  for (const std::string &w : words_of(name, joiner))
    if (w == "wap" || w == "mms")
      return true;
  for (const std::string &w : words_of(apn, never_joins))
    for (const char *service : {"wap", "mms"})
      if (w.size() >= 3 && (w.compare(0, 3, service) == 0 || w.compare(w.size() - 3, 3, service) == 0))
        return true;
  return false;
}

// A label without the service it names at either end: "rcom" of "rcomnet"
// and "rcomwap", "3g" of "3gnet" and "3gwap", "ct" of "ctnet" and "ctlte".
static std::string stem_of(std::string label) {
  static const char *const affixes[] = {"internet", "gprs", "data", "wap", "web", "net", "mms", "lte"};
  for (bool again = true; again;) {
    again = false;
    for (const char *a : affixes) {
      std::string affix = a;
      if (label.size() <= affix.size())
        continue;
      if (label.compare(0, affix.size(), affix) == 0)
        label.erase(0, affix.size());
      else if (label.compare(label.size() - affix.size(), affix.size(), affix) == 0)
        label.erase(label.size() - affix.size());
      else
        continue;
      again = true;
    }
  }
  return label;
}

std::vector<std::string> apn_stems(const std::string &apn) {
  std::vector<std::string> labels = words_of(apn, joiner), stems;
  if (labels.size() > 1)
    labels.pop_back();  // the top-level domain
  for (size_t i = 0; i < labels.size(); i++) {
    if (service_word(labels[i]))
      continue;
    std::string stem = stem_of(labels[i]);
    // A short first label names the operator only when it is the whole
    // APN ("3g" of "3gnet", "ct" of "ctnet"); before other labels it is a
    // service's ("sp" of "sp.telus.com" and of Public Mobile's "sp.mb.com").
    if (stem.size() > 2 || (i == 0 && labels.size() == 1))
      stems.push_back(stem);
  }
  return stems;
}

// Words of the services an operator runs beside its data APN: a router
// given one of them gets MMS, voice or a roaming gateway, not the internet.
static bool service_label(const std::string &word) {
  static const char *const whole[] = {"roaming", "roam", "portal", "m2m",     "iot", "nbiot",
                                      "tether",  "ota",  "fota",   "hourly", "daily", "daypass",
                                      "supl",    "xcap", "emergency", "sos"};
  for (const char *w : whole)
    if (word == w)
      return true;
  for (const char *service : {"wap", "mms", "ims"})
    if (word.size() >= 3 &&
        (word.compare(0, 3, service) == 0 || word.compare(word.size() - 3, 3, service) == 0))
      return true;
  return false;
}

bool service_apn(const std::string &name, const std::string &apn, const std::string &usage) {
  for (const std::string &w : words_of(apn, never_joins))
    if (service_label(w))
      return true;
  static const std::set<std::string> named = {"wap",  "mms", "ims",    "roaming",  "portal",
                                              "m2m", "iot", "tether", "tethering"};
  for (const std::string &w : words_of(name, joiner))
    if (named.count(w))
      return true;
  // An entry typed for IMS or tethering alone besides the internet is no data APN of a phone.
  for (const std::string &w : words_of(usage, never_joins))
    if (w == "ims")
      return true;
  return false;
}

// The router sends the APN as it stands, but the network resolves an APN
// as a DNS name, and DNS compares names without regard to ASCII case (RFC
// 4343): "Internet" reaches the same gateway as "internet". The databases
// and hand-kept tables differ in case often enough that a warning on case
// alone would bury the rows that name another operator's APN.
std::string folded_apn(const std::string &apn) {
  std::string f = apn;
  for (char &c : f)
    c = (char)tolower((unsigned char)c);
  return f;
}

// A letter or digit changed is as often a second APN of its own ("web1"
// and "web2", "bam" and "bap"); two letters swapped almost never is.
bool swapped_letters(const std::string &a, const std::string &b) {
  if (a.size() != b.size() || a.size() < 4)
    return false;
  std::vector<size_t> differ;
  for (size_t i = 0; i < a.size(); i++)
    if (a[i] != b[i])
      differ.push_back(i);
  return differ.size() == 2 && differ[1] == differ[0] + 1 && a[differ[0]] == b[differ[1]] &&
         a[differ[1]] == b[differ[0]] && isalpha((unsigned char)a[differ[0]]) &&
         isalpha((unsigned char)a[differ[1]]);
}
