#!/usr/bin/env bash
# Times isp_pick's scan of a 200,000-row operator table in which no row
# matches, side by side with the same scan in awk and grep, and prints one
# table with mean times, peak memory and the stripped MIPS sizes.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/need_packages.sh
need_packages "${BUILD_PACKAGES[@]}" hyperfine time python3

work=$(mktemp -d /var/tmp/router-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
# The presets' settings, in folders of the bench's own.
cmake --preset host -B "$work/host" -DBUILD_TESTING=OFF --no-warn-unused-cli >/dev/null
cmake --build "$work/host" -j "$(nproc)" >/dev/null
cmake --install "$work/host" --prefix "$work/prefix" --strip >/dev/null
cmake --preset mips -B "$work/mips" >/dev/null
cmake --build "$work/mips" -j "$(nproc)" >/dev/null
cmake --install "$work/mips" --prefix "$work/mips-prefix" --strip >/dev/null

# The router's files: the SIM says MCC 999, MNC 99, which no row holds.
mkdir -p "$work/root/tmp" "$work/root/var"
printf 'AT+CIMI\r\n999991234567890\r\nOK\r\n' > "$work/root/tmp/cimi_output"
awk 'BEGIN { print "Index,MCC,MNC,ISP,Region,System,APN,Number,User,Password\r";
  for (i = 1; i <= 200000; i++)
    printf "%d,%03d,%02d,Operator %d,Region,HSDPA,internet.example.net,*99#,user,password\r\n",
      i, 200 + i % 700, i % 100, i }' > "$work/root/var/3.5G_Infomation.csv"
sed -i '2,$ s/^\([0-9]*\),999,99,/\1,998,99,/' "$work/root/var/3.5G_Infomation.csv"

table=/var/3.5G_Infomation.csv
isp="$work/prefix/bin/isp_pick"
awk_scan="awk -F, '\$2==\"999\" && \$3==\"99\" {print; exit}' $table"
grep_scan="grep -m1 -F ',999,99,' $table"
inside() {
  bwrap --dev-bind / / --bind "$work/root/tmp" /tmp --bind "$work/root/var" /var \
    --bind "$work" "$work" -- "$@"
}
# isp_pick ends with status 255 here (no profile), grep with 1: both expected.
inside hyperfine -N -i --warmup 3 --runs 30 --export-json "$work/times.json" \
  -n isp_pick "$isp" -n awk "$awk_scan" -n grep "$grep_scan" >/dev/null 2>&1
peak() { inside /usr/bin/time -f %M sh -c "$1 >/dev/null 2>&1; exit 0" 2>&1 >/dev/null | tail -1; }

echo "200,000-row table, no row matches; $(nproc) cores, $(uname -m), $(date -u +%F)"
python3 - "$work/times.json" "$(peak "$isp")" "$(peak "$awk_scan")" "$(peak "$grep_scan")" <<'PY'
import json, sys
runs = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
peaks = dict(zip(["isp_pick", "awk", "grep"], sys.argv[2:5]))
base = {k: runs[k]["mean"] for k in runs}
print("| scan | mean ms | ± ms | vs awk | vs grep | peak memory KiB |")
print("|---|---|---|---|---|---|")
for k in ["isp_pick", "awk", "grep"]:
    r = runs[k]
    print(f"| {k} | {r['mean']*1e3:.2f} | {r['stddev']*1e3:.2f} | {r['mean']/base['awk']:.2f} |"
          f" {r['mean']/base['grep']:.2f} | {peaks[k]} |")
PY
echo
echo "| stripped MIPS program | bytes | goal |"
echo "|---|---|---|"
echo "| isp_pick | $(stat -c %s "$work/mips-prefix/bin/isp_pick") | 12288 |"
echo "| hsdpa_keeper | $(stat -c %s "$work/mips-prefix/bin/hsdpa_keeper") | 6144 |"
