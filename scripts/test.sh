#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once on the normal
# build (which also builds and tests the MIPS and musl programs, and runs the
# suite with BusyBox ash as /bin/sh) and once under AddressSanitizer and
# UndefinedBehaviorSanitizer; then fuzzes every reader.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/need_packages.sh
need_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

jobs=$(nproc)
for preset in default asan; do
  echo "=== $preset build ==="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done

echo "=== fuzzing every reader (FUZZ_SECONDS=${FUZZ_SECONDS:-25} each) ==="
./scripts/fuzz.sh
