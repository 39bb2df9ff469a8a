#!/bin/sh
# isp_table --manifest and verify: the manifest names each input and the
# table by their bytes, the same inputs give the same table in any order
# and locale, and verify names what changed or is missing.
# Usage: manifest.sh ISP_TABLE
# shellcheck source=tests/isp_table/lib.sh
. "$(dirname "$0")/lib.sh"
# Usage: value DOC EXPR: prints EXPR of the JSON document DOC (as d).
value() { python3 -c "import json,sys; d=json.load(open(sys.argv[1])); print($2)" "$1"; }
hash_of() { sha256sum "$1" | cut -d' ' -f1; }

# The same inputs in two orders and two locales: the same table, and the
# manifests name the same table.
LC_ALL=C "$tool" providers.xml apns.xml carriers.textpb --manifest "$out/m1.json" \
  > "$out/t1" 2> /dev/null || fail "generate in C: status $?"
LC_ALL=C.UTF-8 "$tool" carriers.textpb apns.xml providers.xml --manifest "$out/m2.json" \
  > "$out/t2" 2> /dev/null || fail "generate in C.UTF-8: status $?"
same "$out/t1" "$out/t2" "the table in two orders and locales"
[ "$(value "$out/m1.json" "d['table']['sha256']")" = "$(value "$out/m2.json" "d['table']['sha256']")" ] ||
  fail "the manifests' table hashes in two orders and locales"
valid_json "$out/m1.json" "generate's manifest"

# The manifest by hand: the inputs in command-line order with sha256sum's
# hashes and wc's sizes; what each states of itself (the root element's
# format and version, the carrier list's version line); the table as
# written, 17 rows after its header as expected.csv has them.
[ "$(value "$out/m1.json" "d['verb'], d['options']")" = "generate {'only': None}" ] ||
  fail "manifest: verb and options"
i=0
for f in providers.xml apns.xml carriers.textpb; do
  [ "$(value "$out/m1.json" "d['inputs'][$i]['path'], d['inputs'][$i]['size'], d['inputs'][$i]['sha256']")" = \
    "$f $(wc -c < $f) $(hash_of $f)" ] || fail "manifest: input $f"
  i=$((i + 1))
done
[ "$(value "$out/m1.json" "[(i['kind'], i['states']) for i in d['inputs']]")" = \
  "[('provider database', {'format': '2.0'}), ('android apn database', {'version': '8'}), ('carrier identity database', {'version': '7'})]" ] ||
  fail "manifest: kinds and states"
[ "$(value "$out/m1.json" "d['table']['sha256'], d['table']['size'], d['table']['rows']")" = \
  "$(hash_of "$out/t1") $(wc -c < "$out/t1") 17" ] || fail "manifest: the table"

# --manifest changes neither the table, nor the summary, nor the status.
for verb in "" "extend extend_table.csv"; do
  # shellcheck disable=SC2086
  "$tool" $verb --only de providers.xml apns.xml > "$out/plain" 2> "$out/plain_err"
  plain=$?
  # shellcheck disable=SC2086
  "$tool" $verb --only de providers.xml apns.xml --manifest "$out/m.json" > "$out/with" 2> "$out/with_err"
  [ $? = $plain ] || fail "${verb:-generate} --manifest: status"
  same "$out/plain" "$out/with" "${verb:-generate} --manifest: the table"
  same "$out/plain_err" "$out/with_err" "${verb:-generate} --manifest: standard error"
done
valid_json "$out/m.json" "extend's manifest"
[ "$(value "$out/m.json" "d['verb'], d['options']['only'], d['inputs'][0]['path'], d['inputs'][0]['kind']")" = \
  "extend de extend_table.csv kept table" ] || fail "extend's manifest: its kept table first"

# verify on fresh manifests, of generating and of extend, from the fixtures'
# folder as the runs were.
"$tool" verify "$out/m1.json" > "$out/found" 2>&1 || fail "verify generate: status $?"
echo "$out/m1.json: reproduced: generate of 3 inputs makes the table of 17 rows, sha256 $(hash_of "$out/t1")" > "$out/want"
same "$out/found" "$out/want" "verify generate"
"$tool" verify "$out/m.json" > "$out/found" 2>&1 || fail "verify extend: $(cat "$out/found")"

