#!/usr/bin/env bash
# A simulated router on the desk: installs what is missing, builds, and runs
# isp_pick in a private /tmp and /var with stand-ins for the router's flash
# and chat commands. Everything lives in one temporary folder, removed at the end.
# Try your own operator table or capture: DEMO_TABLE=file DEMO_CAPTURE=file.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/need_packages.sh
need_packages "${BUILD_PACKAGES[@]}"

work=$(mktemp -d /var/tmp/router-demo.XXXXXX)
trap 'rm -rf "$work"' EXIT
cmake -S . -B "$work/build" -DBUILD_TESTS=OFF >/dev/null
cmake --build "$work/build" -j "$(nproc)" >/dev/null
cmake --install "$work/build" --prefix "$work/prefix" >/dev/null
mkdir -p "$work/root/tmp" "$work/root/var/config" "$work/root/bin"
cp tests/standins/flash tests/standins/chat tests/standins/HSDPA.sh "$work/root/bin/"

# Runs a command line as the router: its own /tmp and /var, stand-ins first on PATH.
router() {
  bwrap --dev-bind / / --bind "$work/root/tmp" /tmp --bind "$work/root/var" /var \
    --bind "$work" "$work" --die-with-parent \
    --setenv PATH "$work/root/bin:$work/prefix/bin:/usr/sbin:/usr/bin:/sbin:/bin" \
    -- /bin/sh -c "$1"
}
heading() { printf '\n== %s ==\n' "$1"; }
show_store() {
  router 'for item in G_ISP_INDEX G_SYSTEM G_APN G_USERNAME G_PASSWORD G_NUMBER; do
            flash get $item || echo "$item (not set)"; done'
}
run_isp_pick() {
  router 'isp_pick; echo "(isp_pick ended with status $?)"' 2>&1
}

if [ -n "${DEMO_TABLE:-}" ]; then cp "$DEMO_TABLE" "$work/root/var/3.5G_Infomation.csv"
else cp scripts/demo/operators.csv "$work/root/var/3.5G_Infomation.csv"; fi
if [ -n "${DEMO_CAPTURE:-}" ]; then cp "$DEMO_CAPTURE" "$work/root/tmp/cimi_output"
else cp scripts/demo/cimi_output "$work/root/tmp/cimi_output"; fi
mkdir -p "$work/root/var/flash"
printf 'old.apn' > "$work/root/var/flash/G_APN"

heading "1. A WCDMA card: the SIM's AT+CIMI dialogue (/tmp/cimi_output)"
tr -d '\r' < "$work/root/tmp/cimi_output"
heading "The operator table (/var/3.5G_Infomation.csv)"
tr -d '\r' < "$work/root/var/3.5G_Infomation.csv"
heading "The configuration store before"
show_store
heading "isp_pick picks the operator's profile"
run_isp_pick
heading "The configuration store after"
show_store
heading "2. A second run with the same SIM stops at the memo (/tmp/former_isp)"
run_isp_pick
