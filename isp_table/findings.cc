#include "findings.h"

#include <algorithm>

static std::string plural(int n, const char *word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

void print_finding(const char *path, const Finding &f, FILE *out) {
  std::string where = f.line ? ":" + std::to_string(f.line) : "";
  fprintf(out, "%s%s: %s: %s\n", path, where.c_str(), f.error ? "error" : "warning",
          f.text.c_str());
}

void print_findings(const char *path, Findings found, FILE *out) {
  std::stable_sort(found.list.begin(), found.list.end(),
                   [](const Finding &a, const Finding &b) { return a.line < b.line; });
  for (const Finding &f : found.list)
    print_finding(path, f, out);
  fprintf(out, "%s: %s, %s, %s\n", path, plural(found.errors, "error").c_str(),
          plural(found.warnings, "warning").c_str(), plural(found.rows, "row").c_str());
}
