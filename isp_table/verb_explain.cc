// isp_table explain TABLE --imsi DIGITS | --sid N: one run of isp_pick;
// isp_table explain [FILE...] --key MCC-MNC: one row of a generated table.
#include <stdio.h>

#include "cli.h"
#include "explain.h"
#include "explain_key.h"
#include "verb_entries.h"
#include "verbs.h"

// The --key report: the envelope, then the account's own keys.
static bool write_key_report(const Command &command, const std::vector<Source> &sources,
                             const KeyExplanation &e) {
  Json doc = json_report("explain");
  doc.update(explanation_json(sources, e, lint_sources(sources)));
  return write_json(command.json, doc);
}

// A key without a row, or a SIM no line answers, is a finding.
static ExitStatus explain_databases(const Command &command) {
  std::vector<Source> sources;
  if (!load_inputs(command, &sources))
    return ExitStatus::kTrouble;
  NetworkId id;
  read_network_id(command.key, &id);
  Merge merge(source_list(sources));
  KeyExplanation e = explain_key(merge, id);
  write_explanation(sources, e, stdout);
  if (!command.json.empty() && !write_key_report(command, sources, e))
    return ExitStatus::kTrouble;
  return e.choice.row ? ExitStatus::kClean : ExitStatus::kFindings;
}

// check TABLE --imsi names its table; explain TABLE --imsi gives it as
// its one file. The report is the run the text explains.
ExitStatus cmd_explain(const Command &command) {
  if (!command.key.empty())
    return explain_databases(command);
  if (command.table.empty() && command.files.size() != 1)
    return report_usage_error("explain --imsi and --sid read one TABLE");
  std::string path = command.table.empty() ? command.files[0] : command.table;
  Table table;
  if (!load_or_report(path.c_str(), &table, "explain"))
    return ExitStatus::kTrouble;
  Json report = json_report("explain");
  report["table"] = path;
  if (command.sid_given)
    report["sid"] = command.sid;
  else
    report["imsi"] = command.imsi;
  Json *wanted = command.json.empty() ? nullptr : &report;
  bool answered = command.sid_given ? explain_sid(table, command.sid, stdout, wanted)
                                    : explain_imsi(table, command.imsi.c_str(), stdout, wanted);
  ExitStatus status = answered ? ExitStatus::kClean : ExitStatus::kFindings;
  return !wanted || write_json(command.json, report) ? status : ExitStatus::kTrouble;
}
