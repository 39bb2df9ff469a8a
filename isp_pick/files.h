// Opening the router's fixed files. /tmp is writable by everyone: a FIFO or
// a device in a file's place would make a read block or never end, so only
// regular files are opened.
#pragma once

#include <stdio.h>

/// open(2) of `path` with `flags` (mode 0666 when it creates), without
/// blocking on a FIFO; returns the descriptor only when it is a regular
/// file, else -1 with errno telling why the open or fstat failed, or 0 when
/// the file is not one to open.
int open_regular(const char *path, int flags);

/// The same for a file that must be this program's own: a regular file
/// owned by the effective user, that its group and others cannot write,
/// with no second name (a hard link), never opened through a symbolic link.
/// Anything else someone may have planted.
int open_own_regular(const char *path, int flags);

/// open_regular and open_own_regular as stdio streams with `mode` ("r" or
/// "r+"), or nullptr.
FILE *fopen_regular(const char *path, const char *mode);
FILE *fopen_own_regular(const char *path, const char *mode);
