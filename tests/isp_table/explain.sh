#!/bin/sh
# isp_table explain, and check --imsi and --sid: single runs explained on
# the fixture tables.
# Usage: explain.sh ISP_TABLE
# shellcheck source=tests/isp_table/lib.sh
. "$(dirname "$0")/lib.sh"
# Single runs explained, on both paths. Values are shown escaped, as diff
# shows them: line 30's APN ends with a CR, which goes to the store.
while read -r table option value; do
  echo "\$ isp_table check $table $option $value"
  "$tool" check "$table" "$option" "$value"
  echo "status $?"
done > "$out/explained" <<EOF
hand_kept.csv --imsi 262011234567890
hand_kept.csv --imsi 310260000000000
merged.csv --imsi 405854000000000
merged.csv --imsi 405850000000000
merged.csv --sid 14494
merged.csv --sid 14818
hand_kept.csv --sid 3000
hand_kept.csv --sid 0
hand_kept.csv --imsi 262201234567890
EOF
same "$out/explained" expected_explain.txt "explanations"
# explain is a verb of its own: the same output and status as check's options.
sed -e 's/^\$ isp_table check /$ isp_table explain /' expected_explain.txt > "$out/want"
while read -r table option value; do
  echo "\$ isp_table explain $table $option $value"
  "$tool" explain "$table" "$option" "$value"
  echo "status $?"
done > "$out/explained" <<EOF
$(sed -n 's/^\$ isp_table check //p' expected_explain.txt)
EOF
# A SID is decimal.
"$tool" check hand_kept.csv --sid 010 | grep -q '^SID 10: ' || fail "--sid 010"
finish "isp_table explain: explanations as expected"
