#!/bin/sh
# Each program given (PATH or PATH:MAX_BYTES) must need the C library and
# nothing else at run time, and be no larger than MAX_BYTES when given.
# With --static first, each must need nothing at all: statically linked.
want="libc.so.6 "
if [ "$1" = --static ]; then want=""; shift; fi
status=0
for arg in "$@"; do
  program=${arg%%:*}
  max=${arg#"$program"}
  [ -f "$program" ] || { echo "$program: missing"; status=1; continue; }
  needed=$(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | tr '\n' ' ')
  size=$(stat -c %s "$program")
  echo "$program: $size bytes, needs: ${needed:-nothing}"
  [ "$needed" = "$want" ] || status=1
  if [ -z "$want" ] && readelf -l "$program" | grep -q INTERP; then status=1; fi
  [ -z "$max" ] || [ "$size" -le "${max#:}" ] || { echo "  larger than ${max#:} bytes"; status=1; }
done
exit $status
