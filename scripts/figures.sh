#!/usr/bin/env bash
# Reruns the isp_table figures that README.md, HACKING.md and the newest
# section of CHANGELOG.md state, and prints each under the name those
# documents use for it. Run it after every change of isp_table's rules and
# put what it prints into the documents.
#
# Usage: scripts/figures.sh [ISP_TABLE]   (default: the default preset's)
# The inputs, from the environment (a figure whose inputs are missing is
# skipped, and the line says so):
#   FIG_PROVIDERS_2023  provider database 20230416 (Debian 12's
#                       mobile-broadband-provider-info; the installed one by default)
#   FIG_PROVIDERS_2026  provider database of 2026-08-04 (its git repository)
#   FIG_ANDROID         Android's apns-conf.xml of LineageOS, 2024-10-18
#   FIG_CARRIERS        Android's carrier_list.textpb of AOSP, 2024-07-14
#   FIG_GENERATED       the apns-conf.xml that mobile-broadband-provider-info
#                       generates from FIG_PROVIDERS_2023 (installed beside it)
set -u
cd "$(dirname "$0")/.."
# The preset names the build folder; configuring says which it is.
build_dir=$(cmake --preset default 2>/dev/null | sed -n 's/^-- Build files have been written to: //p')
tool=${1:-$build_dir/isp_table/isp_table}
p23=${FIG_PROVIDERS_2023:-/usr/share/mobile-broadband-provider-info/serviceproviders.xml}
p26=${FIG_PROVIDERS_2026:-}
android=${FIG_ANDROID:-}
carriers=${FIG_CARRIERS:-}
generated=${FIG_GENERATED:-$(dirname "$p23")/apns-conf.xml}
demo=scripts/demo/operators.csv
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
[ -x "$tool" ] || { echo "no $tool: build first (./scripts/test.sh)"; exit 2; }

have() {
  for f in "$@"; do
    [ -n "$f" ] && [ -f "$f" ] || { echo "  (skipped: an input is not given)"; return 1; }
  done
}

# The merged table's figure NAME ("rows", "networks served", ...) from a summary.
merged() { sed -n '/^merged table:/,$p' "$1" | grep -m1 "^ *$2: " | sed 's/.*: //'; }
signs() {  # rows decided by one of the six signs
  sed -n '/^merged table:/,$p' "$1" | sed -n '/^  rows decided by:/,$p' | sed -n '2,7p' |
    awk -F': ' '{ n += $NF } END { print n }'
}
undecided_keys() { sed -n '/^merged table:/,$p' "$1" | grep -E '^      [0-9]{3}-[0-9]+: .*: nothing in the inputs decides' | sed 's/^ *//; s/:.*//'; }

# generate NAME FILE...: the table and summary of FILE... as NAME.csv, NAME.sum.
generate() {
  local name=$1
  shift
  "$tool" "$@" > "$out/$name.csv" 2> "$out/$name.sum"
}

echo "README, generated tables (rows | decided by a sign | one operator's APNs only | undecided):"
for set in p a pa pc ac pac; do
  case $set in
    p) files=("$p23") label="provider database" ;;
    a) files=("$android") label="Android's database" ;;
    pa) files=("$p23" "$android") label="both" ;;
    pc) files=("$p23" "$carriers") label="provider + carriers" ;;
    ac) files=("$android" "$carriers") label="Android + carriers" ;;
    pac) files=("$p23" "$android" "$carriers") label="all three" ;;
  esac
  have "${files[@]}" || continue
  generate "$set" "${files[@]}"
  s=$out/$set.sum
  printf '  %-20s %s | %s | %s | %s\n' "$label" "$(merged "$s" rows)" "$(signs "$s")" \
    "$(( $(merged "$s" "one operator's APNs only") + $(merged "$s" "one operator's data APNs only, the others' service APNs") ))" \
    "$(merged "$s" "nothing (undecided: a weak tie-break chose)")"
