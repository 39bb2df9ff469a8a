#include "generate_report.h"

#include "explain_key.h"
#include "summary.h"

Json generate_report(const std::vector<Source> &sources, const std::vector<TableFigures> &own,
                     const TableFigures &merged, const Merge &merge,
                     const std::vector<TableRow> &rows, const std::vector<LintFinding> &mistakes) {
  Json doc = json_report("generate");
  add_summary_json(sources, own, merged, &doc);
  Json written = Json::array();
  for (const TableRow &row : rows)
    written.push_back(explanation_json(sources, explain_key(merge, row.key), mistakes));
  doc["rows"] = written;
  return doc;
}
