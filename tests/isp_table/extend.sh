#!/bin/sh
# isp_table extend on hand-kept tables: the extended table and its summary,
# the review of kept rows, the public rows' indexes, and the tables it
# refuses to extend.
# Usage: extend.sh ISP_TABLE
# shellcheck source=tests/isp_table/lib.sh
. "$(dirname "$0")/lib.sh"
# An empty spreadsheet row is no row (the check's warning on it is a unit
# test, isp_table_check_unit): extend runs and counts the two rows the
# check counts.
for empty in ',,,,,,,,,' '   ' ';;;;;;;;;' '\t\t' ' , ;'; do
  printf "I,M,N,O,R,S,A,D,U,P\r\n1,262,01,A,DE,HSDPA,a,*99#,NA,NA\r\n2,NA,NA,Any,XX,CDMA2000,NA,#777,NA,NA\r\n$empty\r\n" > "$out/empty_row.csv"
  "$tool" extend "$out/empty_row.csv" providers.xml > /dev/null 2> "$out/summary" ||
    fail "extend, empty row '$empty': status $?"
  grep -qx '  rows kept: 2' "$out/summary" || fail "extend, empty row '$empty': $(grep kept "$out/summary")"
done
# A last line ended by CR alone gets the LF it lacks before the public
# rows, not another CR LF.
printf 'I,M,N,O,R,S,A,D,U,P\r\n1,262,01,A,DE,HSDPA,a,*99#,NA,NA\r' > "$out/cr_end.csv"
"$tool" extend "$out/cr_end.csv" providers.xml 2> /dev/null | sed -n 2p | od -An -c | tr -s ' ' > "$out/found"
printf '1,262,01,A,DE,HSDPA,a,*99#,NA,NA\r\n' | od -An -c | tr -s ' ' > "$out/want"
same "$out/found" "$out/want" "extend of a table ending in CR"

# A hand-kept table extended from both databases, worked out by hand from
# merged.csv: its rows byte for byte, the placeholder row moved last, public
# rows indexed by their keys as merged.csv has them. Left out: 262,07 and 405,85 (the table's own rows
# answer them), 404,80 (its CDMA row) and 405,854 (405854 is served by the
# table's 405,85). Of them, 262,07 and 405,85 differ in profile: one line
# each, the two keys 405,85 and 405,854 on the table's one 405,85 row; for
# CDMA 404,80 the public data names no APN.
"$tool" extend extend_table.csv providers.xml apns.xml > "$out/extended" 2> "$out/summary" ||
  fail "extend: status $?"
same "$out/extended" extended.csv "extended table"
# FILEs after "--" come after those before it, wherever it stands.
for args in "providers.xml -- apns.xml" "-- providers.xml apns.xml"; do
  # shellcheck disable=SC2086
  "$tool" extend extend_table.csv $args 2> /dev/null | cmp -s - extended.csv || fail "extend T $args"
done
sed -n '/^extended table/,$p' "$out/summary" > "$out/added"
cat > "$out/want" <<EOF
extended table extend_table.csv:
  rows kept: 5
  public rows written: 13
  public rows left out, the table serves their SIMs: 4
  rows whose profile is not the public data's first (kept -> public): 2
    extend_table.csv:2: "Plain Own" (262-07): APN "internet.own" -> "internet.plain", user "own" -> "user", password "pw" -> "secret": "internet.own" is not listed for these networks: likely wrong
    extend_table.csv:4: "Own India" (405-85, 405-854): APN "own.in" -> "long": "own.in" is not listed for these networks: likely wrong
