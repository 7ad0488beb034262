#!/usr/bin/env python3
"""Draws the module's command bitmap and mouse cursors as XPM files.

Writes into addon/resources (run from anywhere: scripts/make_images.py); the
XPM files are committed, so the build does not need Python. Cursors are 32x32
with the hot spot in the XPM header.
"""

import os

SIZE = 32


def blank(w=SIZE, h=SIZE):
    return [[" "] * w for _ in range(h)]


def put(g, x, y, c="#"):
    if 0 <= y < len(g) and 0 <= x < len(g[0]):
        g[y][x] = c


def line(g, x0, y0, x1, y1, c="#"):
    dx, dy = abs(x1 - x0), -abs(y1 - y0)
    sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
    err = dx + dy
    while True:
        put(g, x0, y0, c)
        if x0 == x1 and y0 == y1:
            return
        e2 = 2 * err
        if e2 >= dy:
            err += dy
            x0 += sx
        if e2 <= dx:
            err += dx
            y0 += sy


def rect(g, x0, y0, x1, y1, c="#"):
    line(g, x0, y0, x1, y0, c)
    line(g, x1, y0, x1, y1, c)
    line(g, x1, y1, x0, y1, c)
    line(g, x0, y1, x0, y0, c)


def circle(g, cx, cy, r, c="#"):
    import math
    for i in range(64):
        a = 2 * math.pi * i / 64
        put(g, round(cx + r * math.cos(a)), round(cy + r * math.sin(a)), c)


def outline(g):
    """Surrounds every black pixel with white so the cursor shows on dark maps."""
    h, w = len(g), len(g[0])
    out = [row[:] for row in g]
    for y in range(h):
        for x in range(w):
            if g[y][x] == "#":
                for dx in (-1, 0, 1):
                    for dy in (-1, 0, 1):
                        if 0 <= y + dy < h and 0 <= x + dx < w and out[y + dy][x + dx] == " ":
                            out[y + dy][x + dx] = "."
    return out


def cross(g):
    line(g, 15, 4, 15, 12)
    line(g, 15, 18, 15, 26)
    line(g, 4, 15, 12, 15)
    line(g, 18, 15, 26, 15)
    return (15, 15)


def arrow(g):
    for i in range(12):
        line(g, 1, 1 + i, 1 + i, 1 + i)
    line(g, 1, 13, 4, 10)
    line(g, 5, 11, 8, 17)
    return (1, 1)


def glyph(g, name):
    """A small mark in the lower right that tells the cursors apart."""
    if "PLUS" in name:
        line(g, 24, 20, 24, 28)
        line(g, 20, 24, 28, 24)
    if "MINUS" in name:
        line(g, 20, 24, 28, 24)
    if "ARC" in name:
        circle(g, 25, 25, 4)
    if "CURVE" in name:
        line(g, 19, 28, 22, 22)
        line(g, 22, 22, 25, 27)
        line(g, 25, 27, 29, 20)
    if "ELLIPSE" in name:
        circle(g, 25, 25, 5)
        circle(g, 25, 25, 3)
    if "LINE" in name:
        line(g, 19, 29, 29, 19)
    if "RECT" in name or "FRAME" in name:
        rect(g, 19, 20, 29, 28)
    if "STAMP" in name:
        rect(g, 20, 24, 28, 28)
        line(g, 24, 18, 24, 24)
    if "TEXT" in name:
        line(g, 19, 20, 29, 20)
        line(g, 24, 20, 24, 29)
    if "VERTEX" in name or "CONNECTIONPOINT" in name:
        rect(g, 21, 21, 27, 27)
    if "MOVE" in name:
        line(g, 24, 18, 24, 30)
        line(g, 18, 24, 30, 24)
        line(g, 22, 20, 24, 18)
        line(g, 26, 20, 24, 18)
    if "COPY" in name:
        rect(g, 19, 19, 25, 25)
        rect(g, 22, 22, 28, 28)
    if "SELECT" in name or "FIGURE" in name:
        put(g, 20, 20)
        put(g, 28, 28)
    if "ROTATE" in name:
        circle(g, 24, 24, 5)
        line(g, 29, 22, 30, 25)
    if "CENTER" in name or "ORTO" in name:
        put(g, 24, 24)


def hand(g):
    for x in (10, 13, 16, 19):
        line(g, x, 6 if x != 10 else 12, x, 20)
    rect(g, 8, 18, 21, 28)
    return (14, 6)


def find_object(g):
    circle(g, 12, 12, 8)
    line(g, 18, 18, 27, 27)
    line(g, 19, 18, 28, 27)
    return (12, 12)


