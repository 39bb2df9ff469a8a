// The reports isp_table writes for a machine (--json FILE): one JSON
// document per run, the same findings, rows and changes as its text, laid
// out as share/isp_table/isp_table.schema.json describes them.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "findings.h"

/// A report's JSON value. Its keys keep the order they were added in, so
/// that a document reads in the order its text does.
using Json = nlohmann::ordered_json;

/// The layout's version, each document's "schema": raised when a key
/// changes meaning or goes away, never when one is added.
constexpr int kJsonSchema = 1;

/// A new document of kind `report` ("generate", "check", "manifest"...):
/// {"schema": kJsonSchema, "tool": "isp_table", "version": VERSION,
/// "report": report}, for the caller to add its own keys to.
Json json_report(const char *report);

/// Finding `f` on the file `path` as a report's object: "file", "line"
/// (0 for the file as a whole), "severity" ("error" or "warning"),
/// "code", "message".
Json finding_json(const std::string &path, const Finding &f);

/// `found`, the findings on the file `path`, as the text prints them (by
/// line, in the order made): an array of finding_json's objects.
Json findings_json(const std::string &path, const Findings &found);

/// Writes `doc` to the file `path`, replacing it. Returns false, said on
/// standard error as "isp_table: cannot write PATH: WHY", when it cannot;
/// bytes that are not UTF-8 are written as U+FFFD.
bool write_json(const std::string &path, const Json &doc);
