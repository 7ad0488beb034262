#!/usr/bin/env python3
"""Draws the pattern bitmaps HOLLOW_2 to HOLLOW_10 as XPM files.

A partly transparent fill at level L (2 to 10) that cannot blend paints the
background colour on the black pixels of HOLLOW_L and leaves the white ones:
round(64 * (L - 1) / 10) of the 64 pixels of an 8x8 tile are black, spread
evenly by an ordered dither, so that the pattern matches the blend's alpha
of (L - 1) / 10. Writes into addon/resources; the files are committed.
"""

import os

SIZE = 8


def bayer(n):
    if n == 1:
        return [[0]]
    m = bayer(n // 2)
    h = n // 2
    out = [[0] * n for _ in range(n)]
    for y in range(h):
        for x in range(h):
            v = 4 * m[y][x]
            out[y][x] = v
            out[y][x + h] = v + 2
            out[y + h][x] = v + 3
            out[y + h][x + h] = v + 1
    return out


def pattern(level):
    painted = round(SIZE * SIZE * (level - 1) / 10)
    order = bayer(SIZE)
    return ["".join("#" if order[y][x] < painted else "." for x in range(SIZE))
            for y in range(SIZE)]


def xpm(name, rows):
    lines = [f"/* XPM */", f"static const char *{name}[] = {{",
             f'"{SIZE} {SIZE} 2 1",', '"# c #000000",', '". c #FFFFFF",']
    lines += [f'"{r}",' for r in rows[:-1]] + [f'"{rows[-1]}"', "};", ""]
    return "\n".join(lines)


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "addon", "resources")
    for level in range(2, 11):
        name = f"HOLLOW_{level}"
        with open(os.path.join(out, name + ".xpm"), "w") as f:
            f.write(xpm(name, pattern(level)))


if __name__ == "__main__":
    main()
