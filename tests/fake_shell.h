// Recording stand-in for isp_pick's shell runner, linked into unit tests.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

/// Every command line run, in order.
extern std::vector<std::string> commands_run;
/// First-line replies by command line; a missing entry prints nothing.
extern std::map<std::string, std::string> command_replies;
/// Command lines, or their beginnings, that the shell cannot be started
/// for: they return -1, as system() and popen() do when no process can be made.
extern std::set<std::string> not_started;
/// Command lines, or their beginnings, that run and end with this wait
/// status (127 << 8 for a command the shell cannot find, 9 for SIGKILL).
extern std::map<std::string, int> wait_statuses;
/// What a "chat" command leaves in /tmp/css_output; none when absent.
extern const char *chat_capture;

void reset_fake_shell();
