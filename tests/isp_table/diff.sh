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
# --json: the same text and status, and a report of the same changes:
# the values below are read off the two tables by hand.
"$tool" diff diff_old.csv diff_new.csv --json "$out/diff.json" > "$out/json_out" 2> "$out/json_err"
[ $? -eq 1 ] || fail "diff --json: want status 1"
same "$out/json_out" expected_diff.txt "diff --json: the text"
[ ! -s "$out/json_err" ] || fail "diff --json: $(cat "$out/json_err")"
valid_json "$out/diff.json" "diff --json"
python3 - "$out/diff.json" <<'PY' || fail "diff --json: values"
import json, sys
d = json.load(open(sys.argv[1]))
c = {x["name"]: x for x in d["changes"]}
assert (d["report"], d["old"], d["new"], d["groups"]) == ("diff", "diff_old.csv", "diff_new.csv", 308)
assert d["counts"] == {"changing": 7, "changed": 5, "gaining": 1, "losing": 1}, d["counts"]
assert [x["name"] for x in d["changes"]] == ["262-01", "262-02", "262-03", "405-854", "405-891",
                                            "SID 14554-14574", "SID other"]
assert c["262-01"]["group"] == {"mcc": "262", "mnc_from": "010", "mnc_to": "019", "except": []}
assert c["262-01"]["change"] == "changed"
assert (c["262-01"]["before"]["apn"], c["262-01"]["after"]["apn"]) == ("internet.t-mobile", "internet.telekom")
assert (c["262-01"]["before"]["line"], c["262-01"]["after"]["line"]) == (2, 3)
assert c["262-02"]["before"] is None and c["262-02"]["after"]["password"] == "vf\t1"
assert c["262-03"]["change"] == "loses" and c["262-03"]["after"] is None
assert c["262-03"]["before"] == {"line": 3, "index": "3", "system": 0, "apn": "internet.eplus.de",
                                 "user": "e\ufffdplus", "password": "gprs", "number": "*99#"}
assert c["405-854"]["group"] == {"mcc": "405", "mnc_from": "854", "mnc_to": "854", "except": []}
assert c["405-891"]["after"]["system"] == 1
assert c["SID 14554-14574"]["group"] == {"sid_from": 14554, "sid_to": 14574}
assert c["SID other"]["group"] == {"sid": "other"} and c["SID other"]["after"]["number"] == "#778"
assert "gate" not in d
PY
"$tool" diff diff_old.csv . --json "$out/none.json" 2> /dev/null
[ $? -eq 2 ] && [ ! -e "$out/none.json" ] || fail "diff --json on a table it cannot read: no report"
"$tool" diff diff_old.csv diff_new.csv --json "$out/no/such/dir.json" > /dev/null 2> "$out/err"
[ $? -eq 2 ] || fail "diff --json to a folder that is not there: want status 2"
grep -q "^isp_table: cannot write $out/no/such/dir.json: " "$out/err" || fail "diff --json unwritable: $(cat "$out/err")"

finish "isp_table diff: changes as expected"
