#!/usr/bin/env bash
# The buffer zones of the sample map objects from two builds of trace-geom,
# compared byte for byte: the Linux tool and the Windows one run through an
# emulator (Wine).
#   compare-zones.sh LINUX_TOOL WINDOWS_TOOL DATA_DIR OUT_DIR [EMULATOR...]
# Exits 77 (skipped) when either tool is missing.
set -euo pipefail

LINUX_TOOL=$1
WINDOWS_TOOL=$2
DATA=$3
OUT=$4
shift 4
WIDTH=${TRACE_ZONES_WIDTH:-5}

if [[ -z "$LINUX_TOOL" || ! -x "$LINUX_TOOL" ]]; then
  echo "skipped: no Linux trace-geom to compare with (set TRACE_LINUX_TRACE_GEOM to its path)"
  exit 77
fi
if [[ -z "$WINDOWS_TOOL" || ! -f "$WINDOWS_TOOL" ]]; then
  echo "skipped: trace-geom is not built for Windows (it needs GDAL for this platform)"
  exit 77
fi

mkdir -p "$OUT"
status=0
compare() {
  local name=$1
  shift
  "$LINUX_TOOL" "$@" >"$OUT/linux-$name"
  "${EMULATOR[@]}" "$WINDOWS_TOOL" "$@" >"$OUT/windows-$name"
  if cmp "$OUT/linux-$name" "$OUT/windows-$name"; then
    echo "$name: the same $(wc -c <"$OUT/linux-$name") bytes"
  else
    echo "$name: differs (Linux, then Windows):"
    diff "$OUT/linux-$name" "$OUT/windows-$name" | cut -c1-160 | head -8 || true
    status=1
  fi
}
EMULATOR=("$@")
compare zones.wkt buffer --width "$WIDTH" "$DATA/map_objects.wkt"
compare zones.geojson buffer --width "$WIDTH" --format geojson "$DATA/map_objects.geojson"
exit $status
