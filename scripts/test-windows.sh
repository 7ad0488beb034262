#!/usr/bin/env bash
# The Windows leg: cross-builds Trace.dll and the 32-bit Windows programs with
# mingw-w64 and runs their suites and the Windows test host under Wine
# through CTest, in a virtual X display (the pad is a real window). The Linux
# build's zone_wkt, given as $1 or TRACE_LINUX_ZONE_WKT, is what the Windows
# zones are compared with; without it that comparison is skipped. Likewise
# the Linux build's qt_samples, $2 or TRACE_LINUX_QT_SAMPLES, for the style
# samples.
#   scripts/test-windows.sh [LINUX_ZONE_WKT [LINUX_QT_SAMPLES]]
set -euo pipefail

# Taken from where the caller stands.
LINUX_TOOL=${1:-${TRACE_LINUX_ZONE_WKT:-}}
if [[ -n "$LINUX_TOOL" ]]; then
  LINUX_TOOL=$(realpath "$LINUX_TOOL")
fi
LINUX_SAMPLES=${2:-${TRACE_LINUX_QT_SAMPLES:-}}
if [[ -n "$LINUX_SAMPLES" ]]; then
  LINUX_SAMPLES=$(realpath "$LINUX_SAMPLES")
fi
cd "$(dirname "$0")/.."

BUILD=${TRACE_WIN_BUILD_DIR:-build-win}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake \
  -DCMAKE_BUILD_TYPE=Release -DTRACE_LINUX_ZONE_WKT="$LINUX_TOOL" \
  -DTRACE_LINUX_QT_SAMPLES="$LINUX_SAMPLES"
cmake --build "$BUILD" -j "$(nproc)"

export WINEDEBUG=-all
cd "$BUILD"
xvfb-run -a ctest --output-on-failure -j "$(nproc)" --timeout 900
