#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once on the normal
# build (which also builds and tests the MIPS and musl programs, runs the
# suite with BusyBox ash as /bin/sh, and replays the kept fuzz corpus) and
# once under AddressSanitizer and UndefinedBehaviorSanitizer. Timed fuzzing
# is scripts/fuzz.sh, not part of this gate. Prints how long each stage took.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/need_packages.sh

start=$SECONDS
stage_start=$SECONDS
times=()
# stage NAME: the stage NAME, which ends now, took the time since the last one.
stage() {
  times+=("$(printf '%-14s %4d s' "$1" $((SECONDS - stage_start)))")
  stage_start=$SECONDS
}
report() {
  echo "=== time per stage ==="
  printf '%s\n' "${times[@]}"
  printf '%-14s %4d s\n' "all" $((SECONDS - start))
}
trap report EXIT

need_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
stage "packages"

logs=()
for preset in default asan; do
  echo "=== $preset build ==="
  # The preset names the folder; configuring says which it is.
  dir=$(cmake --preset "$preset" | sed -n 's/^-- Build files have been written to: //p')
  cmake --build --preset "$preset" -j "$(nproc)"
  stage "$preset build"
  echo "=== $preset tests ==="
  # Each entry's output stays in the build folder, for a run that fails.
  status=0
  ctest --preset "$preset" --output-junit junit.xml || status=$?
  stage "$preset tests"
  if [ $status -ne 0 ]; then
    echo "=== $preset tests failed; each entry's output: $dir/junit.xml and" \
      "$dir/Testing/Temporary/LastTest.log ==="
    exit $status
  fi
  logs+=("$dir/junit.xml")
done
echo "=== all tests passed; logs: ${logs[*]} ==="
