#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that
# are missing, so a second run costs nothing. Used by ./vell and ./test.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686
  dpkg-dev libz-mingw-w64-dev patch
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 wine64-preloader
  xvfb xauth
  fonts-liberation fonts-dejavu-core fonts-wine
  imagemagick xdotool
  libcairo2-dev libfontconfig-dev nlohmann-json3-dev libstb-dev
  cups cups-client cups-bsd printer-driver-cups-pdf libcups2 poppler-utils
  clang libclang-rt-14-dev
  wixl dpkg-dev file lintian
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
