#!/bin/sh
# isp_table check on tables of our own: every finding on hand_kept.csv, a
# generated table passing its own check, and --against, which holds a kept
# row to the ranking of the databases. The findings on single rows and on
# small tables are the check's unit tests (isp_table_check_unit).
# Usage: check.sh ISP_TABLE
# shellcheck source=tests/isp_table/lib.sh
. "$(dirname "$0")/lib.sh"
# check --against and extend's review hold a kept row to the same ranking:
# another operator's APN that a deciding sign ranks below the network's own
# is warned and likely wrong; one of the chosen APN's operator, or of an
# undecided key, is a choice and no warning. A hint names the ranking's
# choice first, then the others, "ALPHA.CH" once as "alpha.ch". One table
# of one row a case, against both rank files: the key, the kept APN, the
# warning (none: -), the verdict of extend's review line.
while IFS='|' read -r key apn warning verdict; do
  printf 'I,M,N,O,R,S,A,D,U,P\r\n1,%s,%s,Kept,XX,HSDPA,%s,*99#,NA,NA\r\n' "${key%-*}" "${key#*-}" "$apn" \
    > "$out/judged.csv"
  "$tool" check "$out/judged.csv" --against rank_providers.xml rank_apns.xml | sed '$d' > "$out/found"
  [ "$warning" = - ] && : > "$out/want" || echo "$out/judged.csv:2: warning: $warning" > "$out/want"
  same "$out/found" "$out/want" "--against, $key $apn"
  "$tool" extend "$out/judged.csv" rank_providers.xml rank_apns.xml 2>&1 > /dev/null |
    sed -n 's/^    [^ ]*judged.csv:2: "Kept" ([-0-9]*): APN "[^"]*" -> "[^"]*": //p' > "$out/found"
  echo "$verdict" > "$out/want"
  same "$out/found" "$out/want" "extend's verdict, $key $apn"
done <<EOF
440-11|big.host|APN "big.host" on 440-11 is another operator's ("Big Host"), not the network's own "small.own" ("Small Own"): decided by the network's own primary provider|"big.host" is another operator's APN ("Big Host"), ranked lower by the network's own primary provider: likely wrong
228-01|cheap.apn|APN "cheap.apn" on 228-01 is another operator's ("Budget One"), not the network's own "alpha.ch" ("Alpha"): decided by the network's brand|"cheap.apn" is another operator's APN ("Budget One"), ranked lower by the network's brand: likely wrong
232-01|web.two|APN "web.two" on 232-01 is another operator's ("Delta"), not the network's own "web.one" ("Gamma"): decided by agreement of both kinds of database|"web.two" is another operator's APN ("Delta"), ranked lower by agreement of both kinds of database: likely wrong
310-27|narrow.us|APN "narrow.us" on 310-27 is another operator's ("Narrow"), not the network's own "wide.us" ("Wide"): decided by more of the key's networks served|"narrow.us" is another operator's APN ("Narrow"), ranked lower by more of the key's networks served: likely wrong
234-30|zeta.uk|APN "zeta.uk" on 234-30 is another operator's ("Zeta"), not the network's own "eps.uk" ("Epsilon"): decided by a lister of several networks under the MCC|"zeta.uk" is another operator's APN ("Zeta"), ranked lower by a lister of several networks under the MCC: likely wrong
228-01|surf.ch|-|"surf.ch" is listed for these networks, ranked lower: a choice
234-40|host.two|-|"host.two" is listed for these networks, ranked lower: a choice
234-40|coop.uk|-|"coop.uk" is listed for these networks, ranked lower: a choice
440-10|resold.jp|the public data lists "big.host" for 440-10, not "resold.jp"|"resold.jp" is listed for these networks only by a marked reseller ("Resold"): likely wrong
206-01|eps.uk|APN "eps.uk" is listed for 234-30, 234-31, not for 206-01, which lists "ruby.be", "prox.be", "roam.tele.be"|"eps.uk" is not listed for these networks: likely wrong
228-01|eps.uk|APN "eps.uk" is listed for 234-30, 234-31, not for 228-01, which lists "alpha.ch", "cheap.apn", "surf.ch"|"eps.uk" is not listed for these networks: likely wrong
EOF

