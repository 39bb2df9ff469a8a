// Replays kept fuzz inputs through a target without libFuzzer, so that every
// test run tries the whole corpus. Each input's name is printed before it
// runs: a crash or a hang is then pinned on the input that caused it.
#include <dirent.h>
#include <errno.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

/// The files to replay for one argument: the files of a folder, sorted, or the file itself.
static std::vector<std::string> inputs_of(const std::string &path) {
  DIR *dir = opendir(path.c_str());
  if (!dir)
    return {path};
  std::vector<std::string> files;
  while (const dirent *e = readdir(dir))
    if (e->d_name[0] != '.')
      files.push_back(path + "/" + e->d_name);
  closedir(dir);
  std::sort(files.begin(), files.end());
  return files;
}

/// Runs one input; false when it cannot be read.
static bool replay(const std::string &file) {
  printf("replaying %s\n", file.c_str());
  fflush(stdout);
  std::ifstream in(file, std::ios::binary);
  if (!in)
    return false;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
  return true;
}

int main(int argc, char **argv) {
  size_t count = 0;
  for (int i = 1; i < argc; i++)
    for (const std::string &file : inputs_of(argv[i])) {
      if (!replay(file)) {
        fprintf(stderr, "%s: cannot read: %s\n", file.c_str(), strerror(errno));
        return 2;
      }
      count++;
    }
  printf("%zu inputs replayed\n", count);
  return count ? 0 : 1;
}
