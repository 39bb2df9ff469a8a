// A manifest: which inputs made a released table, by their bytes, and the
// table they made, so that a later run can say whether it makes the same
// table again (isp_table verify).
#pragma once

#include <stddef.h>

#include <map>
#include <string>
#include <vector>

#include "json_report.h"
#include "sources.h"
#include "table.h"

/// The kinds of input a manifest names, as it writes them.
constexpr const char kProviderKind[] = "provider database";
constexpr const char kAndroidKind[] = "android apn database";
constexpr const char kCarrierListKind[] = "carrier identity database";
constexpr const char kKeptTableKind[] = "kept table";

/// What a file's bytes say about themselves, by name: "format", "version",
/// "date"... Empty when they say nothing.
using InputStates = std::map<std::string, std::string>;

/// One input of a run, as the run read it.
struct ManifestInput {
  std::string path;  // as given on the command line
  std::string kind;  // one of the kinds above
  size_t size = 0;
  std::string sha256;
  InputStates states;
};

/// The bytes a run wrote to standard output: the table.
struct ManifestTable {
  size_t size = 0;
  std::string sha256;
  size_t rows = 0;  // its lines after the header
};

/// A run that made a table: its verb and options, its inputs in
/// command-line order, and the table.
struct Manifest {
  std::string version;  // the release of isp_table that wrote it
  std::string verb;     // "generate" or "extend"
  bool only_given = false;
  std::string only;  // --only's list as given, when only_given
  std::vector<ManifestInput> inputs;
  ManifestTable table;
};

/// The kind of a loaded database.
const char *source_kind(const Source &source);

/// What a database says about itself in `bytes`, the bytes `source` was
/// loaded from: each attribute of its root element (the provider
/// database's format="2.0", Android's version="8"), the first date
/// (YYYY-MM-DD or YYYYMMDD) in a comment before it as "date", "generated
/// from" for Android's format made from the provider database; a carrier
/// list's "version".
InputStates database_states(const Source &source, const std::string &bytes);

/// The database `source`, given as `path` and loaded from `bytes`.
ManifestInput database_input(const std::string &path, const Source &source,
                             const std::string &bytes);

/// The kept table `table`, given as `path`, by every byte its reads took
/// (the bytes of its file); it states nothing.
ManifestInput kept_table_input(const std::string &path, const Table &table);

/// The size, SHA-256 and rows of the table text `bytes`: its lines (the
/// last one without a line feed too) after the first, the header.
ManifestTable table_digest(const std::string &bytes);

/// The manifest's document: json_report("manifest") and then "verb",
/// "options" {"only": LIST or null}, "inputs" [{"path", "kind", "size",
/// "sha256", "states"}], "table" {"sha256", "size", "rows"}.
Json manifest_json(const Manifest &manifest);

/// Reads a manifest document from `text`. False with `why` set when it is
/// no JSON ("not JSON: ...") or not one of ours: another tool's or report,
/// another layout's version, a key missing or of the wrong type, an
/// unknown verb or kind, a hash that is not 64 lower-case hex digits, an
/// extend without its kept table first.
bool read_manifest(const std::string &text, Manifest *manifest, std::string *why);
