#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for FUZZ_SECONDS (default 25),
# with a private /tmp and /var, seeded from tests/fuzz/corpus/TARGET. Any
# crash fails the run; keep the crashing input (build-fuzz/artifacts/) in
# tests/fuzz/corpus/TARGET so that every later run replays it.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/need_packages.sh
need_packages "${BUILD_PACKAGES[@]}" clang
# libFuzzer and the sanitizers' runtimes are packaged per clang version
# (14 on Debian 12, 19 on Debian 13): the one of the clang installed.
clang_major=$(clang --version | sed -n '1s/.*clang version \([0-9]*\).*/\1/p')
need_packages "libclang-rt-$clang_major-dev"

seconds=${FUZZ_SECONDS:-25}
# The preset names the folder; configuring says which it is.
out=$(cmake --preset fuzz | sed -n 's/^-- Build files have been written to: //p')
cmake --build --preset fuzz -j "$(nproc)" >/dev/null
mkdir -p "$out/artifacts"
printf '| target | executions | seconds | corpus inputs | findings |\n|---|---|---|---|---|\n' > "$out/summary.md"
status=0
for seeds in tests/fuzz/corpus/*/; do
  target=$(basename "$seeds")
  mkdir -p "$out/corpus/$target"
  log="$out/$target.log"
  if bwrap --dev-bind / / --tmpfs /tmp --tmpfs /var --bind "$PWD" "$PWD" -- \
      "$out/tests/fuzz/${target}_fuzz" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=1024 \
      -close_fd_mask=3 -print_final_stats=1 -dict=tests/fuzz/protocol.dict \
      -artifact_prefix="$out/artifacts/$target-" "$out/corpus/$target" "$seeds" > "$log" 2>&1; then
    findings=0
  else
    findings=1
    status=1
    echo "FUZZ FAILURE in $target; see $log and $out/artifacts/"
    grep -m3 -E "ERROR|SUMMARY" "$log" || true
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  time=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log")
  inputs=$(ls "$out/corpus/$target" "$seeds" | grep -vc ':$\|^$' || true)
  printf '| %s | %s | %s | %s | %s |\n' "$target" "${runs:-?}" "${time:-?}" "$inputs" "$findings" >> "$out/summary.md"
done
cat "$out/summary.md"
exit $status