# Every generated table passes its own check.
"$tool" providers.xml > "$out/table" 2> /dev/null
"$tool" providers.xml apns.xml > "$out/merged" 2> /dev/null
"$tool" apns.xml providers.xml > "$out/reversed" 2> /dev/null
for table in "$out/table" "$out/merged" "$out/reversed"; do
  "$tool" check "$table" > "$out/found" || { cat "$out/found"; fail "$table does not pass its check"; }
  tail -n1 "$out/found" | grep -q ": 0 errors, " || fail "$table: $(tail -n1 "$out/found")"
done

# Every finding of the check, with its line. Lines 21 to 25 are spreadsheet
# traps (quoted value, semicolons, tabs, empty value, white space), 26 an
# index "NA"; 27 to 29 are 251 and 250 characters whose CR or LF alone fall
# past one read: taken whole, so 27 shadows 28 and 29 ends with a bare LF.
# 34 and 35 hold bytes the store must not get (an APN's underscore, a tab
# in the user name, non-ASCII in the password and the dial number).
"$tool" check hand_kept.csv > "$out/found"
[ $? -eq 1 ] || fail "check of hand_kept.csv: want status 1"
same "$out/found" expected_check.txt "findings on hand_kept.csv"

# Against providers.xml: 262-09 lists "web" (case aside), the CDMA row 405,86
# and the rows of 999-99 and the placeholder are passed over; 310-26's
# networks list other APNs than "internet.host", the ranking's choice
# "wholesale" named first, and "iot.gid" is listed
# for 405-86, not for 405-854, the only network of key 405,854, which lists
# "long" (on 405-85 IoT GID1 is a marked reseller beside Long Code: its
# listing is not 405-85's).
"$tool" check against.csv --against providers.xml > "$out/found" || fail "against: status $?"
printf '%s\n' \
  'against.csv:3: warning: the public data lists "wholesale", "fast.host" for 310-260, 310-261, 310-262, not "internet.host"' \
  'against.csv:4: warning: APN "iot.gid" is listed for 405-86, not for 405-854, which lists "long"' \
  'against.csv: 0 errors, 2 warnings, 6 rows' > "$out/want"
