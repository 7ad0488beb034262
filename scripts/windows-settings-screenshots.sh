#!/usr/bin/env bash
# Pictures of the native settings dialog's three pages: runs the Windows test
# host under Wine in a virtual desktop (so that windows get their frames) and
# a virtual X display; the settings step writes each page as the dialog shows
# it, and they become docs/windows-settings-{vertices,zone,trace}.png.
#   scripts/windows-settings-screenshots.sh [BUILD_DIR]   (default build-win, built)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=$(realpath "${1:-build-win}")
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT

export WINEDEBUG=-all WINEPREFIX=$BUILD/wine-prefix
TRACE_WINTEST_SETTINGS_IMAGES="Z:${OUT//\//\\}\\settings" \
  xvfb-run -a -s "-screen 0 1024x768x24" \
  wine explorer /desktop=trace,1024x768 "$BUILD/winhost/trace-wintest.exe" \
  "$BUILD/addon/Trace.dll" data/sample_town.json >"$OUT/journey.txt" 2>&1 || true
ARGS=()
for PAGE in vertices zone trace; do
  [[ -f "$OUT/settings-$PAGE.bmp" ]] || { cat "$OUT/journey.txt"; exit 1; }
  ARGS+=("$OUT/settings-$PAGE.bmp" "docs/windows-settings-$PAGE.png")
done
python3 scripts/bmp_to_png.py "${ARGS[@]}"
printf 'docs/windows-settings-%s.png\n' vertices zone trace
