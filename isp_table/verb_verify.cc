// isp_table verify MANIFEST: whether the inputs a manifest names still
// make the table it names. Each input is read once; its bytes are both
// compared with the manifest's and made into the table again.
#include <stdio.h>

#include <string>
#include <vector>

#include "check.h"
#include "digest.h"
#include "extend.h"
#include "input.h"
#include "manifest.h"
#include "verb_entries.h"
#include "verbs.h"

namespace {

/// One input as verify found it.
struct Found {
  bool read = false;
  size_t size = 0;
  std::string sha256;
};

/// What the run made of the inputs.
struct Made {
  bool made = false;
  std::string why;  // why no table was made
  ManifestTable table;
};

// A manifest is a few kilobytes; one of gigabytes is no manifest, and is
// refused before it takes the memory.
bool read_manifest_file(const std::string &path, Manifest *manifest) {
  std::string text, why;
  if (!read_regular(path.c_str(), &text, &why, kMemoryInputMax)) {
    fprintf(stderr, "isp_table: cannot read %s: %s\n", path.c_str(), why.c_str());
    return false;
  }
  if (read_manifest(text, manifest, &why))
    return true;
  fprintf(stderr, "isp_table: cannot read %s: not a manifest of isp_table: %s\n", path.c_str(),
          why.c_str());
  return false;
}

// Reads input `in` once: a kept table into `kept`, a database into `bytes`.
Found read_input(const ManifestInput &in, Table *kept, std::string *bytes) {
  Found found;
  std::string why;
  if (in.kind == kKeptTableKind) {
    if ((found.read = load_table(in.path.c_str(), kept, &why))) {
      ManifestInput now = kept_table_input(in.path, *kept);
      found.size = now.size;
      found.sha256 = now.sha256;
    }
  } else if ((found.read = read_regular(in.path.c_str(), bytes, &why))) {
    found.size = bytes->size();
    found.sha256 = sha256_hex(*bytes);
  }
  if (!found.read)
    fprintf(stderr, "isp_table: cannot read %s: %s\n", in.path.c_str(), why.c_str());
  return found;
}

bool unchanged(const ManifestInput &in, const Found &found) {
  return found.size == in.size && found.sha256 == in.sha256;
}

std::string described(size_t size, const std::string &sha256) {
  return std::to_string(size) + " bytes, sha256 " + sha256;
}

// The run the manifest records, made again from the databases `sources`
// and the kept table `kept`: the table, or why there is none (an extend
// whose kept table now has errors or leaves a public row no index). Its
// summary and findings are not shown: the verdict is verify's output.
Made make_again(const Manifest &m, const std::vector<Source> &sources, const Table &kept) {
  Made made;
  std::string text;
  if (m.verb == "generate") {
    std::vector<TableRow> rows;
    merge_all(sources, &rows);
    text = generated_table(rows);
  } else if (check_table(kept).errors) {
    made.why = "the kept table has errors (isp_table check " + m.inputs[0].path + ")";
    return made;
  } else {
    FILE *summary = fopen("/dev/null", "w");
    bool written = summary && extend_table(kept, sources, &text, summary);
    if (summary)
      fclose(summary);
    if (!written) {
      made.why = "a public row's key has no index left";
      return made;
    }
  }
  made.made = true;
  made.table = table_digest(text);
  return made;
}

// Verify's last line when `count` inputs cannot be read, each already said.
ExitStatus cannot_read(const char *name, size_t count) {
  printf("%s: not reproduced: %zu input%s cannot be read\n", name, count, count == 1 ? "" : "s");
  return ExitStatus::kTrouble;
}

Json digest_json(size_t size, const std::string &sha256) {
  return {{"size", size}, {"sha256", sha256}};
}

Json table_json(const ManifestTable &t) {
  return {{"size", t.size}, {"sha256", t.sha256}, {"rows", t.rows}};
}

Json verify_json(const Command &command, const Manifest &m, const std::vector<Found> &found,
                 const Made &made, bool reproduced) {
  Json doc = json_report("verify");
  doc["manifest"] = command.checked_manifest;
  doc["written_by"] = m.version;
  doc["verb"] = m.verb;
  Json inputs = Json::array();
  for (size_t i = 0; i < m.inputs.size(); i++)
    inputs.push_back({{"path", m.inputs[i].path},
                      {"kind", m.inputs[i].kind},
                      {"verdict", unchanged(m.inputs[i], found[i]) ? "unchanged" : "changed"},
                      {"found", digest_json(found[i].size, found[i].sha256)},
                      {"recorded", digest_json(m.inputs[i].size, m.inputs[i].sha256)}});
  doc["inputs"] = inputs;
  bool same = made.made && made.table.sha256 == m.table.sha256;
  doc["table"] = {{"verdict", same ? "reproduced" : made.made ? "differs" : "not made"},
                  {"made", made.made ? table_json(made.table) : Json(nullptr)},
                  {"recorded", table_json(m.table)}};
  doc["reproduced"] = reproduced;
  return doc;
}

/// The inputs of a manifest as verify read them, once each.
struct Reading {
  Table kept;                                // extend's TABLE
  std::vector<std::string> databases, bytes;  // the databases' paths and bytes
  std::vector<Found> found;                   // every input, in the manifest's order
  size_t unreadable = 0, changed = 0;
};

// Every input is read before any verdict, so that each one missing or
// changed is named, not the first alone: a line for each that changed.
void read_inputs(const char *name, const Manifest &m, Reading *r) {
  for (const ManifestInput &in : m.inputs) {
    std::string bytes;
    r->found.push_back(read_input(in, &r->kept, &bytes));
    const Found &found = r->found.back();
    if (in.kind != kKeptTableKind) {
      r->databases.push_back(in.path);
      r->bytes.push_back(bytes);
    }
    if (!found.read) {
      r->unreadable++;
    } else if (!unchanged(in, found)) {
      r->changed++;
      printf("%s: input %s changed: %s; recorded %s\n", name, in.path.c_str(),
             described(found.size, found.sha256).c_str(), described(in.size, in.sha256).c_str());
    }
  }
}

// The table's line, when it is not the manifest's, and the last line.
// Returns whether the table is reproduced.
bool print_verdict(const char *name, const Manifest &m, const Made &made, size_t changed) {
  bool same = made.made && made.table.sha256 == m.table.sha256;
  if (!made.made)
    printf("%s: table not made: %s\n", name, made.why.c_str());
  else if (!same)
    printf("%s: table differs: %zu rows, %s; recorded %zu rows, %s\n", name, made.table.rows,
           described(made.table.size, made.table.sha256).c_str(), m.table.rows,
           described(m.table.size, m.table.sha256).c_str());
  if (same && !changed) {
    printf("%s: reproduced: %s of %zu input%s makes the table of %zu rows, sha256 %s\n", name,
           m.verb.c_str(), m.inputs.size(), m.inputs.size() == 1 ? "" : "s", m.table.rows,
           m.table.sha256.c_str());
    return true;
  }
  printf("%s: not reproduced: %zu input%s changed, the table %s\n", name, changed,
         changed == 1 ? "" : "s", same ? "is the same" : made.made ? "differs" : "not made");
  return false;
}

}  // namespace

ExitStatus cmd_verify(const Command &command) {
  const char *name = command.checked_manifest.c_str();
  Manifest m;
  if (!read_manifest_file(command.checked_manifest, &m))
    return ExitStatus::kTrouble;
  if (m.version != ISP_TABLE_VERSION)
    fprintf(stderr, "isp_table: note: %s was written by isp_table %s, this is %s\n", name,
            m.version.c_str(), ISP_TABLE_VERSION);
  Reading r;
  read_inputs(name, m, &r);
  if (r.unreadable)
    return cannot_read(name, r.unreadable);
  // The databases are parsed from the bytes just compared; one that no
  // longer parses cannot be read, as for every verb.
  Command again;
  again.files = r.databases;
  again.only = m.only;
  std::vector<Source> sources;
  if (!load_inputs(again, &sources, &r.bytes))
    return cannot_read(name, 1);
  Made made = make_again(m, sources, r.kept);
  bool reproduced = print_verdict(name, m, made, r.changed);
  if (!command.json.empty() &&
      !write_json(command.json, verify_json(command, m, r.found, made, reproduced)))
    return ExitStatus::kTrouble;
  return reproduced ? ExitStatus::kClean : ExitStatus::kFindings;
}