same "$out/found" "$out/want" "findings against providers.xml"
# A two-digit 405 row serves the three-digit networks its key answers too.
printf 'I,M,N,O,R,S,A,D,U,P\r\n1,405,85,Short,IN,HSDPA,own.apn,*99#,NA,NA\r\n' > "$out/t405"
"$tool" check "$out/t405" --against providers.xml | head -n1 > "$out/found"
echo "$out/t405:2: warning: the public data lists \"long\" for 405-85, 405-854, not \"own.apn\"" > "$out/want"
same "$out/found" "$out/want" "405 two-digit row against providers.xml"
# A marked reseller's APN on its host's network is the reseller's: warned.
printf 'I,M,N,O,R,S,A,D,U,P\r\n1,405,85,IoT,IN,HSDPA,iot.gid,*99#,NA,NA\r\n' > "$out/tgid"
"$tool" check "$out/tgid" --against providers.xml | head -n1 > "$out/found"
echo "$out/tgid:2: warning: APN \"iot.gid\" is listed for 405-86, not for 405-85, 405-854, which list \"long\"" > "$out/want"
same "$out/found" "$out/want" "a reseller's APN on its host's network"
# An APN listed under six MCCs by six operators is generic: listed elsewhere
# says nothing, only what the row's own networks list does. Five MCCs by
# five operators, or six MCCs by one, is an operator's APN. 208-20 and
# 208-21 list only an MMS APN. One row per case; the warning on its line.
{ printf 'I,M,N,O,R,S,A,D,U,P\r\n'; n=1; : > "$out/want"
  while IFS='|' read -r mnc apn warning; do
    n=$((n + 1))
    printf '%s\r\n' "$n,${mnc%-*},${mnc#*-},Row,XX,HSDPA,$apn,*99#,NA,NA"
    [ -z "$warning" ] || echo "$out/generic.csv:$n: warning: $warning" >> "$out/want"
  done <<EOF
232-01|internet|
208-01|internet|the public data lists "orange.fr" for 208-01, not "internet"
208-20|internet|
208-15|five.apn|APN "five.apn" is listed for 206-01, 228-01, 232-01, not for 208-15, which lists "free"
208-10|group.apn|APN "group.apn" is listed for 206-03, 228-03, 232-03, not for 208-10, which lists "sfr"
208-21|group.apn|APN "group.apn" is listed for 206-03, 228-03, 232-03, not for 208-21
EOF
} > "$out/generic.csv"
"$tool" check "$out/generic.csv" --against generic_providers.xml | sed '$d' > "$out/found"
same "$out/found" "$out/want" "a generic APN against generic_providers.xml"
# A generated table is what its databases list: the plain check's findings only.
for inputs in providers.xml "providers.xml apns.xml"; do
  # shellcheck disable=SC2086
  "$tool" $inputs > "$out/table" 2>/dev/null
  "$tool" check "$out/table" > "$out/plain"
  # shellcheck disable=SC2086
  "$tool" check "$out/table" --against $inputs > "$out/found"
  same "$out/found" "$out/plain" "--against $inputs on its own table"
done

# --json: the same text and status, and a report of what was printed.
with_json "check --json" "$out/r.json" check hand_kept.csv
[ "$(cat "$out/run.status")" = 1 ] || fail "check --json: want status 1"
json_is "$out/r.json" 'd["report"], d["table"], d["errors"], d["warnings"], d["rows"]' \
  "check hand_kept.csv 25 7 33" "check --json"
json_is "$out/r.json" 'len(d["findings"])' 32 "check --json"
# Line 1 and the two findings of line 25, in the text's order.
json_is "$out/r.json" '[(f["file"], f["line"], f["severity"], f["code"]) for f in d["findings"][:1] + d["findings"][20:22]]' \
  "[('hand_kept.csv', 1, 'error', 'header-is-data'), ('hand_kept.csv', 25, 'error', 'not-apn-byte'), ('hand_kept.csv', 25, 'warning', 'space-at-edge')]" \
  "check --json"
json_is "$out/r.json" 'd["findings"][14]["message"]' \
  "the row ends with a line feed alone, not CR LF" "check --json"
with_json "check --against --json" "$out/r.json" check against.csv --against providers.xml
json_is "$out/r.json" '[(f["line"], f["severity"], f["code"]) for f in d["findings"]], d["errors"], d["warnings"], d["rows"]' \
  "[(3, 'warning', 'apn-not-listed'), (4, 'warning', 'apn-of-other-networks')] 0 2 6" \
  "check --against --json"
# A report that cannot be written is status 2, the findings printed all
# the same; a table that cannot be read leaves no report.
"$tool" check against.csv --json "$out/none/r.json" > "$out/found" 2> "$out/err"
[ $? -eq 2 ] || fail "check --json into no folder: want status 2"
grep -qx "isp_table: cannot write $out/none/r.json: No such file or directory" "$out/err" ||
  fail "check --json into no folder: $(cat "$out/err")"
grep -qx 'against.csv: 0 errors, 0 warnings, 6 rows' "$out/found" || fail "check --json into no folder: no findings"
rm -f "$out/r.json"
"$tool" check "$out/missing.csv" --json "$out/r.json" 2> /dev/null
[ $? -eq 2 ] && [ ! -e "$out/r.json" ] || fail "check of no table wrote a report"
finish "isp_table check: findings as expected"
