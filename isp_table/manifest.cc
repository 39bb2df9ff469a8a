#include "manifest.h"

#include <ctype.h>
#include <string.h>

#include <algorithm>

#include <pugixml.hpp>

#include "digest.h"

const char *source_kind(const Source &source) {
  if (source.carrier_list)
    return kCarrierListKind;
  return source.android ? kAndroidKind : kProviderKind;
}

// Whether `text` at `at` holds `n` digits.
static bool digits_at(const std::string &text, size_t at, size_t n) {
  if (at + n > text.size())
    return false;
  return std::all_of(text.begin() + at, text.begin() + at + n,
                     [](char c) { return isdigit((unsigned char)c); });
}

// A date of this century or the last with a month and day that can be:
// "20230416" in a file's comment is a release, "12345678" is not.
static bool plausible(const std::string &year, const std::string &month, const std::string &day) {
  int m = std::stoi(month), d = std::stoi(day);
  return (year.compare(0, 2, "19") == 0 || year.compare(0, 2, "20") == 0) && m >= 1 && m <= 12 &&
         d >= 1 && d <= 31;
}

// The first date of `text` standing apart from other digits, as
// YYYY-MM-DD; "" when there is none.
static std::string first_date(const std::string &text) {
  for (size_t i = 0; i < text.size(); i++) {
    if (!digits_at(text, i, 4) || (i > 0 && isdigit((unsigned char)text[i - 1])))
      continue;
    bool dashed = digits_at(text, i, 4) && text.compare(i + 4, 1, "-") == 0 &&
                  digits_at(text, i + 5, 2) && text.compare(i + 7, 1, "-") == 0 &&
                  digits_at(text, i + 8, 2);
    size_t end = dashed ? i + 10 : i + 8;
    if (!dashed && !digits_at(text, i, 8))
      continue;
    if (end < text.size() && isdigit((unsigned char)text[end]))
      continue;
    std::string year = text.substr(i, 4), month = text.substr(i + 4 + dashed, 2),
                day = text.substr(i + 6 + 2 * dashed, 2);
    if (plausible(year, month, day))
      return year + "-" + month + "-" + day;
  }
  return "";
}

// The root element's attributes, then a date in a comment before it.
static InputStates xml_states(const std::string &bytes) {
  InputStates states;
  pugi::xml_document doc;
  if (!doc.load_buffer(bytes.data(), bytes.size(), pugi::parse_default | pugi::parse_comments))
    return states;
  for (pugi::xml_attribute a : doc.document_element().attributes())
    states.emplace(a.name(), a.value());
  for (pugi::xml_node node = doc.first_child(); node && node.type() != pugi::node_element;
       node = node.next_sibling()) {
    std::string date = node.type() == pugi::node_comment ? first_date(node.value()) : "";
    if (!date.empty()) {
      states.emplace("date", date);
      break;
    }
  }
  return states;
}

InputStates database_states(const Source &source, const std::string &bytes) {
  if (source.carrier_list)
    return source.carriers.version < 0
               ? InputStates()
               : InputStates{{"version", std::to_string(source.carriers.version)}};
  InputStates states = xml_states(bytes);
  if (source.generated)
    states.emplace("generated from", "serviceproviders.xml");
  return states;
}

ManifestInput database_input(const std::string &path, const Source &source,
                             const std::string &bytes) {
  return {path, source_kind(source), bytes.size(), sha256_hex(bytes),
          database_states(source, bytes)};
}

ManifestInput kept_table_input(const std::string &path, const Table &table) {
  std::string bytes;
  for (const Piece &piece : table.pieces)
    bytes += piece.text;
  return {path, kKeptTableKind, bytes.size(), sha256_hex(bytes), {}};
}

ManifestTable table_digest(const std::string &bytes) {
  size_t lines = std::count(bytes.begin(), bytes.end(), '\n') +
                 (!bytes.empty() && bytes.back() != '\n');
  return {bytes.size(), sha256_hex(bytes), lines ? lines - 1 : 0};
}

static Json digest_json(const ManifestTable &table) {
  return {{"sha256", table.sha256}, {"size", table.size}, {"rows", table.rows}};
}

Json manifest_json(const Manifest &manifest) {
  Json doc = json_report("manifest");
  doc["verb"] = manifest.verb;
  doc["options"] = {{"only", manifest.only_given ? Json(manifest.only) : Json(nullptr)}};
  Json inputs = Json::array();
  for (const ManifestInput &in : manifest.inputs)
    inputs.push_back({{"path", in.path},
                      {"kind", in.kind},
                      {"size", in.size},
                      {"sha256", in.sha256},
                      {"states", Json(in.states)}});
  doc["inputs"] = inputs;
  doc["table"] = digest_json(manifest.table);
  return doc;
}

// ---- Reading a manifest back: every key checked, each fault said ----