# Copies in a folder of their own, named relative to it: one byte of one
# changes (the name "Plain" to "Plaim"), verify names it, the table differs,
# status 1.
mkdir "$out/w" && cp providers.xml apns.xml "$out/w" || exit 2
w() { (cd "$out/w" && "$@"); }
w "$tool" providers.xml apns.xml --manifest m.json > "$out/w/t.csv" 2> /dev/null
recorded=$(hash_of providers.xml)
sed 's/>Plain</>Plaim</' providers.xml > "$out/w/providers.xml"
size=$(wc -c < providers.xml)
[ "$(cmp -l providers.xml "$out/w/providers.xml" | wc -l)" = 1 ] || fail "one byte changed"
w "$tool" verify m.json --json v.json > "$out/found" 2>&1
[ $? = 1 ] || fail "verify of a changed input: status"
grep -qx "m.json: input providers.xml changed: $size bytes, sha256 $(hash_of "$out/w/providers.xml"); recorded $size bytes, sha256 $recorded" "$out/found" ||
  fail "verify names the changed input: $(cat "$out/found")"
tail -n 1 "$out/found" | grep -qx 'm.json: not reproduced: 1 input changed, the table differs' ||
  fail "verify's last line: $(tail -n 1 "$out/found")"
valid_json "$out/w/v.json" "verify's report"
[ "$(value "$out/w/v.json" "[i['verdict'] for i in d['inputs']], d['table']['verdict'], d['reproduced']")" = \
  "['changed', 'unchanged'] differs False" ] || fail "verify's report: the verdicts"

# A change that leaves the table as it was (a line feed at the end) is
# still a changed input: not reproduced, status 1, the table the same.
cp providers.xml "$out/w/providers.xml" && echo >> "$out/w/providers.xml"
w "$tool" verify m.json > "$out/found" 2>&1
[ $? = 1 ] || fail "verify of an input changed but the same table: status"
tail -n 1 "$out/found" | grep -qx 'm.json: not reproduced: 1 input changed, the table is the same' ||
  fail "verify, the same table: $(tail -n 1 "$out/found")"

# A missing input and a file that is no manifest: status 2, no report.
rm "$out/w/apns.xml" "$out/w/v.json"
w "$tool" verify m.json --json v.json > /dev/null 2> "$out/err"
[ $? = 2 ] || fail "verify of a missing input: status"
grep -qx 'isp_table: cannot read apns.xml: No such file or directory' "$out/err" ||
  fail "missing input: $(cat "$out/err")"
[ -e "$out/w/v.json" ] && fail "verify wrote a report without its inputs"
echo '{"schema": 1, "tool": "isp_table", "version": "1.0.0", "report": "diff"}' > "$out/w/d.json"
for doc in t.csv d.json; do
  w "$tool" verify $doc > /dev/null 2> "$out/err"
  [ $? = 2 ] || fail "verify $doc: status"
  grep -q "^isp_table: cannot read $doc: not a manifest of isp_table: " "$out/err" ||
    fail "verify $doc: $(cat "$out/err")"
done
# One of more than 64 MiB is refused before it is read whole: a sparse file.
truncate -s 65M "$out/w/huge.json" || exit 2
w "$tool" verify huge.json > /dev/null 2> "$out/err"
[ $? = 2 ] || fail "verify of 65 MiB: status"
grep -qx 'isp_table: cannot read huge.json: more than 64 MiB' "$out/err" ||
  fail "verify of 65 MiB: $(cat "$out/err")"
rm -f "$out/w/huge.json"

# Another release's manifest is said, and checked all the same.
cp providers.xml apns.xml "$out/w"
sed 's/"version": "[^"]*"/"version": "0.0.1"/' "$out/w/m.json" > "$out/w/old.json"
w "$tool" verify old.json > /dev/null 2> "$out/err" || fail "verify of another release's manifest: status $?"
grep -qx "isp_table: note: old.json was written by isp_table 0.0.1, this is $("$tool" --version | cut -d' ' -f2)" "$out/err" ||
  fail "another release: $(cat "$out/err")"

# A manifest that cannot be written: status 2, the table written all the same.
"$tool" providers.xml apns.xml --manifest "$out/no/m.json" > "$out/t2.csv" 2> "$out/err"
[ $? = 2 ] || fail "unwritable manifest: status"
same "$out/w/t.csv" "$out/t2.csv" "unwritable manifest: the table"
grep -qx "isp_table: cannot write $out/no/m.json: No such file or directory" "$out/err" ||
  fail "unwritable manifest: $(cat "$out/err")"
finish "manifest: all cases pass"
