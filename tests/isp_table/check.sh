#!/bin/sh
# isp_table on databases and tables of our own: the exact table and summary
# from one and from both kinds of database, the ranking across files, the
# check of a hand-kept table with every finding, the explanation of single
# runs, and clear failures on files and command lines it cannot use.
# Usage: check.sh ISP_TABLE
tool=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
cd "$(dirname "$0")"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
same() { cmp -s "$1" "$2" || { diff "$1" "$2"; fail "$3"; }; }

# Tables and summaries, byte for byte, and the same bytes on a second run.
# Worked out by hand from providers.xml: Hipri's APNs of usage type
# mms-internet-hipri(-fota) are internet, its "ia" APN is not: rows 732,12
# and 732,13 carry "phone", the first of them. IoT GID1 lists 405-85 beside
# Long Code: left out there (it came first in the file and would have won
# 405,85), kept on 405-86, where only it lists. Alone GID1 keeps 424-03.
# Those two networks are served only through a GID1-marked provider. Tie
# Blank's 311-482 has no usable APN (password NA): counted as such, not as a
# network no table can serve, though its key 311,48 has a row.
"$tool" providers.xml > "$out/table" 2> "$out/summary" || fail "providers.xml: status $?"
same "$out/table" expected.csv "providers.xml table"
same "$out/summary" expected_summary.txt "providers.xml summary"
"$tool" providers.xml apns.xml > "$out/merged" 2> "$out/summary" || fail "merge: status $?"
same "$out/merged" merged.csv "merged table"
same "$out/summary" merged_summary.txt "merged summary"
"$tool" providers.xml apns.xml 2>/dev/null | cmp -s - "$out/merged" || fail "not deterministic"

# The order of the files changes no byte: 311,48's "two", which both list
# with other logins, takes the listing of the network's brand ("Two
# Android"; "Tie Two" is Tie's), whichever file comes first.
"$tool" apns.xml providers.xml 2>/dev/null > "$out/reversed" || fail "reversed: status $?"
same "$out/reversed" "$out/merged" "reversed inputs"

# The provider database in Android's format (a comment before the root says
# it was generated from serviceproviders.xml): beside a provider database
# every verb warns and gives what the provider database alone gives, and
# the summary's part for it is one line (three carriers); alone, it is
# read, with another warning.
warned="isp_table: warning: generated_apns.xml was generated from the provider database (serviceproviders.xml), not Android's:"
"$tool" providers.xml generated_apns.xml > "$out/table" 2> "$out/summary" || fail "generated: status $?"
same "$out/table" expected.csv "providers.xml beside generated_apns.xml"
{ echo "$warned another database is among the inputs, so its entries are left out"
  sed '/^merged table:/,$d' expected_summary.txt
  echo 'generated_apns.xml (Android APN database, generated from the provider database):'
  echo '  carriers left out whole, another database is among the inputs: 3'
  sed -n '/^merged table:/,$p' expected_summary.txt; } > "$out/want"
same "$out/summary" "$out/want" "summary beside generated_apns.xml"
for run in "check against.csv --against" "extend extend_table.csv"; do
  # shellcheck disable=SC2086
  "$tool" $run providers.xml > "$out/want" 2> /dev/null
  # shellcheck disable=SC2086
  "$tool" $run providers.xml generated_apns.xml > "$out/found" 2> "$out/err"
  same "$out/found" "$out/want" "$run beside generated_apns.xml"
  [ "$(head -n1 "$out/err")" = "$(head -n1 "$out/summary")" ] || fail "$run: $(head -n1 "$out/err")"
done
[ "$("$tool" generated_apns.xml 2>&1 > /dev/null | head -n1)" = \
  "$warned read, as no other database is given" ] || fail "generated_apns.xml alone"

# Each sign that tells a network's own operator from a reseller, worked out
# by hand from rank_providers.xml and rank_apns.xml: the key's ISP (spaces
# as _) and APN, from the provider database alone (p) and with Android's (pa).
"$tool" rank_providers.xml > "$out/rank_p" 2> "$out/rank_p.sum" || fail "rank p: status $?"
"$tool" rank_providers.xml rank_apns.xml > "$out/rank_pa" 2> "$out/rank_pa.sum" || fail "rank pa: $?"
"$tool" rank_apns.xml > "$out/rank_a" 2> "$out/rank_a.sum" || fail "rank a: $?"
while read -r inputs key isp apn why; do
  row=$(grep "^[0-9]*,$key," "$out/rank_$inputs" | cut -d, -f4,7 | tr ' ' _)
  [ "$row" = "$isp,$apn" ] || fail "$inputs $key: want $isp,$apn ($why), got $row"
