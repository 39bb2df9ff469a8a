#include "json_report.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>

Json json_report(const char *report) {
  Json doc;
  doc["schema"] = kJsonSchema;
  doc["tool"] = "isp_table";
  doc["version"] = ISP_TABLE_VERSION;
  doc["report"] = report;
  return doc;
}

Json finding_json(const std::string &path, const Finding &f) {
  return {{"file", path},
          {"line", f.line},
          {"severity", f.error ? "error" : "warning"},
          {"code", f.code},
          {"message", f.text}};
}

Json findings_json(const std::string &path, const Findings &found) {
  std::vector<Finding> list = found.list;
  std::stable_sort(list.begin(), list.end(),
                   [](const Finding &a, const Finding &b) { return a.line < b.line; });
  Json array = Json::array();
  for (const Finding &f : list)
    array.push_back(finding_json(path, f));
  return array;
}

// A table's bytes reach messages and values as they are; a report stays
// valid JSON, with U+FFFD where they are not UTF-8.
bool write_json(const std::string &path, const Json &doc) {
  std::string text = doc.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
  FILE *f = fopen(path.c_str(), "w");
  bool written = f && fwrite(text.data(), 1, text.size(), f) == text.size();
  int why = errno;
  if (f && fclose(f) != 0 && written) {
    written = false;
    why = errno;
  }
  if (!written)
    fprintf(stderr, "isp_table: cannot write %s: %s\n", path.c_str(), strerror(why));
  return written;
}
