#include "provider_db.h"

#include <ctype.h>
#include <stdlib.h>
#include <string.h>

#include <pugixml.hpp>

#include "identity.h"
#include "sid_table.h"

static std::string trimmed(const char *text) {
  const char *end = text + strlen(text);
  while (*text && isspace((unsigned char)*text))
    text++;
  while (end > text && isspace((unsigned char)end[-1]))
    end--;
  return std::string(text, end);
}

static bool digits(const std::string &s, size_t min, size_t max) {
  if (s.size() < min || s.size() > max)
    return false;
  for (char c : s)
    if (!isdigit((unsigned char)c))
      return false;
  return true;
}

static bool internet_apn(pugi::xml_node apn) {
  for (pugi::xml_node usage : apn.children("usage"))
    if (strcmp(usage.attribute("type").value(), "internet") == 0)
      return true;
  return !apn.child("usage");  // an APN without a stated use serves the internet
}

// Every internet APN of a GSM provider, in database order.
static std::vector<pugi::xml_node> internet_apns(pugi::xml_node gsm) {
  std::vector<pugi::xml_node> apns;
  for (pugi::xml_node apn : gsm.children("apn"))
    if (internet_apn(apn))
      apns.push_back(apn);
  return apns;
}

static Profile base_profile(pugi::xml_node country, pugi::xml_node provider) {
  Profile p;
  p.name = trimmed(provider.child_value("name"));
  p.country = trimmed(country.attribute("code").value());
  for (char &c : p.country)
    c = (char)toupper((unsigned char)c);
  return p;
}

static void add_gsm(ProviderDb *db, pugi::xml_node country, pugi::xml_node provider,
                    pugi::xml_node gsm) {
  std::vector<pugi::xml_node> apns = internet_apns(gsm);
  Profile p = base_profile(country, provider);
  p.technology = "HSDPA";
  p.number = "*99#";
  std::vector<std::string> apn_values;
  for (pugi::xml_node apn : apns)
    apn_values.push_back(trimmed(apn.attribute("value").value()));
  if (apns.empty()) {
    p.left_out = "no internet APN";
  } else {
    p.apn = apn_values[0];
    p.user = trimmed(apns[0].child_value("username"));
    p.password = trimmed(apns[0].child_value("password"));
  }
  db->profiles.push_back(p);
  for (pugi::xml_node id : gsm.children("network-id")) {
    std::string mcc = id.attribute("mcc").value(), mnc = id.attribute("mnc").value();
    if (!digits(mcc, 3, 3) || !digits(mnc, 2, 3)) {
      db->bad_network_ids++;
      continue;
    }
    // isp_pick looks a network up by its MNC's first two characters; only
    // MCC 405 first tries all three.
    std::string key = mcc == "405" ? mnc : mnc.substr(0, 2);
    db->networks.push_back({mcc, key, mcc + "-" + mnc + " " + p.name, db->profiles.size() - 1,
                            apn_values});
  }
}

// CDMA providers serve the SIDs that isp_pick's SID table maps to an identity.
static void add_cdma(ProviderDb *db, pugi::xml_node country, pugi::xml_node provider,
                     pugi::xml_node cdma) {
  Profile p = base_profile(country, provider);
  p.technology = "CDMA2000";
  p.number = "#777";
  p.user = trimmed(cdma.child_value("username"));
  p.password = trimmed(cdma.child_value("password"));
  db->profiles.push_back(p);
  for (pugi::xml_node sid : cdma.children("sid")) {
    const char *value = sid.attribute("value").value();
    if (!digits(value, 1, 9) || mapping(atoi(value)) != 1) {
      db->sids_outside_table++;
      continue;
    }
    db->networks.push_back({mcc, mnc, std::string("SID ") + value + " " + p.name,
                            db->profiles.size() - 1, {""}});
  }
}

bool load_provider_db(const char *path, ProviderDb *db, std::string *error) {
  pugi::xml_document doc;
  pugi::xml_parse_result parsed = doc.load_file(path);
  if (!parsed) {
    *error = std::string(parsed.description()) + " (at byte " + std::to_string(parsed.offset) + ")";
    return false;
  }
  pugi::xml_node root = doc.child("serviceproviders");
  if (!root) {
    *error = "no <serviceproviders> element: not a provider database";
    return false;
  }
  for (pugi::xml_node country : root.children("country")) {
    for (pugi::xml_node provider : country.children("provider")) {
      db->providers++;
      if (pugi::xml_node gsm = provider.child("gsm"))
        add_gsm(db, country, provider, gsm);
      if (pugi::xml_node cdma = provider.child("cdma"))
        add_cdma(db, country, provider, cdma);
    }
  }
  return true;
}