done
if [ -f "$out/pa.sum" ] && [ -f "$out/p.sum" ] && [ -f "$out/a.sum" ]; then
  undecided_keys "$out/pa.sum" | sort > "$out/pa.keys"
  for one in p a; do
    undecided_keys "$out/$one.sum" | sort > "$out/$one.keys"
    printf '  both decide %s of the %s keys %s alone leaves undecided\n' \
      "$(comm -23 "$out/$one.keys" "$out/pa.keys" | wc -l)" "$(wc -l < "$out/$one.keys")" \
      "$([ $one = p ] && echo "the provider database" || echo "Android's")"
  done
fi

echo "HACKING, reference figures (the provider database 20230416 alone):"
if have "$p23"; then
  [ -f "$out/p.sum" ] || generate p "$p23"
  s=$out/p.sum
  for name in "providers and carriers" networks rows "rows left out" "networks served" \
    "networks no table can serve under the lookup rule" "networks without a usable internet APN" \
    "networks whose key has no row at all" "network ids read as the two-digit network they begin with"; do
    printf '  %s: %s\n' "$name" "$(merged "$s" "$name")"
  done
  sed -n '/^merged table:/,$p' "$s" | sed -n '/^  rows left out:/,/^  networks served:/p' | sed '1d;$d'
  sed -n '/^merged table:/,$p' "$s" | sed -n '/^  networks no table can serve/,/^  networks without/p' | sed '1d;$d'
  sed -n '/^merged table:/,$p' "$s" | sed -n '/^  rows decided by:/,$p' | sed -n '2,10p'
  printf '  CDMA SIDs outside the SID table: %s\n' "$(grep -m1 'CDMA SIDs outside' "$s" | sed 's/.*: //')"
  printf '  <gid1> elements in the file: %s\n' "$(grep -c '<gid1>' "$p23")"
  printf '  indexes of six characters: %s, of seven: %s\n' \
    "$(tail -n +2 "$out/p.csv" | cut -d, -f1 | awk 'length == 6' | wc -l)" \
    "$(tail -n +2 "$out/p.csv" | cut -d, -f1 | awk 'length == 7' | wc -l)"
  printf '  check of the table: %s\n' "$("$tool" check "$out/p.csv" | tail -n 1 | sed 's/^[^:]*: //')"
  "$tool" check "$out/p.csv" | grep ': warning: ' | sed 's/^[^:]*:/  check warning: line /'
  printf '  check --against its own database: %s\n' \
    "$("$tool" check "$out/p.csv" --against "$p23" | tail -n 1 | sed 's/^[^:]*: //')"
  "$tool" extend "$demo" "$p23" > "$out/demo_p.csv" 2> "$out/demo_p.sum"
  sed -n '/^extended table/,$p' "$out/demo_p.sum" | sed -n '2,5p'
  printf '  diff of the demo table and its extension: %s\n' "$("$tool" diff "$demo" "$out/demo_p.csv" | tail -n 1)"
fi

echo "CHANGELOG, newest section:"
if have "$p23" "$p26"; then
  [ -f "$out/demo_p.csv" ] || "$tool" extend "$demo" "$p23" > "$out/demo_p.csv" 2>/dev/null
  "$tool" extend "$demo" "$p26" > "$out/demo_26.csv" 2>/dev/null
  printf '  demo table extended from 20230416, then from 2026-08: %s\n' \
    "$("$tool" diff "$out/demo_p.csv" "$out/demo_26.csv" | tail -n 1)"
  generate p26 "$p26"
  [ -f "$out/p.csv" ] || generate p "$p23"
  for pair in "p26 $p23 2026-08's table against 20230416" "p $p26 20230416's table against 2026-08"; do
    set -- $pair
    "$tool" check "$out/$1.csv" --against "$2" > "$out/against"
    shift 2
    printf '  check --against, %s: "is listed for" %s, "the public data lists" %s, "is another operator'"'"'s" %s\n' \
      "$*" "$(grep -c ': warning: APN .* is listed for ' "$out/against")" \
      "$(grep -c ': warning: the public data lists ' "$out/against")" \
      "$(grep -c "is another operator's" "$out/against")"
  done
fi

if have "$p23" "$generated"; then
  [ -f "$out/p.csv" ] || generate p "$p23"
  generate pg "$p23" "$generated"
  printf '  20230416 with its generated apns-conf.xml beside it, against 20230416 alone: %s\n' \
    "$("$tool" diff "$out/p.csv" "$out/pg.csv" | tail -n 1)"