def cursor(name):
    g = blank()
    if name == "CR_HAND":
        hot = hand(g)
    elif name == "FIND_OBJECT":
        hot = find_object(g)
    elif name.startswith("CR_ARROW") or name.startswith("CR_FIGURE"):
        hot = arrow(g)
    else:
        hot = cross(g)
    glyph(g, name)
    return outline(g), hot


def write_xpm(path, grid, hot=None):
    h, w = len(grid), len(grid[0])
    header = f"{w} {h} 3 1" + (f" {hot[0]} {hot[1]}" if hot else "")
    rows = ",\n".join('"' + "".join(r) + '"' for r in grid)
    with open(path, "w") as f:
        f.write("/* XPM */\nstatic const char *image[] = {\n")
        f.write(f'"{header}",\n')
        f.write('"  c None",\n"# c #000000",\n". c #FFFFFF",\n')
        f.write(rows + "\n};\n")


def trace_bitmap():
    """16x16 command image: a traced polyline along a zone."""
    g = [["." for _ in range(16)] for _ in range(16)]
    rect(g, 1, 1, 14, 14, "o")
    pts = [(2, 12), (6, 4), (10, 10), (13, 3)]
    for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
        line(g, x0, y0, x1, y1, "#")
    for x, y in pts:
        put(g, x, y, "r")
    with open("TRACE.xpm", "w") as f:
        f.write("/* XPM */\nstatic const char *image[] = {\n")
        f.write('"16 16 4 1",\n". c #C0C0C0",\n"o c #008000",\n"# c #000080",\n"r c #FF0000",\n')
        f.write(",\n".join('"' + "".join(r) + '"' for r in g) + "\n};\n")


def write_bitmap(name, grid, palette):
    """A 16x16 bitmap with the colours of palette (character -> #RRGGBB)."""
    with open(f"{name}.xpm", "w") as f:
        f.write("/* XPM */\nstatic const char *image[] = {\n")
        f.write(f'"{len(grid[0])} {len(grid)} {len(palette)} 1",\n')
        f.write(",\n".join(f'"{c} c {v}"' for c, v in palette.items()) + ",\n")
        f.write(",\n".join('"' + "".join(r) + '"' for r in grid) + "\n};\n")


# Tree check box states. Olive is the transparent colour of the state images.
OLIVE = {"o": "#808000", "#": "#404040", "w": "#FFFFFF", "k": "#000000", "g": "#808080"}


def check_box(state):
    g = [["o"] * 16 for _ in range(16)]
    for y in range(2, 15):
        for x in range(1, 14):
            g[y][x] = "w"
    rect(g, 1, 2, 13, 14, "#")
    if state == "CHECKED":
        for x, y in ((4, 8), (5, 9), (6, 10), (7, 9), (8, 8), (9, 7), (10, 6)):
            line(g, x, y, x, y + 2, "k")
    elif state == "INDETERMINATE":
        for y in range(5, 12):
            for x in range(4, 11):
                g[y][x] = "g"
    return g


