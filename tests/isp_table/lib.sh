# Shared by the isp_table fixture scripts, sourced with the tool's path as
# $1: $tool is its absolute path, the scripts run in the fixtures' folder
# with a scratch folder $out. A failed case is named and the script goes
# on, so that one run names every case that fails; finish ends the script
# with status 1 when any did.
tool=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
cd "$(dirname "$0")" || exit 2
out=$(mktemp -d)
failed=$(mktemp)
trap 'rm -rf "$out" "$failed"' EXIT
# A file, not a variable: cases in a pipeline's subshell fail too.
fail() { echo "FAIL: $*"; echo "$*" >> "$failed"; }
same() { cmp -s "$1" "$2" || { diff "$1" "$2"; fail "$3"; }; }
# Usage: finish MESSAGE, the last line of a script.
finish() {
  if [ -s "$failed" ]; then
    echo "$(wc -l < "$failed") failed case(s)"
    exit 1
  fi
  echo "$1"
}
# Usage: valid_json DOC CASE: DOC parses as JSON and matches the reports'
# schema, else CASE fails with the validator's reasons.
schema=$(cd .. && cd .. && pwd)/isp_table/isp_table.schema.json
valid_json() {
  python3 valid_json.py "$schema" "$1" || fail "$2: $1 is not a valid report"
}
# Usage: with_json CASE DOC ARGS...: runs the tool with ARGS, then again
# with --json DOC; stdout, stderr and status must be the same both times,
# and DOC a valid report. The run without --json is left in $out/run.out,
# $out/run.err and $out/run.status; its status is returned.
with_json() {
  case=$1 doc=$2
  shift 2
  "$tool" "$@" > "$out/run.out" 2> "$out/run.err"
  echo $? > "$out/run.status"
  rm -f "$doc"
  "$tool" "$@" --json "$doc" > "$out/json.out" 2> "$out/json.err"
  echo $? > "$out/json.status"
  same "$out/json.out" "$out/run.out" "$case: stdout with --json"
  same "$out/json.err" "$out/run.err" "$case: stderr with --json"
  same "$out/json.status" "$out/run.status" "$case: status with --json"
  valid_json "$doc" "$case"
  return "$(cat "$out/run.status")"
}
# Usage: json_is DOC EXPR WANT CASE: the Python expression EXPR over the
# document d prints WANT, else CASE fails.
json_is() {
  got=$(python3 -c "import json, sys; d = json.load(open(sys.argv[1])); print($2)" "$1")
  [ "$got" = "$3" ] || fail "$4: $2 is '$got', want '$3'"
}
# Usage: json_values DOC CASE, lines "EXPR => VALUE" on standard input: each
# EXPR (Python, the document as d, row(KEY) a generate report's row of KEY)
# gives the JSON VALUE, else CASE fails, naming it.
json_values() {
  python3 -c '
import json, sys
d = json.load(open(sys.argv[1], encoding="utf-8"))
def row(key):
    return next(r for r in d["rows"] if r["key"] == key)
bad = 0
for line in sys.stdin:
    if line.strip():
        expr, want = line.rsplit(" => ", 1)
        got = json.loads(json.dumps(eval(expr)))  # tuples as lists
        if got != json.loads(want):
            print(f"{expr}: {json.dumps(got, ensure_ascii=False)}, not {want.strip()}")
            bad = 1
sys.exit(bad)' "$1" || fail "$2: values of $1"
}
