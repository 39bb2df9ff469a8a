#!/bin/sh
# isp_table on files it cannot use or must read with care: missing,
# malformed, unreadable and special files, standard input, pipes and FIFOs,
# and output lost on a full disk.
# Usage: files.sh ISP_TABLE
# shellcheck source=tests/isp_table/lib.sh
. "$(dirname "$0")/lib.sh"
# Files it cannot use: a message naming the file, no table, and status 2
# for every verb, as for a table that cannot be read.
for bad in missing.xml malformed.xml wrong_root.xml; do
  for verb in '' 'extend extend_table.csv'; do
    # shellcheck disable=SC2086
    "$tool" $verb providers.xml "$bad" > "$out/table" 2> "$out/err"
    [ $? -eq 2 ] || fail "'$verb' $bad: want status 2"
    grep -q "^isp_table: cannot read $bad: " "$out/err" || fail "$bad: $(cat "$out/err")"
    [ ! -s "$out/table" ] || fail "$bad wrote a table"
  done
  "$tool" check against.csv --against providers.xml "$bad" > "$out/found" 2> "$out/err"
  [ $? -eq 2 ] || fail "--against $bad: want status 2"
  grep -q "^isp_table: cannot read $bad: " "$out/err" || fail "--against $bad: $(cat "$out/err")"
  [ ! -s "$out/found" ] || fail "--against $bad wrote findings"
done
# An input that cannot be read ends extend before the table is checked,
# as it ends check --against: status 2, and no finding of the table.
"$tool" extend hand_kept.csv missing.xml > "$out/table" 2> "$out/err"
[ $? -eq 2 ] || fail "extend of a table with errors, missing FILE: want status 2"
[ "$(cat "$out/err")" = "isp_table: cannot read missing.xml: No such file or directory" ] ||
  fail "extend of a table with errors, missing FILE: $(cat "$out/err")"
# Databases are read as tables are: regular files only, so a FIFO never
# blocks the run, with the system's own reason. Root reads a file of mode
# 000, so that case runs as nobody, with the tool and the good database
# copied where nobody reaches them (the clone may lie under /root).
mkfifo "$out/fifo.xml"
mkdir "$out/dir.xml"
cp providers.xml "$out/closed.xml"
chmod 000 "$out/closed.xml"
cp providers.xml "$out/open.xml"
cp "$tool" "$out/isp_table"
chmod 711 "$out"
as_user=
[ "$(id -u)" != 0 ] || as_user="setpriv --reuid=65534 --regid=65534 --clear-groups"
while IFS='|' read -r bad why; do
  $as_user timeout 10 "$out/isp_table" "$out/open.xml" "$out/$bad" > "$out/table" 2> "$out/err"
  status=$?
  [ $status -ne 124 ] || fail "$bad: still reading after 10 s"
  [ $status -eq 2 ] || fail "$bad: want status 2, not $status"
  [ "$(cat "$out/err")" = "isp_table: cannot read $out/$bad: $why" ] || fail "$bad: $(cat "$out/err")"
done <<EOF
missing.xml|No such file or directory
fifo.xml|not a regular file
dir.xml|not a regular file
closed.xml|Permission denied
EOF
for bad in missing.csv . ; do
  "$tool" check "$bad" > /dev/null 2> "$out/err"
  [ $? -eq 2 ] || fail "check $bad: want status 2"
  grep -q "^isp_table: cannot read $bad: " "$out/err" || fail "check $bad: $(cat "$out/err")"
done

# Output lost on a full disk is a failure, never a clean result.
for args in "diff hand_kept.csv hand_kept.csv" "check hand_kept.csv" providers.xml; do
  # shellcheck disable=SC2086
  "$tool" $args > /dev/full 2> /dev/null
  [ $? -eq 2 ] || fail "'$args' to a full disk: want status 2"
done
# Tables through a pipe ("diff old.csv <(git show v1:table.csv)", here
# /dev/stdin) or as "-" read as the file does, for every verb; verbs that
# read the table more than once see the same bytes each time.
for name in - /dev/stdin; do
  cat diff_new.csv | "$tool" diff diff_old.csv "$name" > "$out/diff"
  [ $? -eq 1 ] || fail "diff from $name: want status 1"
  same "$out/diff" expected_diff.txt "diff from $name"
  cat hand_kept.csv | "$tool" check "$name" > "$out/found"
  [ $? -eq 1 ] || fail "check from $name: want status 1"
  sed "s|^hand_kept.csv:|$name:|" expected_check.txt > "$out/want"
  same "$out/found" "$out/want" "check from $name"
  cat merged.csv | "$tool" check "$name" --imsi 405854000000000 > "$out/found"
  "$tool" check merged.csv --imsi 405854000000000 > "$out/want"
  same "$out/found" "$out/want" "explanation from $name"
  cat extend_table.csv | "$tool" extend "$name" providers.xml apns.xml > "$out/extended" 2> /dev/null ||
    fail "extend from $name: status $?"
  same "$out/extended" extended.csv "extend from $name"