EOF
same "$out/added" "$out/want" "extend summary"
"$tool" check "$out/extended" > "$out/found" || fail "extended table: $(cat "$out/found")"
# The review compares what the router stores, against providers.xml alone:
# Host ranks "wholesale" before its own "fast.host" on 310-26 (a choice);
# 262-09's "web" and 262-07's login as listed, case aside, with another
# user or number; IoT GID1's "iot.gid" is a marked reseller's on 405-85,
# said so; 262-08's row is the public data's own: no line;
# a CDMA row for GSM 732-12 gives its SIMs another technology.
{ printf 'I,M,N,O,R,S,A,D,U,P\r\n'; n=1; : > "$out/want"
  while IFS='|' read -r key system apn user password number review; do
    n=$((n + 1))
    printf '%s\r\n' "$n,${key%-*},${key#*-},Row $n,XX,$system,$apn,$number,$user,$password"
    [ -z "$review" ] || echo "    $out/review.csv:$n: \"Row $n\" ($review" >> "$out/want"
  done <<EOF
262-07|HSDPA|internet.plain|user|secret|*99***1#|262-07): number "*99***1#" -> "*99#": the APN is the public data's first, the rest differs
262-08|HSDPA|web.unstated|NA|NA|*99#|
262-09|HSDPA|WEB|u|NA|*99#|262-09): user "u" -> "": the APN is the public data's first, the rest differs
310-26|HSDPA|FAST.host|NA|NA|*99#|310-26): APN "FAST.host" -> "wholesale": "FAST.host" is listed for these networks, ranked lower: a choice
405-85|HSDPA|iot.gid|NA|NA|*99#|405-85, 405-854): APN "iot.gid" -> "long": "iot.gid" is listed for these networks only by a marked reseller ("IoT GID1"): likely wrong
732-12|CDMA2000|phone|NA|NA|*99#|732-12): technology "CDMA2000" -> "HSDPA": the APN is the public data's first, the rest differs
EOF
} > "$out/review.csv"
"$tool" extend "$out/review.csv" providers.xml 2>&1 > /dev/null | sed '1,/^  rows whose profile/d' > "$out/found"
same "$out/found" "$out/want" "extend's review lines"
# Only gains: the 13 rows written, 405,040 for its IMSIs and its SID range.
"$tool" diff extend_table.csv "$out/extended" > "$out/diff"
grep -qx '14 of [0-9]* SIM groups change: 0 changed, 14 gaining, 0 losing' "$out/diff" ||
  fail "extending changes a SIM the table serves: $(cat "$out/diff")"
# A public row's index comes from its key, so two releases of one kept
# table differ only where the public data does: from providers.xml alone
# and with apns.xml, 204-02, 204-03 (its MVNO entry, alone there), 204-08
# (the login of "KPN Later", first in byte order) and 204-16 gain a row,
# 311-48 changes APN (two listers for "two" now), and no group changes by
# index alone.
# 907 groups: 100 under each of nine MCCs, 405-040, five SID ranges and
# SID other.
"$tool" extend extend_table.csv providers.xml > "$out/release1" 2> /dev/null || fail "release 1: $?"
"$tool" extend extend_table.csv providers.xml apns.xml > "$out/release2" 2> /dev/null || fail "release 2: $?"
"$tool" diff "$out/release1" "$out/release2" > "$out/diff"
gains() { echo "$1: gains NEW:$2: G_ISP_INDEX \"$3\", G_SYSTEM 0, G_APN \"$4\", G_USERNAME \"${5:-}\", G_PASSWORD \"${5:-}\", G_NUMBER \"*99#\""; }
{ gains 204-02 6 220402 internet.tele2.nl; gains 204-03 7 220403 internet.mvno.mobi mvno
  gains 204-08 8 220408 portalmmm.nl later; gains 204-16 9 220416 internet.ben
  echo '311-48: G_APN "one" -> "two", G_USERNAME "" -> "droid" (OLD:9 -> NEW:13)'
  echo '5 of 907 SIM groups change: 1 changed, 4 gaining, 0 losing'; } > "$out/want"
same "$out/diff" "$out/want" "two releases of one kept table"
# An index the kept table uses, written with leading zeros too, is never a
# public row's: the next leading digit of the key's MNC length takes its
# place (4, 6, 8 for two digits; 5, 7, 9 for three). Each case: the kept
# table's indexes (on rows of MCC 208, which no public row has), the public
# key, and the index it gets.
while IFS='|' read -r used key want; do
  { printf 'I,M,N,O,R,S,A,D,U,P\r\n'; n=0
    for index in $used; do
      n=$((n + 1)); printf '%s\r\n' "$index,208,$((n + 10)),Kept,FR,HSDPA,kept,*99#,NA,NA"
    done; } > "$out/used.csv"
  got=$("$tool" extend "$out/used.csv" providers.xml 2> /dev/null | grep ",${key%-*},${key#*-}," | cut -d, -f1)
  [ "$got" = "$want" ] || fail "kept indexes $used: $key got index '$got', want $want"
