# Sourced by the scripts: need_packages PKG... installs the Debian packages
# that are not installed yet (apt-get update once, only when something is missing).
need_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
}
BUILD_PACKAGES=(cmake g++ make libgtest-dev bubblewrap binutils ppp g++-mips-linux-gnu qemu-user
  libpugixml-dev mobile-broadband-provider-info)