fi
if have "$android"; then
  [ -f "$out/a.sum" ] || generate a "$android"
  printf "  Android's 2024-10 alone, left out for an APN's bytes: %s\n" \
    "$(merged "$out/a.sum" "APN with a byte other than letters, digits, hyphens and dots")"
fi

echo "HACKING, the generic APN rule (each APN's reach, the databases read as the tool lists internet APNs):"
# generic: listed under 6 or more MCCs by 6 or more operators (first words of names).
reach() {
  awk '
# The reach of each internet APN (case folded): the MCCs and the operators
# (first word of the lister'"'"'s name) that list it.
function first_word(n) { n = tolower(n); sub(/^[ \t]+/, "", n); sub(/[ \t,.(].*/, "", n); return n }
function attr(s, name) {
  return match(s, " " name "=\"[^\"]*\"") ? substr(s, RSTART + length(name) + 3, RLENGTH - length(name) - 4) : ""
}
function note(apn, mcc, op) {
  apn = tolower(apn)
  if (!((apn, mcc) in seen_mcc)) { seen_mcc[apn, mcc] = 1; mccs[apn]++ }
  if (!((apn, op) in seen_op)) { seen_op[apn, op] = 1; ops[apn]++ }
}
/<provider[ >]/ { name = ""; n = 0 }
/<name[^>]*>/ && name == "" { s = $0; sub(/.*<name[^>]*>/, "", s); sub(/<\/name>.*/, "", s); name = s }
/<network-id / { mcc[++n] = attr($0, "mcc") }
/<apn value=/ { value = attr($0, "value"); usages = 0; internet = 0 }
/<usage / { usages++; if (("-" attr($0, "type") "-") ~ /-internet-/) internet = 1 }
/<\/apn>/ || (/<apn value=/ && /\/>/) { if (!usages || internet) for (j = 1; j <= n; j++) note(value, mcc[j], first_word(name)) }
/<apn / && !/<apn value=/ { buf = $0; while (buf !~ /\/>/ && (getline line) > 0) buf = buf " " line
  type = attr(buf, "type")
  if (attr(buf, "mvno_type") == "" && attr(buf, "carrier_enabled") != "false" && (type == "" || type ~ /(^|,) *(default|\*) *(,|$)/))
    note(attr(buf, "apn"), attr(buf, "mcc"), first_word(attr(buf, "carrier"))) }
END {
  for (a in mccs) if (mccs[a] >= 6 && ops[a] >= 6) print "generic: " a
  for (a in mccs) if (!(mccs[a] >= 6 && ops[a] >= 6) && mccs[a] > most) { most = mccs[a]; widest = a }
  print "widest other: " widest " (" most " MCCs, " ops[widest] " operators)"
}
' "$@" | sort | sed 's/^/  /'
}
if have "$p23"; then echo "  20230416 alone:"; reach "$p23"; fi
if have "$p23" "$android"; then echo "  20230416 and Android's 2024-10:"; reach "$p23" "$android"; fi

echo "HACKING, the merge's cost (one provider of 20,000 network ids, 20 MCCs of 1,000 MNCs):"
awk 'BEGIN { printf "<serviceproviders><country code=\"de\"><provider><name>Big</name><gsm>"
  for (i = 0; i < 20000; i++) printf "<network-id mcc=\"%d\" mnc=\"%03d\"/>", 200 + int(i / 1000), i % 1000
  print "<apn value=\"big.apn\"/></gsm></provider></country></serviceproviders>" }' > "$out/big.xml"
start=$(date +%s.%N)
"$tool" "$out/big.xml" > /dev/null 2>&1
awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "  %.2f s\n", b - a }'

echo "README, stripped sizes in bytes (the test build's MIPS and musl programs):"
for build in mips musl; do
  for program in isp_pick hsdpa_keeper; do
    f=$build_dir/$build/stage/bin/$program
    [ -f "$f" ] && printf '  %s %s: %s\n' "$build" "$program" "$(stat -c %s "$f")"
  done
done
