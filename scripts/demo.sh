#!/usr/bin/env bash
# A simulated router on the desk: installs what is missing, builds, and runs
# both programs in a private /tmp and /var, with a stand-in for the router's
# flash command and link script, and the real chat talking to a simulated 3G
# card on a pseudo-terminal. Everything lives in one temporary folder,
# removed at the end.
# Try your own operator table or capture: DEMO_TABLE=file DEMO_CAPTURE=file.
set -euo pipefail
# The files are named from where the demo was started; a wrong name fails
# before the build.
for file in "${DEMO_TABLE:-}" "${DEMO_CAPTURE:-}"; do
  [ -z "$file" ] || [ -f "$file" ] || { echo "demo.sh: no file $file" >&2; exit 2; }
done
[ -z "${DEMO_TABLE:-}" ] || DEMO_TABLE=$(realpath "$DEMO_TABLE")
[ -z "${DEMO_CAPTURE:-}" ] || DEMO_CAPTURE=$(realpath "$DEMO_CAPTURE")
cd "$(dirname "$0")/.."
. scripts/need_packages.sh
need_packages "${BUILD_PACKAGES[@]}"

work=$(mktemp -d /var/tmp/router-demo.XXXXXX)
trap 'rm -rf "$work"' EXIT
cmake -S . -B "$work/build" >/dev/null
cmake --build "$work/build" -j "$(nproc)" --target isp_pick hsdpa_keeper isp_table sim_modem >/dev/null
cmake --install "$work/build" --prefix "$work/prefix" >/dev/null
modem="$work/build/tests/sim_modem"
mkdir -p "$work/root/tmp" "$work/root/var/config" "$work/root/bin"
cp tests/standins/flash tests/standins/HSDPA.sh "$work/root/bin/"

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
# Runs a command line with the simulated card of mode $1 at /tmp/modem.
with_modem() {
  router "$modem /tmp/modem $1 & m=\$!; while [ ! -e /tmp/modem ]; do sleep 0.05; done; $2; kill \$m"
}

if [ -n "${DEMO_TABLE:-}" ]; then cp "$DEMO_TABLE" "$work/root/var/3.5G_Infomation.csv"
else cp scripts/demo/operators.csv "$work/root/var/3.5G_Infomation.csv"; fi
if [ -n "${DEMO_CAPTURE:-}" ]; then cp "$DEMO_CAPTURE" "$work/root/tmp/cimi_output"; fi
mkdir -p "$work/root/var/flash"
printf 'old.apn' > "$work/root/var/flash/G_APN"

heading "1. A WCDMA card: the router saves its AT+CIMI dialogue with chat"
if [ -z "${DEMO_CAPTURE:-}" ]; then
  with_modem "imsi 262011234567890" \
    'chat -v -V "" "AT+CIMI" "OK" "" < /tmp/modem > /tmp/modem 2> /tmp/cimi_output'
fi
echo "/tmp/cimi_output:"
tr -d '\r' < "$work/root/tmp/cimi_output"; echo
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

heading "3. A CDMA card: no IMSI, so isp_pick asks for the SID with chat (AT+CSS)"
printf 'AT+CIMI\r\nERROR\r\n' > "$work/root/tmp/cimi_output"
printf 'CDMA\nEVDO card\nPORT=/tmp/modem\n' > "$work/root/var/HSDPACARD"
echo "/var/HSDPACARD names the card's control device:"
cat "$work/root/var/HSDPACARD"
echo "isp_pick:"
with_modem "sid 14494" 'isp_pick; echo "(isp_pick ended with status $?)"' 2>&1
echo "/tmp/css_output, the dialogue chat logged:"
cat "$work/root/tmp/css_output"; echo
heading "The configuration store after"
show_store

heading "4. hsdpa_keeper: settings that put the 3G link in use (/var/config/SYS.info)"
printf 'OP_MODE=0\nWAN_DHCP=5\nWAN_INTERFACE=1\nG_BACKUP=0\n' > "$work/root/var/config/SYS.info"
cat "$work/root/var/config/SYS.info"
echo "Running hsdpa_keeper for 12 seconds:"
router 'hsdpa_keeper & k=$!; sleep 12; kill $k; echo "(hsdpa_keeper stopped)"' 2>&1
