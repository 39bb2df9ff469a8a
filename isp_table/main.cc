// isp_table [FILE]: the router's operator table from the public mobile
// broadband provider database, on standard output; a summary on standard error.
#include <stdio.h>

#include <string>

#include "provider_db.h"
#include "table_writer.h"

static const char kDefaultDb[] = "/usr/share/mobile-broadband-provider-info/serviceproviders.xml";

int main(int argc, char **argv) {
  const char *path = argc > 1 ? argv[1] : kDefaultDb;
  ProviderDb db;
  std::string error;
  if (!load_provider_db(path, &db, &error)) {
    fprintf(stderr, "isp_table: cannot read %s: %s\n", path, error.c_str());
    return 1;
  }
  write_operator_table(db, stdout, stderr);
  if (fflush(stdout) != 0 || ferror(stdout)) {
    perror("isp_table: writing the table");
    return 1;
  }
  return 0;
}
