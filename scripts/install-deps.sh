#!/usr/bin/env bash
# Installs what building and testing Trace needs on Debian 12. Harmless when
# everything is already there; needs root (or sudo) only when something is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  fonts-liberation2
  libgeos-dev libboost-dev
  libgdal-dev gdal-bin
  nlohmann-json3-dev libcli11-dev
  clang-format ccache
  xvfb xauth
  # The Windows leg: the 32-bit cross compiler, Wine to run its programs and
  # GoogleTest's sources to build for it; Python makes the DLL's resources.
  g++-mingw-w64-i686-posix wine wine32:i386 googletest python3
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
# 32-bit Wine comes from the i386 architecture's packages.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
