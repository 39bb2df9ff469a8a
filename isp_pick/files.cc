#include "files.h"

#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

int open_regular(const char *path, int flags) {
  int fd = open(path, flags | O_NONBLOCK, 0666);
  if (fd < 0)
    return -1;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return -1;
  }
  return fd;
}

FILE *fopen_regular(const char *path, const char *mode) {
  int fd = open_regular(path, strchr(mode, '+') ? O_RDWR : O_RDONLY);
  if (fd < 0)
    return nullptr;
  FILE *f = fdopen(fd, mode);
  if (!f)
    close(fd);
  return f;
}