namespace {

// The value of `key` in `object` when it is of the type `is` asks; else
// nullptr with `why` naming the key, as `where` places it.
const Json *member(const Json &object, const char *key, bool (Json::*is)() const,
                   const char *type, const std::string &where, std::string *why) {
  auto it = object.find(key);
  if (it != object.end() && ((*it).*is)())
    return &*it;
  *why = where + key + (it == object.end() ? " is missing" : std::string(" is not ") + type);
  return nullptr;
}

bool string_member(const Json &object, const char *key, const std::string &where,
                   std::string *value, std::string *why) {
  const Json *v = member(object, key, &Json::is_string, "a string", where, why);
  if (v)
    *value = v->get<std::string>();
  return v;
}

bool count(const Json &object, const char *key, const std::string &where, size_t *value,
           std::string *why) {
  const Json *v = member(object, key, &Json::is_number_unsigned, "a whole number", where, why);
  if (v)
    *value = v->get<size_t>();
  return v;
}

bool hex_digest(const std::string &value) {
  return value.size() == 64 && value.find_first_not_of("0123456789abcdef") == std::string::npos;
}

bool sha256(const Json &object, const std::string &where, std::string *value, std::string *why) {
  if (!string_member(object, "sha256", where, value, why))
    return false;
  if (hex_digest(*value))
    return true;
  *why = where + "sha256 is not 64 lower-case hex digits";
  return false;
}

bool known_kind(const std::string &kind) {
  for (const char *k : {kProviderKind, kAndroidKind, kCarrierListKind, kKeptTableKind})
    if (kind == k)
      return true;
  return false;
}

bool read_states(const Json &object, const std::string &where, InputStates *states,
                 std::string *why) {
  const Json *s = member(object, "states", &Json::is_object, "an object", where, why);
  if (!s)
    return false;
  for (auto it = s->begin(); it != s->end(); ++it) {
    if (!it.value().is_string()) {
      *why = where + "states." + it.key() + " is not a string";
      return false;
    }
    (*states)[it.key()] = it.value().get<std::string>();
  }
  return true;
}

bool read_input(const Json &object, const std::string &where, ManifestInput *in,
                std::string *why) {
  if (!object.is_object()) {
    *why = where.substr(0, where.size() - 1) + " is not an object";
    return false;
  }
  if (!string_member(object, "path", where, &in->path, why) ||
      !string_member(object, "kind", where, &in->kind, why))
    return false;
  if (in->path.empty() || !known_kind(in->kind)) {
    *why = where + (in->path.empty() ? "path is empty" : "kind \"" + in->kind + "\" is unknown");
    return false;
  }
  return count(object, "size", where, &in->size, why) && sha256(object, where, &in->sha256, why) &&
         read_states(object, where, &in->states, why);
}

bool read_inputs(const Json &doc, Manifest *m, std::string *why) {
  const Json *inputs = member(doc, "inputs", &Json::is_array, "an array", "", why);
  if (!inputs)
    return false;
  for (size_t i = 0; i < inputs->size(); i++) {
    m->inputs.emplace_back();
    if (!read_input((*inputs)[i], "inputs[" + std::to_string(i) + "].", &m->inputs.back(), why))
      return false;
  }
  if (m->inputs.empty()) {
    *why = "inputs is empty";
    return false;
  }
  // extend's TABLE comes first; generating reads databases only.
  for (size_t i = 0; i < m->inputs.size(); i++) {
    bool table_here = m->verb == "extend" && i == 0;
    if ((m->inputs[i].kind == kKeptTableKind) == table_here)
      continue;
    *why = table_here ? "extend's first input is not its kept table"
                      : "inputs[" + std::to_string(i) + "] is a kept table";
    return false;
  }
  return true;
}

bool read_options(const Json &doc, Manifest *m, std::string *why) {
  const Json *options = member(doc, "options", &Json::is_object, "an object", "", why);
  if (!options)
    return false;
  auto only = options->find("only");
  m->only_given = only != options->end() && only->is_string();
  if (m->only_given)
    m->only = only->get<std::string>();
  if (only != options->end() && (m->only_given || only->is_null()))
    return true;
  *why = only == options->end() ? "options.only is missing"
                                : "options.only is not a string or null";
  return false;
}

bool read_table(const Json &doc, ManifestTable *table, std::string *why) {
  const Json *t = member(doc, "table", &Json::is_object, "an object", "", why);
  return t && sha256(*t, "table.", &table->sha256, why) &&
         count(*t, "size", "table.", &table->size, why) &&
         count(*t, "rows", "table.", &table->rows, why);
}

// The envelope names the document ours: this tool, this layout, a manifest.
bool read_envelope(const Json &doc, Manifest *m, std::string *why) {
  std::string tool, report;
  if (!string_member(doc, "tool", "", &tool, why) ||
      !string_member(doc, "report", "", &report, why))
    return false;
  if (tool != "isp_table" || report != "manifest") {
    *why = tool != "isp_table" ? "written by \"" + tool + "\", not isp_table"
                               : "an isp_table " + report + " report, not a manifest";
    return false;
  }
  const Json *schema = member(doc, "schema", &Json::is_number_integer, "a number", "", why);
  if (schema && *schema != kJsonSchema)
    *why = "of layout " + schema->dump() + ", this release reads " + std::to_string(kJsonSchema);
  return schema && *schema == kJsonSchema && string_member(doc, "version", "", &m->version, why);
}

}  // namespace

bool read_manifest(const std::string &text, Manifest *manifest, std::string *why) {
  Json doc = Json::parse(text, nullptr, false);
  if (doc.is_discarded() || !doc.is_object()) {
    *why = doc.is_discarded() ? "not JSON" : "not a JSON object";
    return false;
  }
  Manifest m;
  if (!read_envelope(doc, &m, why) || !string_member(doc, "verb", "", &m.verb, why))
    return false;
  if (m.verb != "generate" && m.verb != "extend") {
    *why = "verb \"" + m.verb + "\" is not generate or extend";
    return false;
  }
  if (!read_options(doc, &m, why) || !read_inputs(doc, &m, why) ||
      !read_table(doc, &m.table, why))
    return false;
  *manifest = m;
  return true;
}
