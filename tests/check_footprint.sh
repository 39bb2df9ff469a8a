#!/bin/sh
# Each program given (PATH or PATH:MAX_BYTES) must need the C library and
# nothing else at run time, and be no larger than MAX_BYTES when given.
status=0
for arg in "$@"; do
  program=${arg%%:*}
  max=${arg#"$program"}
  needed=$(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | tr '\n' ' ')
  size=$(stat -c %s "$program")
  echo "$program: $size bytes, needs: $needed"
  [ "$needed" = "libc.so.6 " ] || status=1
  [ -z "$max" ] || [ "$size" -le "${max#:}" ] || { echo "  larger than ${max#:} bytes"; status=1; }
done
exit $status