done <<EOF
p 440,10 Big_Host big.host a reseller marked primary="false" is no candidate
p 440,11 Small_Own small.own of two primaries, the one claiming fewer networks
p 232,01 Gamma web.one undecided: the APN first in byte order, whatever the file order
p 234,30 Epsilon eps.uk breadth over the file order
p 234,40 Host host.one Coop's other network is its own only: no breadth, undecided
p 310,27 Wide wide.us it serves both networks of the key
pa 440,10 Big_Host big.host the reseller stays out
pa 228,01 Alpha alpha.ch the brand over three carriers listing cheap.apn
pa 232,01 Gamma web.one both kinds of database list it
pa 234,30 Epsilon eps.uk breadth
pa 234,40 Host host.one an Android carrier on Coop's 234-41 adds no breadth
pa 222,01 Italia italia.it 222-010 to 222-012 are 222-01: foreign.mx serves no more, undecided
pa 655,01 Kay-b internet "Kay-b" and "KAY B INTERNET" are one name in both kinds, against Cheap's two APNs: undecided
pa 206,01 Ruby ruby.be agreement, against Prox's two APNs: undecided
a 234,50 Eee_Internet everywhere the label "Ora WAP" and its two APNs count for nothing: undecided
a 240,06 Gloc_Internet internet.gloc.se Gloc's WAP label casts no second vote: undecided
a 405,801 NetLink rconet "rconet" and "rcowap" are one operator's: not undecided
EOF
# The summary says which sign chose each row, and names the undecided key.
while IFS='|' read -r inputs line; do
  grep -qxF "$line" "$out/rank_$inputs.sum" || fail "rank $inputs summary lacks: $line"
done <<EOF
p|    provider marked primary="false" where the network has its own: 1
p|    the network's own primary provider: 1
p|    a lister of several networks under the MCC: 2
p|    nothing (undecided: a weak tie-break chose): 4
p|      206-01: "prox.be" ("Prox") or "ruby.be" ("Ruby"): nothing in the inputs decides; chosen by the APN first in byte order
p|      234-40: "host.one" ("Host") or "coop.uk" ("Coop"): nothing in the inputs decides; chosen by the operator offering more APNs for the network
p|      232-01: "web.one" ("Gamma") or "web.two" ("Delta"): nothing in the inputs decides; chosen by the APN first in byte order
p|      262-42: "mueller.de" ("Müller Funk") or "zett.de" ("Zett"): nothing in the inputs decides; chosen by the APN first in byte order
pa|    the network's brand: 1
pa|    agreement of both kinds of database: 1
pa|    a lister of several networks under the MCC: 2
pa|    nothing (undecided: a weak tie-break chose): 7
pa|      206-01: "ruby.be" ("Ruby") or "prox.be" ("Prox"): nothing in the inputs decides; chosen by more mentions in the databases, against an operator offering more APNs for the network
pa|      655-01: "internet" ("Kay-b") or "cheap.za" ("Cheap"): nothing in the inputs decides; chosen by more mentions in the databases, against an operator offering more APNs for the network
pa|      222-01: "italia.it" ("Italia") or "foreign.mx" ("Foreign Web"): nothing in the inputs decides; chosen by a lister of several networks under the MCC, the others its own only
pa|      234-40: "host.one" ("Host") or "coop.uk" ("Coop"): nothing in the inputs decides; chosen by the operator offering more APNs for the network
pa|  network ids read as the two-digit network they begin with: 3
a|      234-50: "everywhere" ("Eee Internet") or "orainternet" ("Ora Internet"): nothing in the inputs decides; chosen by the APN first in byte order
a|      240-06: "internet.gloc.se" ("Gloc Internet") or "services.telen.se" ("Telen Surf"): nothing in the inputs decides; chosen by the APN first in byte order
a|    one operator's APNs only: 5
a|    nothing (undecided: a weak tie-break chose): 4
a|      228-01: "ALPHA.CH" ("Alpha Web") or "cheap.apn" ("Budget One"): nothing in the inputs decides; chosen by the operator offering more APNs for the network
EOF

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

