#!/usr/bin/env bash
# The test command: installs what is missing, builds with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs every test suite through CTest (the
# Linux leg), then cross-builds Trace.dll and runs the Windows suites and test
# host under Wine (the Windows leg). Either leg failing fails the command.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

BUILD=${TRACE_TEST_BUILD_DIR:-build-test}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRACE_SANITIZE=ON \
  -DTRACE_BUILD_TESTS=ON
cmake --build "$BUILD" -j "$(nproc)"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# Fontconfig keeps its configuration for the life of the process.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp}
LINUX_START=$SECONDS
(cd "$BUILD" && ctest --output-on-failure -j "$(nproc)" --timeout 900)
echo "Linux leg: tests took $((SECONDS - LINUX_START)) s"

WINDOWS_START=$SECONDS
./scripts/test-windows.sh "$BUILD/tests/zones/zone_wkt" "$BUILD/tests/samples/qt_samples"
echo "Windows leg: $((SECONDS - WINDOWS_START)) s"
