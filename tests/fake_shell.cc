#include "fake_shell.h"

#include <stdio.h>
#include <string.h>

#include "shell.h"

std::vector<std::string> commands_run;
std::map<std::string, std::string> command_replies;
std::set<std::string> not_started;
std::map<std::string, int> wait_statuses;
const char *chat_capture;

void reset_fake_shell() {
  commands_run.clear();
  command_replies.clear();
  not_started.clear();
  wait_statuses.clear();
  chat_capture = nullptr;
}

int run_command(const char *line, char *reply, int reply_size) {
  commands_run.push_back(line);
  for (const std::string &start : not_started)
    if (std::string(line).compare(0, start.size(), start) == 0)
      return -1;
  if (strncmp(line, "chat ", 5) == 0 && chat_capture) {
    FILE *f = fopen("/tmp/css_output", "w");
    fputs(chat_capture, f);
    fclose(f);
  }
  if (!reply) {
    for (const auto &status : wait_statuses)
      if (std::string(line).compare(0, status.first.size(), status.first) == 0)
        return status.second;
    return 0;
  }
  auto it = command_replies.find(line);
  if (it == command_replies.end() || it->second.empty())
    return -1;
  // Like fgets on a pipe: one line, at most reply_size - 1 characters.
  std::string first = it->second.substr(0, it->second.find('\n'));
  if (first.size() < it->second.size())
    first += '\n';
  snprintf(reply, reply_size, "%s", first.substr(0, reply_size - 1).c_str());
  return 1;
}
