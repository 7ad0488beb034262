#!/usr/bin/env bash
# The kernel on its own (./run.sh --geom): installs what is missing, builds
# trace-geom in a Release build and draws the buffer zones of the sample map
# objects in data/.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

BUILD=${TRACE_RUN_BUILD_DIR:-build-release}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRACE_BUILD_TESTS=OFF \
  -DTRACE_BUILD_UI=OFF >/dev/null
cmake --build "$BUILD" --target trace-geom -j "$(nproc)"

TOOL="$BUILD/tools/trace-geom/trace-geom"
OUT=${TRACE_RUN_OUT_DIR:-out}
WIDTH=${TRACE_RUN_WIDTH:-5}
mkdir -p "$OUT"

"$TOOL" buffer --width "$WIDTH" data/map_objects.wkt >"$OUT/zones.wkt"
"$TOOL" buffer --width "$WIDTH" --format svg data/map_objects.wkt >"$OUT/zones.svg"
"$TOOL" buffer --width "$WIDTH" --format geojson data/map_objects.geojson >"$OUT/zones.geojson"

echo
echo "Buffer zones of width $WIDTH m around the sample map objects (data/map_objects.wkt):"
paste <("$TOOL" area data/map_objects.wkt) <("$TOOL" area "$OUT/zones.wkt") |
  awk -F'\t' '{ printf "  object %d: area %12.2f m2, zone %12.2f m2\n", NR, $1, $2 }'
echo
echo "  WKT (arcs kept as arcs): $(pwd)/$OUT/zones.wkt"
echo "  SVG picture:             $(pwd)/$OUT/zones.svg"
echo "  GeoJSON (from data/map_objects.geojson, arcs as chords): $(pwd)/$OUT/zones.geojson"
