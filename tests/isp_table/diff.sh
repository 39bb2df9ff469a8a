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

# --gate: of the seven changes, 262-01's and 405-854's APNs change and 262-03
# loses its profile; 262-02 gains, the rest change an index, a user or a
# number, which pass. Usage: gate NAME STATUS [ALLOWANCE...]: each
# ALLOWANCE a line of the file $out/NAME, whose gate must end with STATUS
# and print what $out/NAME.want holds after diff's text.
gate() {
  name=$1 want=$2
  shift 2
  printf '%s\n' "$@" > "$out/$name"
  "$tool" diff diff_old.csv diff_new.csv --gate "$out/$name" > "$out/$name.out" 2> "$out/$name.err"
  got=$?
  [ "$got" -eq "$want" ] || fail "gate $name: status $got, want $want"
  [ ! -s "$out/$name.err" ] || fail "gate $name: $(cat "$out/$name.err")"
  cat expected_diff.txt "$out/$name.want" > "$out/$name.whole"
  same "$out/$name.out" "$out/$name.whole" "gate $name: its output"
}
apn1='262-01 "internet.t-mobile" -> "internet.telekom" 2026-11-30 Telekom renamed its APN'
loss='262-03 "internet.eplus.de" -> - 2026-11-30 E-Plus shut down'
apn2='405-854 "jionet" -> "jionet.854"	2026-12-01 	 own APN for 405-854  '
cat > "$out/none.want" <<EOF
$out/none: error: 262-01 "internet.t-mobile" -> "internet.telekom": the APN changes, and no allowance matches
$out/none: error: 262-03 "internet.eplus.de" -> -: the profile is lost, and no allowance matches
$out/none: error: 405-854 "jionet" -> "jionet.854": the APN changes, and no allowance matches
gate: 3 changes counted: 0 allowed, 3 not allowed; 0 of 0 allowances stale
EOF
gate none 1 '# nothing allowed' ''
cat > "$out/loss.want" <<EOF
$out/loss: error: 262-03 "internet.eplus.de" -> -: the profile is lost, and no allowance matches
gate: 3 changes counted: 2 allowed, 1 not allowed; 0 of 2 allowances stale
EOF
gate loss 1 "$apn1" "$apn2"
cat > "$out/apn.want" <<EOF
$out/apn: error: 262-01 "internet.t-mobile" -> "internet.telekom": the APN changes, and no allowance matches
gate: 3 changes counted: 2 allowed, 1 not allowed; 0 of 2 allowances stale
EOF
gate apn 1 "$loss" "$apn2"
echo 'gate: 3 changes counted: 3 allowed, 0 not allowed; 0 of 3 allowances stale' > "$out/all.want"
gate all 0 "$apn1" '' '  # the loss' "$loss" "$apn2"
# An allowance of another APN after, or of a group that changes nothing,
# is stale: a warning at its line, status 0 all the same.
cat > "$out/stale.want" <<EOF
$out/stale:2: warning: 262-01 "internet.t-mobile" -> "internet.t-mobile.de": no SIM group changes so (a stale allowance)
$out/stale:5: warning: SID 2222 "" -> -: no SIM group changes so (a stale allowance)
gate: 3 changes counted: 3 allowed, 0 not allowed; 2 of 5 allowances stale
EOF
gate stale 0 "$apn1" '262-01 "internet.t-mobile" -> "internet.t-mobile.de" 2026-11-30 was planned' \
  "$loss" "$apn2" 'SID 2222 "" -> - 2026-11-30 no CDMA there'
# --json with --gate: the same text and status; the verdict in "gate".
"$tool" diff diff_old.csv diff_new.csv --gate "$out/loss" --json "$out/gate.json" > "$out/gate_out" 2>&1
[ $? -eq 1 ] || fail "gate --json: want status 1"
same "$out/gate_out" "$out/loss.out" "gate --json: the text"
valid_json "$out/gate.json" "gate --json"
python3 - "$out/gate.json" "$out/loss" <<'PY' || fail "gate --json: values"
import json, sys
g = json.load(open(sys.argv[1]))["gate"]
assert g["allowances"] == sys.argv[2] and g["counted"] == 3
assert [(a["name"], a["before"], a["after"], a["line"]) for a in g["allowed"]] == [
    ("262-01", "internet.t-mobile", "internet.telekom", 1), ("405-854", "jionet", "jionet.854", 2)]
assert (g["allowed"][1]["date"], g["allowed"][1]["reason"]) == ("2026-12-01", "own APN for 405-854")
assert [(f["line"], f["severity"], f["code"]) for f in g["not_allowed"]] == [(0, "error", "loss-not-allowed")]
assert g["stale"] == []
PY
# Malformed lines, each one named: status 2, nothing decided, no report.
cat > "$out/bad" <<'EOF'
# allowances
262-01 "internet.t-mobile" -> "internet.telekom" 2026-11-30
26201 "internet.t-mobile" -> "internet.telekom" 2026-11-30 no dash
262-03 internet.eplus.de -> - 2026-11-30 not quoted
262-03 "internet.eplus.de" - 2026-11-30 no arrow
262-03 "internet.eplus.de" -> - 2026-02-30 no such day
262-03 "intern\x65t" -> - 2026-11-30 not as diff quotes it
262-02 - -> "web.vodafone.de" 2026-11-30 a gain
405-854 "jionet" -> "jionet.854" 2026-12-01 fine
405-854 "jionet" -> "jionet.854" 2026-12-02 twice
EOF
cat > "$out/bad.want" <<EOF
$out/bad:2: error: no reason after the date: say why the change is allowed
$out/bad:3: error: "26201" is no SIM group as diff names one (262-01, 405-854, SID 14554-14574, SID other)
$out/bad:4: error: want the APN before as diff quotes it ("internet"), or - for no profile, not internet.eplus.de
$out/bad:5: error: want -> between the APNs, not -
$out/bad:6: error: want the date as YYYY-MM-DD after the APNs, not 2026-02-30
$out/bad:7: error: diff quotes the APN before "internet", not "intern\x65t"
$out/bad:8: error: a group that gains a profile always passes the gate: nothing to allow
$out/bad:10: error: the same change as line 9
EOF
"$tool" diff diff_old.csv diff_new.csv --gate "$out/bad" --json "$out/bad.json" > "$out/bad.out" 2> "$out/bad.err"
[ $? -eq 2 ] || fail "gate on malformed lines: want status 2"
[ ! -s "$out/bad.out" ] && [ ! -e "$out/bad.json" ] || fail "gate on malformed lines: decided something"
same "$out/bad.err" "$out/bad.want" "gate on malformed lines: the errors"
"$tool" diff diff_old.csv diff_new.csv --gate "$out/missing" > /dev/null 2> "$out/err"
[ $? -eq 2 ] || fail "gate on a missing file: want status 2"
grep -q "^isp_table: cannot read $out/missing: " "$out/err" || fail "gate on a missing file: $(cat "$out/err")"
# The null device allows nothing; a first release only gains, and passes.
"$tool" diff /dev/null diff_old.csv --gate /dev/null | tail -n 1 |
  grep -qx 'gate: 0 changes counted: 0 allowed, 0 not allowed; 0 of 0 allowances stale' ||
  fail "gate on a first release"
finish "isp_table diff: changes as expected"
