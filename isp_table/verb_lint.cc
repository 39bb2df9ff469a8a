// isp_table lint DB...: what the public databases get wrong that their
// XML checks cannot see, one finding a line on standard output.
#include <stdio.h>

#include "json_report.h"
#include "lint.h"
#include "verb_entries.h"
#include "verbs.h"

static std::string counted(size_t n, const char *word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

static Json lint_json(const std::vector<Source> &sources, const std::vector<LintFinding> &found,
                      const Findings &all) {
  Json doc = json_report("lint");
  doc["inputs"] = Json::array();
  for (const Source &s : sources)
    doc["inputs"].push_back(s.path);
  doc["findings"] = lint_findings_json(sources, found);  // by file, then line, as printed
  doc["counts"] = {{"errors", all.errors}, {"warnings", all.warnings}};
  return doc;
}

// A file generated from the provider database is a finding here, not a
// warning on standard error as it is to the verbs that generate.
ExitStatus cmd_lint(const Command &command) {
  std::vector<Source> sources;
  if (!load_public_data(command.files, &sources, nullptr, nullptr))
    return ExitStatus::kTrouble;
  fill_android_regions(&sources);
  std::vector<LintFinding> found = lint_sources(sources);
  Findings all;
  for (const LintFinding &f : found) {
    all.report(f.finding.line, f.finding.error, f.finding.text, f.finding.code);
    printf("%s\n", lint_line(sources, f).c_str());
  }
  printf("%s: %s, %s\n", counted(sources.size(), "database").c_str(),
         counted(all.errors, "error").c_str(), counted(all.warnings, "warning").c_str());
  if (!command.json.empty() && !write_json(command.json, lint_json(sources, found, all)))
    return ExitStatus::kTrouble;
  return check_status(all);
}
