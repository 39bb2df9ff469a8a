#include "sandbox.h"

#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>

static std::string env_or(const char *name, const char *fallback) {
  const char *v = getenv(name);
  return v ? v : fallback;
}

static std::string quote(const std::string &s) {
  std::string q = "'";
  for (char c : s)
    q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Where the sandboxes live: the build tree's work folder under ctest.
static std::string work_dir() { return env_or("E2E_WORK", "/var/tmp"); }

std::string program_command(const std::string &name) {
  std::string launcher = env_or("E2E_LAUNCHER", "");
  std::string program = env_or("E2E_BIN_DIR", "") + "/" + name;
  return launcher.empty() ? program : launcher + " " + program;
}

Sandbox::Sandbox() {
  if (!getenv("E2E_BIN_DIR") || !getenv("E2E_STANDINS")) {
    fputs("E2E_BIN_DIR and E2E_STANDINS must be set (ctest sets them)\n", stderr);
    abort();
  }
  std::string tmpl = work_dir() + "/router.XXXXXX";
  root_ = mkdtemp(&tmpl[0]);
  for (const char *d : {"/tmp", "/var", "/var/config", "/bin"})
    mkdir((root_ + d).c_str(), 0755);
  std::string copy = "cp " + env_or("E2E_STANDINS", "") + "/* " + quote(root_ + "/bin");
  if (system(copy.c_str()) != 0)
    abort();
}

Sandbox::~Sandbox() {
  if (!getenv("E2E_KEEP"))
    system(("rm -rf " + quote(root_)).c_str());
}

std::string Sandbox::host(const std::string &path) const { return root_ + path; }

void Sandbox::write(const std::string &path, const std::string &text) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
    mkdir(host(path.substr(0, slash)).c_str(), 0755);
  std::ofstream(host(path), std::ios::binary) << text;
}

std::string Sandbox::read(const std::string &path) const {
  std::ifstream in(host(path), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool Sandbox::exists(const std::string &path) const {
  struct stat st;
  return lstat(host(path).c_str(), &st) == 0;
}

// Folders the run needs that may lie under /tmp or /var: bound back in.
static std::string bind_back() {
  std::string modem = env_or("E2E_MODEM", "");
  std::string binds;
  for (const std::string &dir : {work_dir(), env_or("E2E_BIN_DIR", ""), modem.substr(0, modem.rfind('/'))})
    if (!dir.empty())
      binds += " --bind " + quote(dir) + " " + quote(dir);
  return binds;
}

// E2E_SH names another shell (BusyBox, as on the router) to stand at /bin/sh.
// Where /bin/sh is a link (dash on Debian), the shell is bound over the file
// it names: newer bubblewrap refuses to mount on a link.
static std::string router_shell() {
  std::string sh = env_or("E2E_SH", "");
  if (sh.empty())
    return "";
  char target[PATH_MAX];
  if (!realpath("/bin/sh", target))
    abort();
  return " --ro-bind " + quote(sh) + " " + quote(target);
}

RunResult Sandbox::shell(const std::string &line, const std::string &bwrap_extra) {
  // exec: the shell that system() starts becomes bwrap, one process less a run.
  std::string cmd = "exec bwrap --dev-bind / / --bind " + quote(host("/tmp")) + " /tmp --bind " +
                    quote(host("/var")) + " /var" + bind_back() + router_shell() + " --die-with-parent " +
                    bwrap_extra + " --setenv PATH " +
                    quote(host("/bin") + ":/usr/sbin:/usr/bin:/sbin:/bin") + " --setenv BIN " +
                    quote(program_command("")) + " -- /bin/sh -c " + quote(line) + " >" +
                    quote(host("/.out")) + " 2>" + quote(host("/.err")) + " </dev/null";
  int raw = system(cmd.c_str());
  RunResult r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, read("/.err"), read("/.out")};
  return r;
}

RunResult Sandbox::run(const std::string &name, const std::string &bwrap_extra) {
  return shell("exec " + program_command(name), bwrap_extra);
}

std::string wait_until(const std::string &condition, int seconds) {
  return "n=0; until " + condition + " || [ $n -ge " + std::to_string(seconds * 20) +
         " ]; do sleep 0.05; n=$((n+1)); done; ";
}

const char kOwnProcesses[] = "--unshare-pid --proc /proc";

std::string until_ended_or(const std::string &command, const std::string &condition, int seconds) {
  // Ended: a zombie, which kill -0 cannot tell, or already reaped by the
  // shell, which keeps its status for wait.
  return "ended() { [ ! -e /proc/$p ] || [ \"$(sed 's/.*) //; s/ .*//' /proc/$p/stat)\" = Z ]; }; " +
         command + " & p=$!; " + wait_until("ended || " + condition, seconds) +
         "if ended; then wait $p; exit $?; fi; exit 124";
}
