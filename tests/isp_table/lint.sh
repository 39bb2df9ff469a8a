#!/bin/sh
# isp_table lint on databases of our own, each kind of finding shown by
# lint_providers.xml, lint_apns.xml or lint_generated.xml, and on inputs
# it cannot read.
# Usage: lint.sh ISP_TABLE
# shellcheck source=tests/isp_table/lib.sh
. "$(dirname "$0")/lib.sh"
# Worked out by hand (lint_expected.txt): "web.spaced " with a blank, an
# error; Swapped's "utms" against "umts", its own MMS APN and Android's
# internet APN; 268-03 twice in Swapped's entry; Second Primary marked
# primary too, and its "second.pt" twice; 208-260 beside 208-26 with the
# same APN; Android's 222-010, an id Italy cannot have, with Mexico's
# "web.faraway.mx", an error; the generated file, set aside.
set -- lint_providers.xml lint_apns.xml lint_generated.xml
"$tool" lint "$@" > "$out/text" 2> "$out/err"
status=$?
[ $status -eq 1 ] || fail "lint: want status 1, got $status"
same "$out/text" lint_expected.txt "lint of the three"
[ -s "$out/err" ] && fail "lint: standard error: $(cat "$out/err")"
# The same run with --json: the same text and status, and the report.
"$tool" lint "$@" --json "$out/report.json" > "$out/text2" 2> "$out/err2"
[ $? -eq $status ] || fail "lint --json: another status"
same "$out/text2" "$out/text" "lint --json: standard output"
same "$out/err2" "$out/err" "lint --json: standard error"
valid_json "$out/report.json" "lint --json"
python3 - "$out/report.json" <<'PY' || fail "lint --json: values"
import json, sys
d = json.load(open(sys.argv[1]))
assert d["report"] == "lint", d["report"]
assert d["inputs"] == ["lint_providers.xml", "lint_apns.xml", "lint_generated.xml"], d["inputs"]
assert d["counts"] == {"errors": 2, "warnings": 7}, d["counts"]
f = d["findings"]
assert [x["code"] for x in f] == ["apn-blanks", "apn-misspelt", "duplicate-network-id",
    "two-primary-providers", "duplicate-apn", "network-id-written-long",
    "no-primary-provider", "apn-of-another-country", "generated-database"], [x["code"] for x in f]
assert (f[6]["file"], f[6]["line"], f[6]["severity"]) == ("lint_providers.xml", 42, "warning"), f[6]
assert (f[7]["file"], f[7]["line"], f[7]["severity"]) == ("lint_apns.xml", 3, "error"), f[7]
assert (f[8]["file"], f[8]["line"]) == ("lint_generated.xml", 0), f[8]
PY
# Alone, Swapped's two spellings are one entry each: either may be the
# slip, so both are named. No provider database gives 222-010 a country.
"$tool" lint lint_providers.xml | grep -c 'one slip from' | grep -qx 2 ||
  fail "lint_providers.xml alone: both spellings"
"$tool" lint lint_apns.xml > "$out/text" || fail "lint_apns.xml alone: want status 0"
echo "1 database: 0 errors, 0 warnings" | same - "$out/text" "lint_apns.xml alone"
# Warnings alone end with status 0.
"$tool" lint lint_generated.xml > /dev/null || fail "lint_generated.xml alone: want status 0"
# The blanks around "web.spaced" reach 268-01's row: generating's summary
# names that finding, as lint prints it, and only lint's findings.
"$tool" lint_providers.xml 2> "$out/summary" > /dev/null
sed -n '/^database mistakes/,$p' "$out/summary" > "$out/named"
grep -qx '  lint_providers.xml:8: error: APN "web.spaced " .*' "$out/named" ||
  fail "generate: the summary does not name web.spaced"
sed -n 's/^  //p' "$out/named" | while read -r line; do
  grep -qxF "$line" lint_expected.txt || fail "generate: not a lint finding: $line"
done
# A database that cannot be read ends the run, with no report.
rm -f "$out/none.json"
"$tool" lint lint_providers.xml missing.xml --json "$out/none.json" > /dev/null 2> "$out/err"
[ $? -eq 2 ] || fail "lint missing.xml: want status 2"
grep -q '^isp_table: cannot read missing.xml: ' "$out/err" || fail "lint missing.xml: $(cat "$out/err")"
[ -e "$out/none.json" ] && fail "lint missing.xml: a report was written"
"$tool" lint > /dev/null 2>&1
[ $? -eq 2 ] || fail "lint without DB: want status 2"
"$tool" lint lint_apns.xml --json "$out/no/such/dir.json" > /dev/null 2> "$out/err"
[ $? -eq 2 ] || fail "lint --json to a folder that is not there: want status 2"
finish "isp_table lint: findings as expected"
