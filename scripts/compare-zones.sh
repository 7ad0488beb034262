#!/usr/bin/env bash
# The buffer zones of the sample map objects from two builds of zone_wkt,
# compared byte for byte: the Linux program and the Windows one, run through
# an emulator (Wine). Widths: one near a street's width, a narrow one and a
# wide one, so that arcs, joins and overlaps all show.
#   compare-zones.sh LINUX_PROGRAM WINDOWS_PROGRAM DATA_DIR OUT_DIR [EMULATOR...]
# Exits 77 (skipped) when there is no Linux program to compare with.
set -euo pipefail

LINUX_PROGRAM=$1
WINDOWS_PROGRAM=$2
DATA=$3
OUT=$4
shift 4
EMULATOR=("$@")

if [[ -z "$LINUX_PROGRAM" || ! -x "$LINUX_PROGRAM" ]]; then
  echo "skipped: no Linux zone_wkt to compare with (set TRACE_LINUX_ZONE_WKT to its path)"
  exit 77
fi

mkdir -p "$OUT"
status=0
for input in map_objects.wkt map_objects.geojson; do
  for width in 5 0.25 40; do
    name=$input-$width
    "$LINUX_PROGRAM" "$DATA/$input" "$width" "$OUT/linux-$name"
    "${EMULATOR[@]}" "$WINDOWS_PROGRAM" "$DATA/$input" "$width" "$OUT/windows-$name"
    if cmp -s "$OUT/linux-$name" "$OUT/windows-$name"; then
      echo "$name: the same $(wc -c <"$OUT/linux-$name") bytes"
    else
      echo "$name: differs (Linux <, Windows >):"
      diff "$OUT/linux-$name" "$OUT/windows-$name" | cut -c1-160 | head -8 || true
      status=1
    fi
  done
done
exit $status
