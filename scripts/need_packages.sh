# Sourced by the scripts: need_packages PKG... installs the Debian packages
# that are not installed yet (apt-get update once, only when something is
# missing). Only what the packages depend on comes along, never their
# Recommends, and apt shows each package as it is unpacked and set up.
need_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing from Debian: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  # One line per package: apt's own "Unpacking" and "Setting up" lines.
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends \
    -o Dpkg::Progress-Fancy=0 "${missing[@]}" | grep --line-buffered -E '^(Unpacking|Setting up) ' || true
  for p in "${missing[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
      { echo "need_packages: $p could not be installed" >&2; return 1; }
  done
}
BUILD_PACKAGES=(cmake g++ make libgtest-dev bubblewrap binutils ppp g++-mips-linux-gnu qemu-user
  libpugixml-dev libcli11-dev nlohmann-json3-dev libssl-dev mobile-broadband-provider-info)
# What the tests need beyond the build: the router's shell (BusyBox ash), the
# router's C library (musl), strace for fault injection, and mandoc for the
# manual pages' lint and rendering, and a JSON Schema validator for the
# reports isp_table writes.
TEST_PACKAGES=(busybox musl-tools musl-dev strace mandoc python3-jsonschema)
