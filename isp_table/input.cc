#include "input.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <unistd.h>

#include "files.h"

// errno 0 is open_regular's word for a file that is there but no regular file.
static std::string reason() { return errno ? strerror(errno) : "not a regular file"; }

bool read_regular(const char *path, std::string *bytes, std::string *why) {
  errno = 0;
  int fd = open_regular(path, O_RDONLY);
  if (fd < 0) {
    *why = reason();
    return false;
  }
  char block[64 * 1024];
  ssize_t n;
  while ((n = read(fd, block, sizeof block)) != 0) {
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0)
      break;
    bytes->append(block, n);
  }
  if (n < 0)
    *why = reason();
  close(fd);
  return n == 0;
}