# An empty spreadsheet row answers no lookup in isp_pick: a warning, never
# the advice to write "NA", which would make it a placeholder row. It is no
# row, so the placeholder row before it is still the last, and extend runs
# and counts the two rows the check counts.
for empty in ',,,,,,,,,' '   ' ';;;;;;;;;' '\t\t' ' , ;'; do
  printf "I,M,N,O,R,S,A,D,U,P\r\n1,262,01,A,DE,HSDPA,a,*99#,NA,NA\r\n2,NA,NA,Any,XX,CDMA2000,NA,#777,NA,NA\r\n$empty\r\n" > "$out/empty_row.csv"
  "$tool" check "$out/empty_row.csv" > "$out/found" || fail "empty row '$empty': status $?"
  printf '%s\n' "$out/empty_row.csv:4: warning: empty row: delete the line" \
    "$out/empty_row.csv: 0 errors, 1 warning, 2 rows" > "$out/want"
  same "$out/found" "$out/want" "empty row '$empty'"
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

# One index, two profiles: G_ISP_INDEX no longer tells the store which
# profile it holds. Line 3 shares line 2's profile (name and region are not
# stored): no finding; lines 4, 6 and 7 differ in APN, technology, password.
printf '%s\r\n' I,M,N,O,R,S,A,D,U,P 1,262,01,A,DE,HSDPA,a,*99#,NA,NA 1,262,02,A2,AT,HSDPA,a,*99#,NA,NA \
  1,262,03,A,DE,HSDPA,b,*99#,NA,NA 2,262,04,B,DE,HSDPA,c,*99#,u,p 2,262,05,B,DE,CDMA2000,c,*99#,u,p \
  2,262,06,B,DE,HSDPA,c,*99#,u,NA > "$out/index.csv"
"$tool" check "$out/index.csv" > "$out/found" || fail "same index: status $?"
same_index() { echo "$out/index.csv:$1: warning: index \"$2\" is line $3's too, with another profile: G_ISP_INDEX no longer tells which profile the store holds"; }
{ same_index 4 1 2; same_index 6 2 5; same_index 7 2 5
  echo "$out/index.csv: 0 errors, 3 warnings, 6 rows"; } > "$out/want"
same "$out/found" "$out/want" "rows sharing an index"

# The index is compared as the store holds it: " 02" is "2", so line 3 shares
# line 2's index with another APN.
printf '%s\r\n' I,M,N,O,R,S,A,D,U,P 2,262,01,A,DE,HSDPA,a,*99#,NA,NA ' 02,262,02,B,DE,HSDPA,b,*99#,NA,NA' \
  > "$out/index.csv"
"$tool" check "$out/index.csv" | head -n1 > "$out/found"
same_index 3 ' 02' 2 > "$out/want"
same "$out/found" "$out/want" "an index with a space and a zero"

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
same "$out/explained" "$out/want" "explain as check --imsi and --sid"

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

# Usage errors: status 2, the problem, then the usage line on standard error.
# The problems are CLI11's own words, but for the values it cannot judge
# (an IMSI, a SID, a market); a problem ending in "..." is a prefix, where
# releases of CLI11 word the rest differently.
usage='usage: isp_table [--only LIST] [FILE...] | isp_table check TABLE [--imsi DIGITS | --sid N | --against FILE...] | isp_table explain TABLE --imsi DIGITS | --sid N | isp_table explain [FILE...] --key MCC-MNC | isp_table diff OLD NEW | isp_table extend TABLE [--only LIST] [FILE...]'
while IFS='|' read -r args problem; do
  # shellcheck disable=SC2086
  "$tool" $args > "$out/stdout" 2> "$out/err"
  [ $? -eq 2 ] || fail "'$args': want status 2"
  first=$(head -n1 "$out/err")
  case $problem in
    *...) [ "${first#"isp_table: ${problem%...}"}" != "$first" ] || fail "'$args': $(cat "$out/err")" ;;
    *) [ "$first" = "isp_table: $problem" ] || fail "'$args': $(cat "$out/err")" ;;
  esac
  [ "$(tail -n1 "$out/err")" = "$usage" ] || fail "'$args': $(cat "$out/err")"
  [ ! -s "$out/stdout" ] || fail "'$args' wrote to standard output"