def action_image(name):
    """Tool bar images of the trace pad; grey stands for transparent."""
    g = [["."] * 16 for _ in range(16)]
    zone = [(2, 11), (5, 4), (11, 3), (14, 9), (9, 13)]
    if name in ("ADD_ZONE", "REMOVE_ZONES"):
        for (x0, y0), (x1, y1) in zip(zone, zone[1:] + zone[:1]):
            line(g, x0, y0, x1, y1, "z")
        line(g, 5, 10, 8, 6, "#")
        line(g, 8, 6, 11, 9, "#")
        if name == "ADD_ZONE":
            line(g, 12, 11, 12, 15, "p")
            line(g, 10, 13, 14, 13, "p")
        else:
            line(g, 1, 1, 14, 14, "r")
            line(g, 1, 14, 14, 1, "r")
    elif name in ("UNDO_POINT", "UNDO_ALL"):
        pts = [(1, 13), (5, 7), (9, 11), (14, 4)]
        for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
            line(g, x0, y0, x1, y1, "#")
        for x, y in pts:
            put(g, x, y, "r")
        line(g, 4, 2, 9, 2, "b")
        line(g, 4, 2, 6, 0, "b")
        line(g, 4, 2, 6, 4, "b")
        if name == "UNDO_ALL":
            line(g, 9, 2, 12, 5, "b")
            line(g, 2, 4, 2, 0, "b")
    elif name == "SELECT_STYLE":
        for y in range(2, 14):
            line(g, 2, y, 9, y, "z" if y % 3 else "#")
        rect(g, 1, 1, 10, 14, "#")
        line(g, 11, 12, 14, 15, "b")
        circle(g, 12, 10, 2, "b")
    elif name == "CREATE_OBJECT":
        pts = [(2, 13), (3, 3), (12, 2), (14, 12), (2, 13)]
        for y in range(4, 13):
            for x in range(4, 13):
                g[y][x] = "f"
        for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
            line(g, x0, y0, x1, y1, "#")
        for x, y in pts:
            put(g, x, y, "r")
    elif name == "SETTINGS":
        circle(g, 8, 8, 5, "#")
        circle(g, 8, 8, 2, "#")
        for x, y in ((8, 1), (8, 15), (1, 8), (15, 8), (3, 3), (13, 13), (3, 13), (13, 3)):
            line(g, x, y, 8 + (x - 8) // 2, 8 + (y - 8) // 2, "#")
    return g


ACTION_PALETTE = {".": "None", "#": "#000000", "z": "#008000", "r": "#FF0000", "p": "#0000C0",
                  "b": "#000080", "f": "#FFFF80"}


def tree_image(name):
    """Project tree node images: map, layer, style."""
    g = [["."] * 16 for _ in range(16)]
    if name == "NODE_MAP":
        for y in range(2, 14):
            line(g, 1, y, 14, y, "f")
        rect(g, 1, 2, 14, 13, "#")
        line(g, 3, 11, 7, 5, "b")
        line(g, 7, 5, 12, 9, "b")
    elif name == "NODE_LAYER":
        for i, c in enumerate(("z", "b", "r")):
            y = 11 - 3 * i
            line(g, 3, y, 12, y, c)
            line(g, 1, y + 2, 3, y, c)
            line(g, 1, y + 2, 10, y + 2, c)
            line(g, 10, y + 2, 12, y, c)
    elif name == "NODE_STYLE":
        rect(g, 2, 2, 13, 13, "#")
        for y in range(3, 13):
            for x in range(3, 13):
                if (x + y) % 3 == 0:
                    g[y][x] = "z"
    return g


STATE_NAMES = ["UNCHECKED", "CHECKED", "INDETERMINATE"]
ACTION_NAMES = ["ADD_ZONE", "REMOVE_ZONES", "UNDO_POINT", "UNDO_ALL", "SELECT_STYLE",
                "CREATE_OBJECT", "SETTINGS"]
TREE_NAMES = ["NODE_MAP", "NODE_LAYER", "NODE_STYLE"]
# The fill patterns are drawn by make_patterns.py; the resource file lists
# them too.
PATTERN_NAMES = [f"HOLLOW_{level}" for level in range(2, 11)]
BITMAPS = ["TRACE"] + PATTERN_NAMES + STATE_NAMES + ACTION_NAMES + TREE_NAMES


NAMES = [
    "CR_CROSS", "CR_CROSS_PLUS", "CR_CROSS_MINUS", "CR_HAND", "CR_FIGURE_COPY",
    "CR_ARROW_FRAME", "CR_ARROW_FRAME_PLUS", "CR_FIGURE_SELECT", "CR_ARROW_VERTEX",
    "CR_FIGURE_MOVE", "CR_VERTEX", "CR_VERTEX_MOVE", "CR_ARROW_CONNECTIONPOINT",
    "CR_CROSS_ARC", "CR_CROSS_CURVE", "CR_CROSS_ELLIPSE", "CR_CROSS_LINE", "CR_CROSS_RECT",
    "CR_CROSS_STAMP", "CR_CROSS_TEXT", "CR_ORTO_ROTATE", "CR_ROTATE_EX", "CR_ROTATE_CENTER",
    "FIND_OBJECT",
]

if __name__ == "__main__":
    os.chdir(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "addon", "resources"))
    trace_bitmap()
    for n in STATE_NAMES:
        write_bitmap(n, check_box(n), OLIVE)
    for n in ACTION_NAMES:
        write_bitmap(n, action_image(n), ACTION_PALETTE)
    for n in TREE_NAMES:
        write_bitmap(n, tree_image(n), ACTION_PALETTE)
    for n in NAMES:
        grid, hot = cursor(n)
        write_xpm(f"{n}.xpm", grid, hot)
    with open("trace.qrc", "w") as f:
        f.write('<!DOCTYPE RCC>\n<RCC version="1.0">\n<qresource prefix="/module">\n')
        for n in BITMAPS:
            f.write(f'  <file alias="bitmaps/{n}">{n}.xpm</file>\n')
        for n in NAMES:
            f.write(f'  <file alias="cursors/{n}">{n}.xpm</file>\n')
        f.write("</qresource>\n</RCC>\n")