done
# Standard input is a table only when it is a pipe, a socket or a regular
# file: a device is refused as a named one is, and a pipe is read up to
# 64 MiB, so that an endless one ends the run, never the memory.
while IFS=% read -r input name why; do
  timeout 20 sh -c "$input" "$tool" > "$out/found" 2> "$out/err"
  status=$?
  [ $status -eq 2 ] || fail "$input: want status 2, not $status"
  [ "$(cat "$out/err")" = "isp_table: cannot read $name: $why" ] || fail "$input: $(cat "$out/err")"
  [ ! -s "$out/found" ] || fail "$input wrote findings"
done <<EOF
"\$0" check - < /dev/zero%-%not a regular file or pipe
"\$0" check /dev/zero%/dev/zero%not a regular file or pipe
yes | "\$0" check -%-%more than 64 MiB
head -c 67108865 /dev/zero | "\$0" extend - providers.xml%-%more than 64 MiB
EOF
# A FIFO is read as any Unix tool reads one: a writer that comes late is
# waited for, never taken for an empty table.
mkfifo "$out/fifo.csv"
(sleep 0.5; cat hand_kept.csv > "$out/fifo.csv") &
timeout 10 "$tool" check "$out/fifo.csv" > "$out/found"
[ $? -eq 1 ] || fail "check of a FIFO written late: want status 1"
sed "s|^hand_kept.csv:|$out/fifo.csv:|" expected_check.txt > "$out/want"
same "$out/found" "$out/want" "check of a FIFO written late"
wait
# A table of no bytes through a pipe or a FIFO, most likely a file the
# shell emptied for the output ("extend <(cat t.csv) providers.xml >
# t.csv"), is refused as an empty file is.
while IFS=% read -r input name; do
  timeout 10 sh -c "$input" "$tool" > "$out/extended" 2> "$out/err"
  status=$?
  [ $status -eq 2 ] || fail "$input: want status 2, not $status"
  [ "$(cat "$out/err")" = "isp_table: $name is empty: no table to extend (was its file emptied by this command's own output, \"> FILE\" or \"| tee FILE\"?)" ] ||
    fail "$input: $(cat "$out/err")"
  [ ! -s "$out/extended" ] || fail "$input wrote a table"
done <<EOF
: | "\$0" extend - providers.xml%standard input
(sleep 0.5; : > "$out/fifo.csv") & "\$0" extend "$out/fifo.csv" providers.xml; s=\$?; wait; exit \$s%$out/fifo.csv
EOF
# Standard input that is the file standard output empties is refused too.
cp extend_table.csv "$out/self.csv"
"$tool" extend - providers.xml < "$out/self.csv" > "$out/self.csv" 2> "$out/err"
[ $? -eq 2 ] || fail "extend - < T > T: want status 2"
grep -qx "isp_table: standard output is the table -: write the extended table to another file" \
  "$out/err" || fail "extend - < T > T: $(cat "$out/err")"
# --json and --manifest never write over a file the run reads, nor over
# each other: status 2 before any work, every file as it was.
cp providers.xml "$out/in.xml" && cp hand_kept.csv "$out/in.csv" || exit 2
while IFS=% read -r args said; do
  eval "set -- $args"
  "$tool" "$@" > /dev/null 2> "$out/err"
  status=$?
  [ $status -eq 2 ] || fail "$args: want status 2, not $status"
  [ "$(head -n 1 "$out/err")" = "isp_table: $said" ] || fail "$args: $(head -n 1 "$out/err")"
  cmp -s "$out/in.xml" providers.xml && cmp -s "$out/in.csv" hand_kept.csv || fail "$args: an input changed"
  [ ! -e "$out/r.json" ] || fail "$args: wrote $out/r.json"
done <<EOF
"$out/in.xml" --json "$out/in.xml"%--json $out/in.xml is the input $out/in.xml: write it to another file
"$out/in.xml" --manifest "$out/in.xml"%--manifest $out/in.xml is the input $out/in.xml: write it to another file
check "$out/in.csv" --json "$out/in.csv"%--json $out/in.csv is the input $out/in.csv: write it to another file
diff hand_kept.csv "$out/in.csv" --json "$out/in.csv"%--json $out/in.csv is the input $out/in.csv: write it to another file
"$out/in.xml" --json "$out/r.json" --manifest "$out/r.json"%--json $out/r.json is the file of --manifest: write it to another file
check "$out/in.csv" --json ""%--json: needs a file name
"$out/in.xml" --manifest ""%--manifest: needs a file name
EOF
# A report an earlier run left is gone when this one cannot write its own.
echo '{"stale": 1}' > "$out/r.json"
"$tool" check "$out/missing.csv" --json "$out/r.json" 2> /dev/null
[ $? -eq 2 ] && [ ! -e "$out/r.json" ] || fail "check of no table left an earlier report"
finish "isp_table files: failures and readings as expected"
