#!/usr/bin/env bash
# The README's pictures of the native windows: runs the Windows test host
# under Wine in a virtual desktop (so that windows get their frames) and a
# virtual X display, keeps the pad, the style chooser and its search as the
# journey shows them, and turns the pictures into docs/windows-pad.png,
# docs/windows-chooser.png and docs/windows-search.png.
#   scripts/windows-screenshots.sh [BUILD_DIR]   (default build-win, built)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=$(realpath "${1:-build-win}")
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT

export WINEDEBUG=-all WINEPREFIX=$BUILD/wine-prefix
WINOUT="Z:${OUT//\//\\}"
TRACE_WINTEST_PAD_IMAGE="$WINOUT\\pad.bmp" TRACE_WINTEST_CHOOSER_IMAGE="$WINOUT\\chooser.bmp" \
  TRACE_WINTEST_SEARCH_IMAGE="$WINOUT\\search.bmp" \
  xvfb-run -a -s "-screen 0 1024x768x24" \
  wine explorer /desktop=trace,1024x768 "$BUILD/winhost/trace-wintest.exe" \
  "$BUILD/addon/Trace.dll" data/sample_town.json >"$OUT/journey.txt" 2>&1 || true
for shot in pad chooser search; do
  [[ -f "$OUT/$shot.bmp" ]] || { cat "$OUT/journey.txt"; exit 1; }
done

for shot in pad chooser search; do
python3 - "$OUT/$shot.bmp" "docs/windows-$shot.png" <<'PY'
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
offset = struct.unpack_from("<I", data, 10)[0]
width, height = struct.unpack_from("<ii", data, 18)
stride = (width * 3 + 3) // 4 * 4
rows = []
for y in range(height - 1, -1, -1):
    row = data[offset + y * stride:offset + y * stride + width * 3]
    rows.append(b"\0" + bytes(c for i in range(0, width * 3, 3) for c in (row[i + 2], row[i + 1], row[i])))
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
png += chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b"")
open(sys.argv[2], "wb").write(png)
PY
echo "docs/windows-$shot.png"
done