done <<EOF
1 2 3|262-08|226208
226208|262-08|426208
226208 426208 0626208|262-08|826208
0240586|405-86|440586
3405040|405-040|5405040
3405040 5405040|405-040|7405040
226209|262-08|226208
EOF
# An index written with spaces around it is the one the store holds: " 226208"
# "426208 " and " 626208" are taken.
printf 'I,M,N,O,R,S,A,D,U,P\r\n' > "$out/used.csv"
printf '%s,208,1%s,Kept,FR,HSDPA,kept,*99#,NA,NA\r\n' ' 226208' 1 '426208 ' 2 ' 626208' 3 >> "$out/used.csv"
got=$("$tool" extend "$out/used.csv" providers.xml 2> /dev/null | grep ',262,08,' | cut -d, -f1)
[ "$got" = 826208 ] || fail "kept indexes with spaces: 262-08 got index '$got', want 826208"
# With all four taken there is no index left: status 1, no table.
printf 'I,M,N,O,R,S,A,D,U,P\r\n' > "$out/used.csv"
for index in 231026 431026 631026 831026; do
  printf '%s\r\n' "$index,208,${index%????},Kept,FR,HSDPA,kept,*99#,NA,NA" >> "$out/used.csv"
done
"$tool" extend "$out/used.csv" providers.xml > "$out/stdout" 2> "$out/err"
[ $? -eq 1 ] || fail "no index left: want status 1"
grep -qx "isp_table: $out/used.csv: the table uses every index the public row of 310-26 may take" \
  "$out/err" || fail "no index left: $(tail -n1 "$out/err")"
[ ! -s "$out/stdout" ] || fail "no index left: a table was written"
# A table with errors is not extended: the check's findings on standard
# error, where "extend T > new.csv" leaves them on the terminal; nothing on
# standard output.
"$tool" extend hand_kept.csv providers.xml > "$out/stdout" 2> "$out/found"
[ $? -eq 1 ] || fail "extend hand_kept.csv: want status 1"
same "$out/found" expected_check.txt "extend of a table with errors"
[ ! -s "$out/stdout" ] || fail "extend of a table with errors wrote to standard output"
# A table written over itself is refused before the shell's emptied file
# can pass for a table: whether ">" emptied it or ">>" would append to it.
for redirect in '>' '>>'; do
  cp extend_table.csv "$out/self.csv"
  sh -c "\"\$1\" extend \"\$2\" providers.xml $redirect \"\$2\"" - "$tool" "$out/self.csv" 2> "$out/err"
  [ $? -eq 2 ] || fail "extend T $redirect T: want status 2"
  grep -qx "isp_table: standard output is the table $out/self.csv: write the extended table to another file" \
    "$out/err" || fail "extend T $redirect T: $(cat "$out/err")"
  [ "$redirect" = '>' ] || same "$out/self.csv" extend_table.csv "extend T >> T changed the table"
done
"$tool" extend extend_table.csv --only 405 providers.xml apns.xml 2> "$out/summary" |
  sed -n '6,7p' | tr -d '\r' > "$out/only"
printf '%s\n' '3405040,405,040,Cdma Carrier,IN,CDMA2000,NA,#777,cdma,pw' \
  '240586,405,86,IoT GID1,IN,HSDPA,iot.gid,*99#,NA,NA' > "$out/want"
same "$out/only" "$out/want" "--only 405"
grep -qx '  public rows left out, the table serves their SIMs: 2' "$out/summary" || fail "--only 405 summary"
# A market no file knows: a warning that names it as typed.
"$tool" extend extend_table.csv --only zZ providers.xml > /dev/null 2> "$out/summary"
grep -qx 'isp_table: warning: --only zZ: no public data is in that market' "$out/summary" ||
  fail "--only zZ: $(cat "$out/summary")"
