// A simulated 3G card behind a pseudo-terminal, for tests against the real
// chat. It links LINK to the terminal's device and answers like a modem:
// echoes each command line, answers AT+CIMI with the IMSI (WCDMA/HSDPA card)
// or AT+CSS with "+CSS: 1,B,<SID>" (CDMA card), "OK" to AT and "ERROR" to the
// rest; or stays silent, or answers garbage. Runs until it is killed.
//
//   sim_modem LINK imsi DIGITS | sid NUMBER | silent | garbage
#include <pty.h>
#include <stdio.h>
#include <string.h>
#include <termios.h>
#include <unistd.h>

#include <string>

using namespace std::string_literals;

static std::string mode, value;

static void say(int fd, const std::string &text) {
  if (write(fd, text.data(), text.size()) < 0)
    _exit(1);
}

static std::string answer(const std::string &command) {
  // Bytes no card should send, then the "OK" that ends chat's wait.
  if (mode == "garbage")
    return "\r\n+CSS: \xff,,"s + '\0' + "\"\r\n+CIMI:\r\n" + std::string(300, ',') + "\r\nOK\r\n";
  if (command == "AT+CIMI" && mode == "imsi")
    return "\r\n" + value + "\r\n\r\nOK\r\n";
  if (command == "AT+CSS" && mode == "sid")
    return "\r\n+CSS: 1,B," + value + "\r\n\r\nOK\r\n";
  if (command == "AT")
    return "\r\nOK\r\n";
  return "\r\nERROR\r\n";
}

static void serve(int master) {
  std::string line;
  char c;
  while (read(master, &c, 1) == 1) {
    if (mode == "silent")
      continue;
    say(master, std::string(1, c));  // the card echoes what it receives
    if (c != '\r' && c != '\n') {
      line += c;
      continue;
    }
    if (!line.empty())
      say(master, answer(line));
    line.clear();
  }
}

int main(int argc, char **argv) {
  if (argc < 3) {
    fputs("usage: sim_modem LINK imsi DIGITS | sid NUMBER | silent | garbage\n", stderr);
    return 2;
  }
  mode = argv[2];
  value = argc > 3 ? argv[3] : "";
  int master, slave;
  char name[64];
  if (openpty(&master, &slave, name, nullptr, nullptr) < 0)
    return 1;
  // Raw, so that the terminal neither echoes nor translates: the card does.
  struct termios raw;
  tcgetattr(slave, &raw);
  cfmakeraw(&raw);
  tcsetattr(slave, TCSANOW, &raw);
  unlink(argv[1]);
  if (symlink(name, argv[1]) < 0)
    return 1;
  // The slave stays open so that the terminal lives on between chat runs.
  serve(master);
  return 0;
}
