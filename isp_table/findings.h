// What a check finds, kept apart from how it is printed: the check returns
// findings, and its callers print them where their output belongs.
#pragma once

#include <stdio.h>

#include <string>
#include <vector>

struct Finding {
  int line;  // 0 for the file as a whole
  bool error;
  std::string text;
  /// What kind of finding it is, for a machine ("comma-in-value"): a few
  /// words joined by "-", the same in every release.
  std::string code;
};

struct Findings {
  std::vector<Finding> list;
  int errors = 0, warnings = 0, rows = 0;

  void report(int line, bool error, const std::string &text, const std::string &code = "") {
    (error ? errors : warnings)++;
    list.push_back({line, error, text, code});
  }
};

/// Writes `f`, a finding on the file `path`, as one line to `out`:
/// "PATH:LINE: error: ..." or "PATH:LINE: warning: ...", "PATH: ..." for
/// a finding on the file (line 0).
void print_finding(const char *path, const Finding &f, FILE *out);

/// Writes one "PATH:LINE: error: ..." or "PATH:LINE: warning: ..." line
/// per finding to `out` ("PATH: ..." for a finding on the file, line 0), by line (findings of one line in the order they
/// were made), then the count "PATH: N errors, N warnings, N rows".
void print_findings(const char *path, Findings findings, FILE *out);
