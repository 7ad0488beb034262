#!/usr/bin/env python3
"""The style samples of both builds compared cell by cell: the Linux build's
Qt samples and the Windows build's GDI samples, the latter run through an
emulator (Wine).
  compare-samples.py LINUX_PROGRAM WINDOWS_PROGRAM OUT_DIR [EMULATOR...]
Exits 77 (skipped) when there is no Linux program to compare with.

Measure: a pixel differs when a channel differs by more than TOLERANCE. A
differing pixel is an edge's when each picture's colour there is found within
REACH pixels of it in the other picture: a boundary drawn a pixel apart,
which at an acute corner moves by two. Every other differing pixel is a real
difference. The bounds, per cell: no real difference, and at most MAX_EDGE
of its 2560 pixels on edges (the widest outline moves 102 of them)."""
import os
import subprocess
import sys

TOLERANCE, REACH, MAX_EDGE = 16, 2, 160
CELL_WIDTH, CELL_HEIGHT, COLUMNS, GROUND = 64, 40, 4, bytes([200, 200, 200])


def read_ppm(path):
    """Rows of RGB bytes of a PPM file as the sample programs write it."""
    magic, size, _, body = open(path, "rb").read().split(b"\n", 3)
    width, height = map(int, size.split())
    assert magic == b"P6" and len(body) == width * height * 3, path
    return width, height, [body[y * width * 3:(y + 1) * width * 3] for y in range(height)]


def same(a, b):
    return max(abs(a[0] - b[0]), abs(a[1] - b[1]), abs(a[2] - b[2])) <= TOLERANCE


def pixel(rows, x, y):
    return rows[y][3 * x:3 * x + 3]


def near(colour, rows, x, y):
    return any(same(colour, pixel(rows, i, j))
               for j in range(max(0, y - REACH), min(len(rows), y + REACH + 1))
               for i in range(max(0, x - REACH), min(len(rows[0]) // 3, x + REACH + 1)))


def compare(linux, windows):
    width, height, a = read_ppm(linux)
    if read_ppm(windows)[:2] != (width, height):
        print("the pictures' sizes differ")
        return False
    b = read_ppm(windows)[2]
    cell_count = height // CELL_HEIGHT * COLUMNS
    differ, real, drawn = [0] * cell_count, [0] * cell_count, set()
    for y in range(height):
        for x in range(width):
            cell = y // CELL_HEIGHT * COLUMNS + x // CELL_WIDTH
            pa, pb = pixel(a, x, y), pixel(b, x, y)
            if pa != GROUND:
                drawn.add(cell)
            if not same(pa, pb):
                differ[cell] += 1
                real[cell] += not (near(pa, b, x, y) and near(pb, a, x, y))
    for cell in range(cell_count):
        print(f"sample {cell:2}: {differ[cell]:4} pixels differ, {real[cell]:4} off the edges")
    # Nothing drawn at all would compare equal; 15 samples leave one cell empty.
    print(f"{len(drawn)} of {cell_count} cells drawn")
    return len(drawn) == cell_count - 1 and not any(real) and max(differ) <= MAX_EDGE


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    linux_program, windows_program, out = sys.argv[1:4]
    if not linux_program or not os.access(linux_program, os.X_OK):
        print("skipped: no Linux qt_samples to compare with (set TRACE_LINUX_QT_SAMPLES to its path)")
        sys.exit(77)
    os.makedirs(out, exist_ok=True)
    linux, windows = os.path.join(out, "qt.ppm"), os.path.join(out, "gdi.ppm")
    subprocess.run([linux_program, linux], check=True,
                   env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    subprocess.run(sys.argv[4:] + [windows_program, windows], check=True)
    sys.exit(0 if compare(linux, windows) else 1)


if __name__ == "__main__":
    main()
