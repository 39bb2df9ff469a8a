#include "driver.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files.h"
#include "identity.h"
#include "imsi_capture.h"
#include "operator_table.h"
#include "sid_query.h"
#include "sid_table.h"
#include "store_client.h"
#include "run.h"

char mcc[kCodeSize];
char mnc[kCodeSize];

static const char kMemoPath[] = "/tmp/former_isp";
constexpr mode_t kMemoMode = 0644;  // whatever the umask: only we may write it

// The memo holds the identity handled last. Containment, not equality, says
// "the same": a memo word that merely starts with the identity counts too.
// A memo someone else made in /tmp counts as none: it must not make the
// router skip its profile.
static bool memo_holds(const char *identity) {
  FILE *memo = fopen_own_regular(kMemoPath, "r+");
  if (!memo)
    return false;
  char former[kIdentitySize];
  bool same = fscanf(memo, "%7s", former) == 1 && strstr(former, identity);
  if (same)
    fprintf(stderr, "current isp:%s, former isp:%s, Since the same, exit isp_pick\n", identity,
            former);
  fclose(memo);
  return same;
}

// Written by the program itself: the identity comes from the modem and must
// not reach a shell. Whatever else stands in its place (a link, a FIFO, a
// file of another user) is replaced, never written through.
static void memo_write(const char *identity) {
  int fd = open_own_regular(kMemoPath, O_WRONLY);
  if (fd < 0 && (unlink(kMemoPath) == 0 || errno == ENOENT)) {
    fd = open(kMemoPath, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, kMemoMode);
    // The umask may only have taken bits away: a failed change is safe.
    if (fd >= 0)
      fchmod(fd, kMemoMode);
  }
  if (fd < 0)
    return;
  if (ftruncate(fd, 0) != 0) {
    close(fd);
    return;
  }
  char text[kIdentitySize + 1];
  int len = snprintf(text, sizeof text, "%s\n", identity);
  ssize_t written = write(fd, text, len);
  (void)written;
  close(fd);
}

// A memo that cannot be removed is emptied: holding the identity, it would
// make the next run skip a profile that was never applied.
static void memo_remove() {
  if (unlink(kMemoPath) != 0 && errno != ENOENT)
    memo_write("");
}

// The identity this run remembers once its profile is in the store; empty
// on a path that leaves the memo as it was.
static char remembered[kIdentitySize];

// The memo check of both paths; true when the identity is unchanged.
static bool identity_unchanged() {
  // Each code holds at most three characters.
  snprintf(remembered, sizeof remembered, "%.3s%.3s", mcc, mnc);
  return memo_holds(remembered);
}

// No profile, or a store write that failed and so may have left its item
// as it was: the memo goes, so that the next run tries again.
static int forget() {
  memo_remove();
  return -1;
}

// The memo is written only once the store holds the profile: a run that
// ends on the way (killed while `flash` hangs, say) must not leave a memo
// that makes the next run skip a profile never applied.
static int apply_profile() {
  if (set_to_mib() < 0)
    return forget();
  if (remembered[0])
    memo_write(remembered);
  return 1;
}

// The lookups in order, until one finds the profile. A table that could not
// be read ends them: a later, shorter key would find a row the first key's
// lookup may have hidden, and apply the wrong profile.
static int look_up(bool from_imsi) {
  LookupKey keys[kMaxLookups];
  int count = lookup_order(mcc, mnc, from_imsi, keys);
  for (int i = 0; i < count; i++) {
    memcpy(mcc, keys[i].mcc, sizeof mcc);
    memcpy(mnc, keys[i].mnc, sizeof mnc);
    int found = parse();
    if (found > 0)
      return apply_profile();
    if (found == kUnreadable)
      break;
  }
  return forget();
}

static int imsi_path() {
  if (identity_unchanged())
    return 1;
  return look_up(true);
}

// The SID table's identity is looked up exactly as the table gives it.
static int sid_path() {
  int sid = getsid();
  fprintf(stderr, "---get SID: %d---\n", sid);
  if (sid != -1 && mapping(sid) == 1 && identity_unchanged())
    return 1;
  if (sid < 1)
    return -1;
  return look_up(false);
}

int auto_select() {
  if (getplmn() == 1)
    return imsi_path();
  return sid_path();
}