done <<EOF
--bogus|The following argument was not expected: --bogus
check|TABLE is required
check --imsi 262011234567890|TABLE is required
check hand_kept.csv --imsi|--imsi: 1 required DIGITS missing
check hand_kept.csv --imsi 26201x|--imsi: needs 6 to 15 digits
check hand_kept.csv --imsi 26201|--imsi: needs 6 to 15 digits
check hand_kept.csv --imsi 262011 --imsi 262012|--imsi: At Most 1 required but received 2
check hand_kept.csv --sid 14x|--sid: needs a whole number
check hand_kept.csv --sid 0x10|--sid: needs a whole number
diff - -|OLD and NEW are both standard input: give one of them as a file
check hand_kept.csv --sid -|--sid: needs a whole number
check hand_kept.csv --sid 99999999999|--sid: Value 99999999999 not in range ...
check hand_kept.csv --sid -99999999999|--sid: Value -99999999999 not in range ...
check hand_kept.csv --sid 1 --imsi 262011234567890|Requires at most 1 options be given from [--imsi,--sid,--against]
check hand_kept.csv --against|--against: 1 required FILE missing
check hand_kept.csv --against providers.xml --imsi 262011234567890|Requires at most 1 options be given from [--imsi,--sid,--against]
check hand_kept.csv --color|The following argument was not expected: --color
check -- hand_kept.csv extra|The following arguments were not expected: ...
check hand_kept.csv -- providers.xml|The following argument was not expected: providers.xml
check hand_kept.csv ++ providers.xml|The following argument was not expected: providers.xml
explain|Exactly 1 option from [--imsi,--sid,--key] is required
explain --imsi 262011234567890|explain --imsi and --sid read one TABLE
explain providers.xml --key 2620|--key: needs an MCC and an MNC, as 262-01
explain hand_kept.csv|Exactly 1 option from [--imsi,--sid,--key] is required
explain hand_kept.csv --imsi 26201|--imsi: needs 6 to 15 digits
explain hand_kept.csv --sid 1 --imsi 262011234567890|Exactly 1 option from [--imsi,--sid,--key] is required and 2 were given
explain hand_kept.csv --against providers.xml|Exactly 1 option from [--imsi,--sid,--key] is required
diff|OLD is required
diff diff_old.csv|NEW is required
diff diff_old.csv diff_new.csv extra|The following argument was not expected: extra
diff diff_old.csv diff_new.csv --imsi 262011|The following arguments were not expected: ...
extend|TABLE is required
--only 26 providers.xml|--only: needs country codes and MCCs
extend extend_table.csv --only de, providers.xml|--only: needs country codes and MCCs
extend extend_table.csv --only 262,de apns.xml|--only names a country, but no FILE is a provider database
EOF
# A SID with white space before or after it is refused alike.
for sid in ' 5' '5 ' '	5' ' -5'; do
  "$tool" check hand_kept.csv --sid "$sid" > "$out/stdout" 2> "$out/err"
  [ $? -eq 2 ] || fail "--sid '$sid': want status 2"
  [ "$(head -n1 "$out/err")" = "isp_table: --sid: needs a whole number" ] || fail "--sid '$sid': $(cat "$out/err")"
done
"$tool" --help 2> "$out/err" > "$out/help" && [ ! -s "$out/err" ] || fail "--help"
[ "$(tail -c1 "$out/help" | od -An -c | tr -d ' ')" = '\n' ] || fail "--help: no line end at the end"
# -h is --help, and every verb has both, wherever they stand among its
# arguments: the tool's whole help, or after a verb that verb's own, which
# begins with its usage and is part of the whole.
while IFS='|' read -r verb first args; do
  # shellcheck disable=SC2086
  "$tool" $args > "$out/stdout" 2> "$out/err" || fail "'$args': status $?"
  [ ! -s "$out/err" ] || fail "'$args': $(cat "$out/err")"
  if [ -z "$verb" ]; then
    same "$out/stdout" "$out/help" "'$args' does not print the help"
    continue
  fi
  [ "$(head -n1 "$out/stdout")" = "$first" ] || fail "'$args': $(head -n1 "$out/stdout")"
  ! cmp -s "$out/stdout" "$out/help" || fail "'$args' prints the whole help, not $verb's"
  "$tool" "$verb" -h | cmp -s - "$out/stdout" || fail "'$args' and '$verb -h' differ"
  grep -v '^$' "$out/stdout" | while IFS= read -r line; do
    grep -qxF -- "$line" "$out/help" || fail "'$args': not in the whole help: $line"
  done || exit 1
