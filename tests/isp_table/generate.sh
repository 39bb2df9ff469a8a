#!/bin/sh
# isp_table's generator on databases of our own: the exact table and
# summary from one and from both kinds of database, whatever their order,
# the summary's account of the ranking, --only, and a provider of many
# network ids.
# Usage: generate.sh ISP_TABLE
# shellcheck source=tests/isp_table/lib.sh
. "$(dirname "$0")/lib.sh"
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

# The ranking across rank_providers.xml and rank_apns.xml: the row and the
# sign of each key are the ranking's unit tests, on the same databases in
# memory (isp_table_rank_unit, Ranking.DecidesEachKeyOfTheRankFixtures).
# Here, what the summary says of them: from the provider database alone
# (p), with Android's (pa), from Android's alone (a).
"$tool" rank_providers.xml > /dev/null 2> "$out/rank_p.sum" || fail "rank p: status $?"
"$tool" rank_providers.xml rank_apns.xml > /dev/null 2> "$out/rank_pa.sum" || fail "rank pa: $?"
"$tool" rank_apns.xml > /dev/null 2> "$out/rank_a.sum" || fail "rank a: $?"
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
# --json: the same table, summary and status with it; the report holds the
# summary's figures and every row, in the table's order, with why its key
# has it. 262-07: the carrier list names Plain Mobil (carriers.textpb:5),
# whose word "Plain" names the provider at providers.xml:8; Android's Web
# DE lists web.de for 262-071 (line 25) and 262-07 (26).
with_json "generate --json" "$out/all.json" providers.xml apns.xml carriers.textpb ||
  fail "generate --json: status $?"
tr -d '\r' < "$out/run.out" | sed 1d | cut -d, -f1-3 > "$out/want"
python3 -c 'import json, sys
for r in json.load(open(sys.argv[1]))["rows"]: print(r["index"] + "," + r["key"].replace("-", ","))' \
  "$out/all.json" > "$out/found"
same "$out/found" "$out/want" "generate --json: the rows are the table's"
json_values "$out/all.json" "generate --json" <<'EOF'
[d["report"], [i["kind"] for i in d["inputs"]]] => ["generate", ["provider database", "Android APN database", "carrier identity database"]]
d["inputs"][2]["carriers"], d["inputs"][2]["version"] => [4, 7]
[row("262-07")[k] for k in ("index", "system", "apn", "user", "password", "number")] => ["226207", "HSDPA", "internet.plain", "user", "secret", "*99#"]
row("262-07")["operator"], row("262-07")["decided_by"] => ["Plain", "carrier-list"]
d["inputs"][0]["table"]["rows_left_out_by"] => {"blank-placeholder": 3, "value-too-long": 1, "gid1-reseller": 1, "comma-in-value": 2, "no-internet-apn": 1}
row("262-07")["carrier_list"] => [{"network": "262-07", "operator": "Plain Mobil", "file": "carriers.textpb", "line": 5}]
row("262-07")["candidates"][0]["apns"][0]["entries"] => [{"file": "providers.xml", "line": 8, "name": "Plain", "reseller": false, "networks": ["262-07"]}]
[(e["line"], e["networks"]) for e in row("262-07")["candidates"][1]["apns"][0]["entries"]] => [[25, ["262-071"]], [26, ["262-07"]]]
[a["chosen"] for c in row("262-07")["candidates"] for a in c["apns"]] => [true, false]
row("262-07")["findings"] => []
d["table"]["unservable"], d["table"]["respelt"], d["table"]["not_dns_name"] => [[{"network": "311-480", "name": "Tie One"}], [], []]
row("262-08")["apn"], [(f["file"], f["line"], f["severity"], f["code"]) for f in row("262-08")["findings"]] => ["web.unstated", [["providers.xml", 20, "error", "apn-blanks"]]]
EOF
# 440-11: two primary providers, Small Own (rank_providers.xml:20) of one
# network, Big Host (line 15) of three: Small Own's mark. 206-01: nothing
# decides between Prox and Ruby (the undecided lines above).
with_json "generate rank --json" "$out/rank.json" rank_providers.xml ||
  fail "generate rank --json: status $?"
json_values "$out/rank.json" "generate rank --json" <<'EOF'
row("440-11")["apn"], row("440-11")["decided_by"] => ["small.own", "primary-mark"]
[[(e["file"], e["line"]) for a in c["apns"] for e in a["entries"]] for c in row("440-11")["candidates"]] => [[["rank_providers.xml", 20]], [["rank_providers.xml", 15]]]
row("206-01")["apn"], row("206-01")["decided_by"] => ["prox.be", "undecided"]
row("206-01")["chosen_over"] => {"apn": "ruby.be", "operator": "Ruby", "by": "the APN first in byte order"}
d["table"]["rows_decided_by"]["primary-mark"], len(d["table"]["undecided"]) => [1, 4]
d["table"]["undecided"][3] => {"key": "262-42", "apn": "mueller.de", "operator": "Müller Funk", "other_apn": "zett.de", "other_operator": "Zett", "by": "the APN first in byte order"}
d["table"]["rows_left_out_by"] => {"not-primary": 1}
EOF
# A report that cannot be written: status 2, said why, the table written.
"$tool" providers.xml --json "$out/none/r.json" > "$out/table" 2> "$out/err"
[ $? -eq 2 ] || fail "generate --json into no folder: status not 2"
same "$out/table" expected.csv "generate --json into no folder: the table"
[ "$(tail -n1 "$out/err")" = "isp_table: cannot write $out/none/r.json: No such file or directory" ] ||
  fail "generate --json into no folder: $(tail -n1 "$out/err")"
# Inputs it cannot read: no report.
"$tool" none.xml --json "$out/unread.json" 2> /dev/null
status=$?
if [ $status -ne 2 ] || [ -e "$out/unread.json" ]; then fail "generate --json of no input"; fi

# --only: a country in any case; an MCC, with the CDMA row of a provider
# that serves 404-80 too.
"$tool" --only De providers.xml apns.xml 2> /dev/null | tr -d '\r' > "$out/only"
printf '%s\n' 'Index,MCC,MNC,ISP,Region,System,APN,Number,User,Password' \
  '226207,262,07,Plain,DE,HSDPA,internet.plain,*99#,user,secret' \
  '226208,262,08,Unstated Use,DE,HSDPA,web.unstated,*99#,NA,NA' \
  '226209,262,09,CHINA Style NAme,DE,HSDPA,web,*99#,NA,NA' > "$out/want"
same "$out/only" "$out/want" "--only De"
# The merge walks a provider's network ids once: one provider with 50,000
# of them (50 MCCs, 1,000 MNCs each) is a second or two of work (100,000:
# 4 s), where a walk per pair took minutes. 5,000 rows, one per key.
awk 'BEGIN { printf "<serviceproviders><country code=\"de\"><provider><name>Big</name><gsm>"
  for (i = 0; i < 50000; i++) printf "<network-id mcc=\"%d\" mnc=\"%03d\"/>", 200 + int(i / 1000), i % 1000
  print "<apn value=\"big.apn\"/></gsm></provider></country></serviceproviders>" }' > "$out/big.xml"
timeout 30 "$tool" "$out/big.xml" > "$out/table" 2> /dev/null || fail "50,000 network ids: status $?"
[ "$(wc -l < "$out/table")" -eq 5001 ] || fail "50,000 network ids: $(wc -l < "$out/table") lines"
finish "isp_table generate: tables and summaries as expected"
