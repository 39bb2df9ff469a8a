// A simulated router for end-to-end runs of the installed programs: a private
// /tmp and /var (bubblewrap bind mounts) and the stand-ins first on PATH;
// with E2E_SH set, that shell (BusyBox) bound over /bin/sh.
#pragma once

#include <string>

struct RunResult {
  int status;       // exit status, 0..255
  std::string err;  // standard error
  std::string out;  // standard output
};

class Sandbox {
 public:
  Sandbox();
  ~Sandbox();

  /// Writes `text` at router path `path` ("/tmp/...", "/var/...").
  void write(const std::string &path, const std::string &text);
  std::string read(const std::string &path) const;
  bool exists(const std::string &path) const;
  /// The host path behind router path `path`.
  std::string host(const std::string &path) const;

  /// Runs the installed program `name` (through the launcher, if any).
  RunResult run(const std::string &name, const std::string &bwrap_extra = "");
  /// Runs a shell command line inside the sandbox; `$BIN` names the
  /// launcher-prefixed directory of installed programs.
  RunResult shell(const std::string &line, const std::string &bwrap_extra = "");

 private:
  std::string root_;
};

/// The launcher and program for `name`, e.g. "qemu-mips -L ... /p/bin/isp_pick".
std::string program_command(const std::string &name);

/// Shell text that waits, polling, until the test `condition` holds or
/// `seconds` have passed, whichever comes first.
std::string wait_until(const std::string &condition, int seconds);

/// bwrap options for a run whose processes the sandbox owns: a PID
/// namespace of its own, stopped with the sandbox, and its own /proc.
extern const char kOwnProcesses[];

/// Shell text that starts `command` in the background as $p and waits, at
/// most `seconds`, until it ends (the text then exits with its status) or
/// the test `condition` holds (it exits 124). Run it with kOwnProcesses.
std::string until_ended_or(const std::string &command, const std::string &condition, int seconds);