# --json: the same table, summary and status, and a report of what the
# summary adds, worked out above: 5 kept, 13 written, 4 left out, and the
# two review lines.
with_json "extend --json" "$out/r.json" extend extend_table.csv providers.xml apns.xml
json_is "$out/r.json" 'd["report"], d["table"], d["kept"], d["written"], d["left_out"], len(d["rows"]), d["no_index_left"]' \
  "extend extend_table.csv 5 13 4 13 None" "extend --json"
json_is "$out/r.json" '[r for r in d["rows"] if r["key"] in ("262-08", "405-040")]' \
  "[{'key': '262-08', 'index': '226208', 'mcc': '262', 'mnc': '08', 'operator': 'Unstated Use', 'region': 'DE', 'technology': 'HSDPA', 'apn': 'web.unstated', 'number': '*99#', 'user': 'NA', 'password': 'NA'}, {'key': '405-040', 'index': '3405040', 'mcc': '405', 'mnc': '040', 'operator': 'Cdma Carrier', 'region': 'IN', 'technology': 'CDMA2000', 'apn': 'NA', 'number': '#777', 'user': 'cdma', 'password': 'pw'}]" \
  "extend --json"
json_is "$out/r.json" '[(r["line"], r["operator"], r["keys"], [tuple(i.values()) for i in r["differences"]], r["judgement"], r["likely_wrong"]) for r in d["reviews"]]' \
  "[(2, 'Plain Own', ['262-07'], [('apn', 'internet.own', 'internet.plain'), ('user', 'own', 'user'), ('password', 'pw', 'secret')], 'not-listed', True), (4, 'Own India', ['405-85', '405-854'], [('apn', 'own.in', 'long')], 'not-listed', True)]" \
  "extend --json"
# Each judgement and who it names, on the review table above and on a row
# of another operator's APN against the rank files.
with_json "extend --json, review" "$out/r.json" extend "$out/review.csv" providers.xml
json_is "$out/r.json" '[(r["line"], r["judgement"], r["likely_wrong"], r["listed_by"], r["decided_by"]) for r in d["reviews"]]' \
  "[(2, 'apn-is-first', False, None, None), (4, 'apn-is-first', False, None, None), (5, 'ranked-lower', False, None, None), (6, 'reseller', True, 'IoT GID1', None), (7, 'apn-is-first', False, None, None)]" \
  "extend --json, review"
printf 'I,M,N,O,R,S,A,D,U,P\r\n1,440,11,Kept,XX,HSDPA,big.host,*99#,NA,NA\r\n' > "$out/judged.csv"
with_json "extend --json, another operator's" "$out/r.json" extend "$out/judged.csv" rank_providers.xml rank_apns.xml
json_is "$out/r.json" '[(r["judgement"], r["likely_wrong"], r["listed_by"], r["decided_by"]) for r in d["reviews"]]' \
  "[('another-operator', True, 'Big Host', 'primary-mark')]" \
  "extend --json, another operator's"
# No index left: status 1, no rows, the key named.
with_json "extend --json, no index left" "$out/r.json" extend "$out/used.csv" providers.xml
json_is "$out/r.json" 'd["kept"], d["written"], d["rows"], d["no_index_left"]' "0 0 [] 310-26" \
  "extend --json, no index left"
# A table with errors: status 1, and the check's findings in the report.
with_json "extend --json, errors" "$out/r.json" extend hand_kept.csv providers.xml
json_is "$out/r.json" 'sorted(d), len(d["findings"]), d["findings"][0]["code"]' \
  "['findings', 'report', 'schema', 'table', 'tool', 'version'] 32 header-is-data" "extend --json, errors"
# Refused before its work: no report.
cp extend_table.csv "$out/self.csv"
rm -f "$out/r.json"
sh -c "\"\$1\" extend \"\$2\" providers.xml --json \"\$3\" > \"\$2\"" - "$tool" "$out/self.csv" "$out/r.json" 2> /dev/null
[ $? -eq 2 ] && [ ! -e "$out/r.json" ] || fail "extend T > T wrote a report"
finish "isp_table extend: tables and summaries as expected"
