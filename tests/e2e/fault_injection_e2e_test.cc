// Every system call of the installed programs made to fail once, at each of
// its occurrences after start-up (strace's fault injection): no fault may
// crash a program, hang it, put a wrong value into the store, or let a run
// pass for one that applied its profile when it did not.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "sandbox.h"

// The error each call is made to fail with: what a loaded 32 MB router gives.
static std::string error_for(const std::string &call) {
  static const std::map<std::string, std::string> errors = {
      {"clone", "EAGAIN"},   {"clone3", "EAGAIN"},   {"fork", "EAGAIN"},     {"vfork", "EAGAIN"},
      {"pipe", "EMFILE"},    {"pipe2", "EMFILE"},    {"open", "EMFILE"},     {"openat", "EMFILE"},
      {"mmap", "ENOMEM"},    {"mmap2", "ENOMEM"},    {"wait4", "ECHILD"},    {"waitid", "ECHILD"},
      {"write", "ENOSPC"},   {"writev", "ENOSPC"},   {"unlink", "EBUSY"},    {"unlinkat", "EBUSY"},
      {"getrandom", "EAGAIN"}};
  auto it = errors.find(call);
  return it == errors.end() ? "EIO" : it->second;
}

// brk never fails with an error code; close releases the descriptor even
// when it reports an error, so an injected failure would leave it open.
static bool left_out(const std::string &call) {
  return call == "brk" || call == "close" || call == "exit_group" || call == "exit";
}

// How often each system call of a trace comes after start-up, which ends
// at the first line holding one of `markers`; and how often before it.
struct Calls {
  std::map<std::string, int> before, after;
};

static Calls count_calls(const std::string &trace, const std::vector<std::string> &markers,
                         const std::string &until = "") {
  Calls calls;
  bool started = false;
  std::istringstream lines(trace);
  for (std::string line; std::getline(lines, line);) {
    size_t paren = line.find('(');
    if (line.compare(0, 3, "---") == 0 || line.compare(0, 3, "+++") == 0 || paren == std::string::npos)
      continue;
    for (const std::string &m : markers)
      started = started || line.find(m) != std::string::npos;
    if (started && !until.empty() && line.find(until) != std::string::npos)
      break;
    (started ? calls.after : calls.before)[line.substr(0, paren)]++;
  }
  return calls;
}

struct Fault {
  std::string call;
  int when;  // the call's occurrence in the whole run, start-up included
};

static std::vector<Fault> faults_of(const Calls &calls) {
  std::vector<Fault> faults;
  for (const auto &c : calls.after) {
    if (left_out(c.first))
      continue;
    auto before = calls.before.find(c.first);
    int skip = before == calls.before.end() ? 0 : before->second;
    for (int k = 1; k <= c.second; k++)
      faults.push_back({c.first, skip + k});
  }
  return faults;
}

// -I1: strace ends on TERM as any program does (with -o it blocks it).
static std::string traced(const std::string &program, const std::string &options) {
  return "strace -I1 " + options + " " + program_command(program);
}

/// strace running `program` with the fault `f`; `tracing` starts the
/// options that say what to trace, and ends where the faulty call is named.
static std::string injected(const std::string &program, const Fault &f,
                            const std::string &tracing = "-o /dev/null -e trace=") {
  return traced(program, tracing + f.call + " -e inject=" + f.call + ":error=" +
                             error_for(f.call) + ":when=" + std::to_string(f.when));
}

static const char kTable[] =
    "Index,MCC,MNC,ISP,Region,System,APN,Number,User,Password\r\n"
    "1,404,45,Airtel,IN,HSDPA,airtelgprs.com,*99#,air,pw\r\n"
    "4,404,80,BSNL,IN,CDMA2000,bsnlnet,#777,bs,bspw\r\n";

static const char kTable405[] =
    "Index,MCC,MNC,ISP,Region,System,APN,Number,User,Password\r\n"
    "1,405,85,Short,IN,HSDPA,apn.short,*98#,ushort,pshort\r\n"
    "2,405,854,Long,IN,HSDPA,apn.long,*99#,ulong,plong\r\n";

// One path through isp_pick: its input, the identity and profile it leads to.
struct Scenario {
  const char *name;
  const char *table;
  const char *imsi;  // nullptr: a CDMA card, SID 14494
  const char *memo;
  std::map<std::string, std::string> profile;
};

static const Scenario kScenarios[] = {
    {"IMSI path", kTable, "404450123456789", "404450\n",
     {{"G_ISP_INDEX", "1"}, {"G_SYSTEM", "0"}, {"G_APN", "airtelgprs.com"},
      {"G_USERNAME", "air"}, {"G_PASSWORD", "pw"}, {"G_NUMBER", "*99#"}}},
    {"SID path", kTable, nullptr, "40480\n",
     {{"G_ISP_INDEX", "4"}, {"G_SYSTEM", "1"}, {"G_APN", "bsnlnet"},
      {"G_USERNAME", "bs"}, {"G_PASSWORD", "bspw"}, {"G_NUMBER", "#777"}}},
    // A failed first lookup must not fall back to the shorter row.
    {"MCC 405", kTable405, "405854123456789", "405854\n",
     {{"G_ISP_INDEX", "2"}, {"G_SYSTEM", "0"}, {"G_APN", "apn.long"},
      {"G_USERNAME", "ulong"}, {"G_PASSWORD", "plong"}, {"G_NUMBER", "*99#"}}},
};

