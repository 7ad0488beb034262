#!/usr/bin/env bash
# The Windows leg: cross-builds the 32-bit Windows programs with mingw-w64 and
# runs their suites under Wine through CTest. The Linux trace-geom, given as $1
# or TRACE_LINUX_TRACE_GEOM, is what the Windows tool's zones are compared
# with; without it that comparison is skipped.
#   scripts/test-windows.sh [LINUX_TRACE_GEOM]
set -euo pipefail

# Taken from where the caller stands.
LINUX_TOOL=${1:-${TRACE_LINUX_TRACE_GEOM:-}}
if [[ -n "$LINUX_TOOL" ]]; then
  LINUX_TOOL=$(realpath "$LINUX_TOOL")
fi
cd "$(dirname "$0")/.."

BUILD=${TRACE_WIN_BUILD_DIR:-build-win}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake \
  -DTRACE_LINUX_TRACE_GEOM="$LINUX_TOOL"
cmake --build "$BUILD" -j "$(nproc)"

export WINEDEBUG=-all
cd "$BUILD"
ctest --output-on-failure -j "$(nproc)" --timeout 900