done <<EOF
||-h
||providers.xml --help
check|isp_table check TABLE|check --help
check|isp_table check TABLE|check hand_kept.csv -h
check|isp_table check TABLE|check hand_kept.csv --imsi 262011 --help
explain|isp_table explain TABLE --imsi DIGITS|explain --help
explain|isp_table explain TABLE --imsi DIGITS|explain hand_kept.csv --sid 1 -h
diff|isp_table diff OLD NEW|diff a b --help
diff|isp_table diff OLD NEW|diff -h
extend|isp_table extend TABLE [FILE...]|extend --help
extend|isp_table extend TABLE [FILE...]|extend extend_table.csv providers.xml -h
EOF
# Each verb's help names only the arguments it takes.
while IFS='|' read -r verb absent; do
  "$tool" "$verb" --help > "$out/stdout" || fail "$verb --help: status $?"
  for word in $absent; do
    ! grep -qw "$word" "$out/stdout" || fail "$verb --help names $word: $(grep -w "$word" "$out/stdout")"
  done
done <<EOF
explain|OLD NEW
diff|TABLE FILE
EOF
# Help or version lost on a full disk is an output error too.
for args in --help -h 'diff a b --help' --version; do
  # shellcheck disable=SC2086
  "$tool" $args > /dev/full 2> /dev/null
  [ $? -eq 2 ] || fail "'$args' to a full disk: want status 2"
done
for verb in 'isp_table [FILE...]' 'isp_table check TABLE' 'isp_table explain TABLE --imsi DIGITS' \
    'isp_table diff OLD NEW' 'isp_table extend TABLE [FILE...]' \
  'isp_table check TABLE --against FILE...'; do
  grep -qxF "$verb" "$out/help" || fail "--help lacks $verb"
done
"$tool" --version | grep -qx 'isp_table [0-9][0-9.]*' || fail "--version"
# A SID is decimal; -- ends the options; a verb is only ever the first argument.
"$tool" check hand_kept.csv --sid 010 | grep -q '^SID 10: ' || fail "--sid 010"
"$tool" -- --help 2>&1 | grep -q '^isp_table: cannot read --help: ' || fail "-- --help"
"$tool" providers.xml check 2>&1 | grep -q '^isp_table: cannot read check: ' || fail "FILE check"
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
# --only: a country in any case; an MCC, with the CDMA row of a provider
# that serves 404-80 too.
"$tool" --only De providers.xml apns.xml 2> /dev/null | tr -d '\r' > "$out/only"
printf '%s\n' 'Index,MCC,MNC,ISP,Region,System,APN,Number,User,Password' \
  '226207,262,07,Plain,DE,HSDPA,internet.plain,*99#,user,secret' \
  '226208,262,08,Unstated Use,DE,HSDPA,web.unstated,*99#,NA,NA' \
  '226209,262,09,CHINA Style NAme,DE,HSDPA,web,*99#,NA,NA' > "$out/want"
same "$out/only" "$out/want" "--only De"
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
# The merge walks a provider's network ids once: one provider with 50,000
# of them (50 MCCs, 1,000 MNCs each) is a second or two of work (100,000:
# 4 s), where a walk per pair took minutes. 5,000 rows, one per key.
awk 'BEGIN { printf "<serviceproviders><country code=\"de\"><provider><name>Big</name><gsm>"
  for (i = 0; i < 50000; i++) printf "<network-id mcc=\"%d\" mnc=\"%03d\"/>", 200 + int(i / 1000), i % 1000
  print "<apn value=\"big.apn\"/></gsm></provider></country></serviceproviders>" }' > "$out/big.xml"
timeout 30 "$tool" "$out/big.xml" > "$out/table" 2> /dev/null || fail "50,000 network ids: status $?"
[ "$(wc -l < "$out/table")" -eq 5001 ] || fail "50,000 network ids: $(wc -l < "$out/table") lines"
echo "isp_table fixtures: tables, summaries, findings, explanations and failures as expected"
