#!/bin/sh
# isp_table on a small database of our own: exact table and summary, the
# same bytes twice, and clear failures on files it cannot use.
# Usage: check.sh ISP_TABLE
tool=$1
here=$(dirname "$0")
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$tool" "$here/providers.xml" > "$out/table" 2> "$out/summary" || fail "status $?"
cmp "$out/table" "$here/expected.csv" || { diff "$out/table" "$here/expected.csv"; fail table; }
diff "$out/summary" "$here/expected_summary.txt" || fail summary
"$tool" "$here/providers.xml" 2>/dev/null | cmp - "$out/table" || fail "not deterministic"

for bad in missing.xml malformed.xml wrong_root.xml; do
  if "$tool" "$here/$bad" > "$out/table" 2> "$out/err"; then fail "$bad accepted"; fi
  grep -q "^isp_table: cannot read $here/$bad: " "$out/err" || fail "$bad: $(cat "$out/err")"
  [ ! -s "$out/table" ] || fail "$bad wrote a table"
done
echo "isp_table fixture: table, summary and failures as expected"
