#!/usr/bin/env bash
# Installs what building and testing Trace needs on Debian 12. Harmless when
# everything is already there; needs root (or sudo) only when something is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  # lrelease and lupdate for the host's translation; Qt's own Russian texts
  # (standard buttons, file dialogs).
  qt6-l10n-tools qt6-translations-l10n
  fonts-liberation2
  # The peers of the benchmarks and the tests' oracles, never of the product.
  libgeos-dev libboost-dev libpolyclipping-dev libcgal-dev
  libgdal-dev gdal-bin
  nlohmann-json3-dev libcli11-dev
  clang-format ccache
  xvfb xauth
  # The Windows leg: the 32-bit cross compiler, GoogleTest's sources to build
  # for it; Python makes the DLL's resources.
  g++-mingw-w64-i686-posix googletest python3
)
# Wine runs the Windows programs, with what it recommends (its fonts and the
# X extensions its windows use), as the Windows leg was tried with them.
WINE_PACKAGES=(wine wine32:i386)

missing() {
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}
mapfile -t MISSING < <(missing "${PACKAGES[@]}")
mapfile -t MISSING_WINE < <(missing "${WINE_PACKAGES[@]}")
[ ${#MISSING[@]} -eq 0 ] && [ ${#MISSING_WINE[@]} -eq 0 ] && exit 0

echo "Installing: ${MISSING[*]} ${MISSING_WINE[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
# 32-bit Wine comes from the i386 architecture's packages.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
if [ ${#MISSING[@]} -gt 0 ]; then
  $SUDO apt-get install -y -qq --no-install-recommends "${MISSING[@]}" </dev/null
fi
if [ ${#MISSING_WINE[@]} -gt 0 ]; then
  $SUDO apt-get install -y -qq "${MISSING_WINE[@]}" </dev/null
fi