// A router before the run: no memo, a store in which some items differ
// from the profile, one of them unreadable.
static void prepare(Sandbox &box, const Scenario &s) {
  // Hundreds of runs: emptied here, not by a shell and rm of their own.
  std::filesystem::remove_all(box.host("/var/flash"));
  for (const auto &entry : std::filesystem::directory_iterator(box.host("/tmp")))
    std::filesystem::remove_all(entry.path());
  unlink(box.host("/var/flash.log").c_str());
  box.write("/var/3.5G_Infomation.csv", s.table);
  box.write("/var/flash/G_SYSTEM", "2");
  box.write("/var/flash/G_APN", "old.apn");
  box.write("/var/flash/G_USERNAME", s.profile.at("G_USERNAME"));
  box.write("/var/flash/G_NUMBER", s.profile.at("G_NUMBER"));
  if (s.imsi) {
    box.write("/tmp/cimi_output", std::string("AT+CIMI\r\n") + s.imsi + "\r\nOK\r\n");
    return;
  }
  box.write("/tmp/cimi_output", "AT+CIMI\r\nERROR\r\n");
  box.write("/var/HSDPACARD", "CDMA\nvendor\nPORT=/tmp/modem\n");
  box.write("/tmp/modem", "");
  box.write("/var/chat_dialogue", "AT+CSS\n+CSS: 1,B,14494\nOK\n");
}

// What is wrong with the router after a run that ended with `status`;
// empty when nothing is.
static std::string judge(Sandbox &box, const Scenario &s, int status) {
  if (status != 1 && status != 255)
    return "status " + std::to_string(status);
  std::string memo = box.exists("/tmp/former_isp") ? box.read("/tmp/former_isp") : "(none)";
  // An emptied memo (a line end alone) holds no identity: as good as none.
  if (memo != "(none)" && memo != "" && memo != "\n" && memo != s.memo)
    return "memo holds \"" + memo + "\"";
  std::istringstream log(box.read("/var/flash.log"));
  for (std::string line; std::getline(log, line);) {
    size_t open = line.find(" [");
    std::string name = line.substr(4, open - 4), value = line.substr(open + 2);
    value.pop_back();
    if (s.profile.at(name) != value)
      return "store got " + line;
  }
  // The next run would skip the identity whose profile was never applied.
  if (status == 255 && memo == s.memo)
    return "status 255 with the memo holding the identity";
  if (status != 1 || memo != s.memo)
    return "";
  for (const auto &item : s.profile)
    if (box.read("/var/flash/" + item.first) != item.second)
      return "status 1 and the memo set, but " + item.first + " holds \"" +
             box.read("/var/flash/" + item.first) + "\"";
  return "";
}

TEST(FaultInjection, IspPickNeverPassesAFailureForSuccess) {
  Sandbox box;
  int total = 0;
  for (const Scenario &s : kScenarios) {
    prepare(box, s);
    box.shell(traced("isp_pick", "-o /tmp/trace"));
    std::string trace = box.read("/tmp/trace");
    // Start-up ends where main begins: its first call, or its first file.
    std::vector<Fault> faults =
        faults_of(count_calls(trace, {"rt_sigaction(SIGCHLD", "\"/tmp/cimi_output\""}));
    ASSERT_GT(faults.size(), 20u) << trace;
    std::map<std::string, int> failed;
    for (const Fault &f : faults) {
      prepare(box, s);
      RunResult r = box.shell("exec timeout 30 " + injected("isp_pick", f));
      std::string wrong = judge(box, s, r.status);
      EXPECT_EQ("", wrong) << s.name << ": " << f.call << " failing with " << error_for(f.call)
                           << " at its occurrence " << f.when << "\n" << r.err;
      if (!wrong.empty())
        failed[f.call]++;
    }
    total += faults.size();
    printf("%s: %zu faults injected, %zu kinds of call failed to be survived\n", s.name,
           faults.size(), failed.size());
  }
  printf("isp_pick: %d faults injected in all\n", total);
}

// The keeper's calls before its loop: it ends with 0 or keeps looping,
// whatever fails.
TEST(FaultInjection, KeeperEndsOrLoopsButNeverCrashes) {
  Sandbox box;
  box.write("/var/config/SYS.info", "OP_MODE=0\nWAN_DHCP=5\nWAN_INTERFACE=1\nG_BACKUP=0\n");
  // strace ends on TERM with its trace written out; the keeper goes with the sandbox.
  box.shell(traced("hsdpa_keeper", "-o /tmp/trace") + " & p=$!; " +
                wait_until("[ -e /tmp/hsdpa_runs ]", 10) + "kill $p; wait $p",
            "--unshare-pid");
  // The loop begins where the link script is first started.
  std::vector<Fault> faults = faults_of(count_calls(
      box.read("/tmp/trace"), {"\"/var/config/SYS.info\""}, "rt_sigaction(SIGINT"));
  ASSERT_GT(faults.size(), 8u) << box.read("/tmp/trace");
  for (const Fault &f : faults) {
    // Looping: it has started the link script, whether or not that ran.
    std::string loop = "grep -q 'rt_sigaction(SIGINT' /tmp/calls";
    RunResult r = box.shell(
        "rm -f /tmp/calls; " +
            until_ended_or(injected("hsdpa_keeper", f, "-o /tmp/calls -e trace=rt_sigaction,"), loop, 10),
        kOwnProcesses);
    EXPECT_TRUE(r.status == 0 || r.status == 124)
        << f.call << " failing with " << error_for(f.call) << " at " << f.when << ": status " << r.status;
  }
  printf("hsdpa_keeper: %zu faults injected before its loop\n", faults.size());
}
