#!/bin/sh
# Each program given must need the C library and nothing else at run time.
status=0
for program in "$@"; do
  needed=$(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | tr '\n' ' ')
  echo "$program: $needed"
  [ "$needed" = "libc.so.6 " ] || status=1
done
exit $status
