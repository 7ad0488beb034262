#!/usr/bin/env bash
# The README's pictures of the native windows: runs the Windows test host
# under Wine in a virtual desktop (so that windows get their frames) and a
# virtual X display; the journey writes each window as it shows it (the pad,
# the style chooser, its search, the settings dialog's three pages), and
# they become docs/windows-*.png.
#   scripts/windows-screenshots.sh [BUILD_DIR]   (default build-win, built)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=$(realpath "${1:-build-win}")
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT

export WINEDEBUG=-all WINEPREFIX=$BUILD/wine-prefix
WINOUT="Z:${OUT//\//\\}"
TRACE_WINTEST_PAD_IMAGE="$WINOUT\\pad.bmp" TRACE_WINTEST_CHOOSER_IMAGE="$WINOUT\\chooser.bmp" \
  TRACE_WINTEST_SEARCH_IMAGE="$WINOUT\\search.bmp" TRACE_WINTEST_SETTINGS_IMAGES="$WINOUT\\settings" \
  xvfb-run -a -s "-screen 0 1024x768x24" \
  wine explorer /desktop=trace,1024x768 "$BUILD/winhost/trace-wintest.exe" \
  "$BUILD/addon/Trace.dll" data/sample_town.json >"$OUT/journey.txt" 2>&1 || true

ARGS=()
for SHOT in pad chooser search settings-vertices settings-zone settings-trace; do
  [[ -f "$OUT/$SHOT.bmp" ]] || { cat "$OUT/journey.txt"; exit 1; }
  ARGS+=("$OUT/$SHOT.bmp" "docs/windows-$SHOT.png")
  echo "docs/windows-$SHOT.png"
done
python3 scripts/bmp_to_png.py "${ARGS[@]}"
