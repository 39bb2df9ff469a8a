#!/bin/sh
# isp_table diff on two tables of our own, and on tables it cannot read.
# Usage: diff.sh ISP_TABLE
# shellcheck source=tests/isp_table/lib.sh
. "$(dirname "$0")/lib.sh"
# What a new table changes for each SIM, worked out by hand from the two
# tables: 262-01's APN, 262-02 gained, 262-03 lost (a tab and a byte above
# 126 shown escaped), 405-854 under 405-85, 405,891 for IMSI 405891 and its
# SID range, the placeholder row for a SID outside the table. 310,26 moved
# to another line and renamed: no line. 308 groups: 100 each under 262 and
# 310, 102 under 405, five SID ranges and SID other; 307 for diff_old.csv
# alone, which has no 405,854.
"$tool" diff diff_old.csv diff_new.csv > "$out/diff"
[ $? -eq 1 ] || fail "diff: want status 1"
same "$out/diff" expected_diff.txt "diff of diff_old.csv and diff_new.csv"
"$tool" diff diff_old.csv diff_old.csv | grep -qx '0 of 307 SIM groups change: 0 changed, 0 gaining, 0 losing' ||
  fail "diff of a table with itself"
while read -r old new bad; do
  "$tool" diff "$old" "$new" > /dev/null 2> "$out/err"
  [ $? -eq 2 ] || fail "diff $old $new: want status 2"
  grep -q "^isp_table: cannot read $bad: " "$out/err" || fail "diff $old $new: $(cat "$out/err")"
done <<EOF
missing.csv diff_new.csv missing.csv
diff_old.csv . .
EOF
finish "isp_table diff: changes as expected"
