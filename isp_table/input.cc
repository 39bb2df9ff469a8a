#include "input.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>

#include "files.h"

std::string open_failure(const char *kind) { return errno ? strerror(errno) : kind; }

// Reads `fd` to its end into `bytes`, at most `limit` bytes, so that an
// endless pipe ends the run with a reason, never the memory. Standard
// input left without blocking by another program is waited on when it has
// nothing yet.
static bool read_all(int fd, size_t limit, std::string *bytes, std::string *why) {
  char block[64 * 1024];
  for (;;) {
    ssize_t n = read(fd, block, sizeof block);
    if (n == 0)
      return true;
    if (n > 0) {
      bytes->append(block, n);
      if (bytes->size() > limit) {
        *why = "more than " + std::to_string(limit >> 20) + " MiB";
        return false;
      }
      continue;
    }
    if (errno == EINTR)
      continue;
    if (errno != EAGAIN)
      break;
    struct pollfd ready = {fd, POLLIN, 0};
    if (poll(&ready, 1, -1) < 0 && errno != EINTR)
      break;
  }
  *why = strerror(errno);
  return false;
}

bool read_regular(const char *path, std::string *bytes, std::string *why, size_t limit) {
  errno = 0;
  int fd = open_regular(path, O_RDONLY);
  if (fd < 0) {
    *why = open_failure("not a regular file");
    return false;
  }
  bool whole = read_all(fd, std::min(limit, bytes->max_size()), bytes, why);
  close(fd);
  return whole;
}

// The copy is a file in memory, a regular file to isp_pick's reader, that
// each read of the table opens afresh through /proc.
static bool memory_copy(const std::string &bytes, std::string *path) {
  int fd = memfd_create("isp_table table", MFD_CLOEXEC);
  if (fd < 0)
    return false;
  for (size_t done = 0; done < bytes.size();) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0) {
      close(fd);
      return false;
    }
    done += n;
  }
  *path = "/proc/self/fd/" + std::to_string(fd);  // open for the whole run
  return true;
}

bool stat_table(const char *path, struct stat *st) {
  return strcmp(path, "-") == 0 ? fstat(STDIN_FILENO, st) == 0 : stat(path, st) == 0;
}

// The null device under any name: /dev/null itself, /dev/stdin or "-" when
// standard input is redirected from it.
static bool is_null(const struct stat &st) {
  struct stat null;
  return S_ISCHR(st.st_mode) && stat("/dev/null", &null) == 0 && S_ISCHR(null.st_mode) &&
         st.st_rdev == null.st_rdev;
}

bool null_device(const char *path) {
  struct stat st;
  return stat_table(path, &st) && is_null(st);
}

// A named table read into memory: a FIFO or a pipe, and the null device,
// the empty table that "diff /dev/null new.csv" gives as a first release.
static bool copied(const char *path) {
  struct stat st;
  return stat(path, &st) == 0 && (S_ISFIFO(st.st_mode) || is_null(st));
}

// Standard input is a table when it is a pipe, a socket, a regular file or
// the null device; another device such as /dev/zero or a terminal is
// refused as a named one is.
static bool table_input(int fd, std::string *why) {
  struct stat st;
  if (fstat(fd, &st) != 0) {
    *why = strerror(errno);
    return false;
  }
  if (S_ISREG(st.st_mode) || S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode) || is_null(st))
    return true;
  *why = kNotATable;
  return false;
}

namespace {
std::map<std::string, std::string> copies;  // a table's name -> its copy's path
}  // namespace

// A FIFO is opened blocking, as any Unix tool opens one: a writer that
// comes late is waited for, and one that never comes is the user's to stop.
const char *table_source(const char *path, std::string *why) {
  auto copy = copies.find(path);
  if (copy != copies.end())
    return copy->second.c_str();
  bool standard_input = strcmp(path, "-") == 0;
  if (!standard_input && !copied(path))
    return path;
  if (standard_input && !table_input(STDIN_FILENO, why))
    return nullptr;
  int fd = standard_input ? STDIN_FILENO : open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *why = strerror(errno);
    return nullptr;
  }
  std::string bytes, source;
  bool whole = read_all(fd, kMemoryInputMax, &bytes, why);
  if (!standard_input)
    close(fd);
  if (!whole)
    return nullptr;
  if (!memory_copy(bytes, &source)) {
    *why = strerror(errno);
    return nullptr;
  }
  return copies.emplace(path, source).first->second.c_str();
}
