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
# --json: the same text and status, and the run as a report, worked out
# from the explanations above.
with_json "explain --imsi --json" "$out/r.json" explain merged.csv --imsi 405850000000000
json_is "$out/r.json" 'd["report"], d["table"], d["imsi"], d["searched"]' \
  "explain merged.csv 405850000000000 [{'mcc': '405', 'mnc': '850', 'line': None}, {'mcc': '405', 'mnc': '85', 'line': 13}]" \
  "explain --imsi --json"
json_is "$out/r.json" 'd["answer"]' \
  "{'line': 13, 'index': '240585', 'system': 0, 'apn': 'long', 'user': '', 'password': '', 'number': '*99#'}" \
  "explain --imsi --json"
# check --sid writes explain's report; line 30's APN ends with its CR.
with_json "check --sid --json" "$out/r.json" check merged.csv --sid 14494
json_is "$out/r.json" 'd["report"], d["sid"], d["searched"], d["answer"]["system"], d["answer"]["user"]' \
  "explain 14494 [{'mcc': '404', 'mnc': '80', 'line': 11}] 1 cdma" "check --sid --json"
with_json "check --imsi --json, a CR" "$out/r.json" check hand_kept.csv --imsi 262201234567890
json_is "$out/r.json" 'repr(d["answer"]["apn"])' "'internet\\r'" "check --imsi --json, a CR"
# No line answers: status 1, and the report says so.
with_json "explain --sid 0 --json" "$out/r.json" explain hand_kept.csv --sid 0
json_is "$out/r.json" 'd["sid"], d["searched"], d["answer"]' "0 [] None" "explain --sid 0 --json"
with_json "explain --imsi --json, no line" "$out/r.json" explain hand_kept.csv --imsi 310260000000000
json_is "$out/r.json" 'd["searched"], d["answer"]' "[{'mcc': '310', 'mnc': '26', 'line': None}] None" \
  "explain --imsi --json, no line"
# A table that cannot be read leaves no report; a report that cannot be
# written is status 2.
rm -f "$out/r.json"
"$tool" explain "$out/missing.csv" --imsi 262011234567890 --json "$out/r.json" 2> /dev/null
[ $? -eq 2 ] && [ ! -e "$out/r.json" ] || fail "explain of no table wrote a report"
"$tool" explain hand_kept.csv --sid 3000 --json "$out/none/r.json" > /dev/null 2>&1
[ $? -eq 2 ] || fail "explain --json into no folder: want status 2"
# explain --key --json: the same text and status with it; the report is
# the key's account, as a generated row's. 262-071 is looked up by 262-07,
# whose row the carrier list decides (carriers.textpb:5 names Plain Mobil).
with_json "explain --key --json" "$out/key.json" explain providers.xml apns.xml \
  carriers.textpb --key 262-071 || fail "explain --key --json: status $?"
json_values "$out/key.json" "explain --key --json" <<'EOF'
d["report"], d["key"], d["network"] => ["explain", "262-07", "262-071"]
d["index"], d["apn"], d["decided_by"] => ["226207", "internet.plain", "carrier-list"]
[c["operator"] for c in d["candidates"]] => ["Plain", "Web DE"]
d["candidates"][0]["signs"]["carrier-list"], d["candidates"][1]["signs"]["carrier-list"] => [1, 0]
[(e["file"], e["line"]) for e in d["candidates"][1]["apns"][0]["entries"]] => [["apns.xml", 25], ["apns.xml", 26]]
EOF
# A key without a row: status 1, its row's values null. Its one listing,
# Comma's (providers.xml:100), has a comma in its APN.
with_json "explain --key --json, no row" "$out/none.json" explain providers.xml \
  --key 404-01
[ $? -eq 1 ] || fail "explain --key --json, no row: status not 1"
json_values "$out/none.json" "explain --key --json, no row" <<'EOF'
d["key"], d["index"], d["apn"], d["decided_by"], d["candidates"] => ["404-01", null, null, null, []]
d["left_out"] => [{"apn": "a,b", "entry": {"file": "providers.xml", "line": 100, "name": "Comma", "reseller": false, "networks": ["404-01"]}, "why": "comma-in-value"}]
EOF
# Both documents are the per-key object itself, whatever else an explain
# report may be. ("$ref" is the schema's word.)
# shellcheck disable=SC2016
python3 -c 'import json, sys, jsonschema
schema = json.load(open(sys.argv[1]))
for doc in sys.argv[2:]:
    jsonschema.validate(json.load(open(doc)), dict(schema, **{"$ref": "#/definitions/explain_key"}))' \
  "$schema" "$out/key.json" "$out/none.json" || fail "explain --key --json: not an explain_key"
# An input it cannot read: status 2, no report.
"$tool" explain none.xml --key 262-07 --json "$out/unread.json" 2> /dev/null
status=$?
if [ $status -ne 2 ] || [ -e "$out/unread.json" ]; then fail "explain --key --json of no input"; fi
finish "isp_table explain: explanations as expected"
