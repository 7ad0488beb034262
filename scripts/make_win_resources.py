#!/usr/bin/env python3
"""Turns the module's resource list (a Qt .qrc file of XPM images) into the
Windows DLL's resources: each "bitmaps/NAME" becomes an 8-bit BMP, each
"cursors/NAME" a cursor file with its XPM hot spot, and an .rc script names
them all, so that both builds carry the same images under the same names.
Names are quoted (some are resource keywords); file names are bare, found
through the resource compiler's include path (OUTDIR), as a quoted file name
would run into the next line's quoted name.

usage: make_win_resources.py QRC OUTDIR RCFILE
"""
import os
import re
import struct
import sys
import xml.etree.ElementTree as ET


def read_xpm(path):
    text = open(path, encoding="latin-1").read()
    strings = re.findall(r'"((?:[^"\\]|\\.)*)"', text)
    values = strings[0].split()
    width, height, ncolors, cpp = (int(v) for v in values[:4])
    hot = (int(values[4]), int(values[5])) if len(values) >= 6 else (width // 2, height // 2)
    colours = {}
    for line in strings[1:1 + ncolors]:
        key, spec = line[:cpp], line[cpp:].split()
        value = spec[spec.index("c") + 1]
        if value.lower() == "none":
            colours[key] = None
        elif value.startswith("#") and len(value) == 7:
            colours[key] = tuple(int(value[i:i + 2], 16) for i in (1, 3, 5))
        else:
            raise SystemExit(f"{path}: colour {value!r} is not #RRGGBB or None")
    rows = []
    for line in strings[1 + ncolors:1 + ncolors + height]:
        rows.append([colours[line[i:i + cpp]] for i in range(0, width * cpp, cpp)])
    if len(rows) != height:
        raise SystemExit(f"{path}: {len(rows)} rows, {height} expected")
    return width, height, hot, rows


def bgra_rows(rows):
    """Bottom-up rows of BGRA pixels; transparent pixels are black with alpha 0."""
    data = bytearray()
    for row in reversed(rows):
        for pixel in row:
            data += bytes((0, 0, 0, 0)) if pixel is None else bytes((pixel[2], pixel[1], pixel[0], 255))
    return bytes(data)


def info_header(width, height, bits, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, 0, 0, 0, 0)


def write_bmp(path, xpm):
    """An 8-bit BMP with its own palette; transparent pixels take the classic
    button face grey, the colour that Windows maps to the system's 3-D face
    colour when a bitmap is loaded with LR_LOADMAP3DCOLORS."""
    width, height, _, rows = xpm
    face = (192, 192, 192)
    palette = []
    index = {}
    for row in rows:
        for pixel in row:
            colour = face if pixel is None else pixel
            if colour not in index:
                index[colour] = len(palette)
                palette.append(colour)
    if len(palette) > 256:
        raise SystemExit(f"{path}: more than 256 colours")
    stride = (width + 3) // 4 * 4
    pixels = bytearray()
    for row in reversed(rows):
        line = bytes(index[face if p is None else p] for p in row)
        pixels += line + bytes(stride - width)
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = 14 + 40 + len(table)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixels), 0, 0,
                         len(palette), 0)
    with open(path, "wb") as out:
        out.write(struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset))
        out.write(header + table + pixels)


def write_cur(path, xpm):
    width, height, hot, rows = xpm
    colour = bgra_rows(rows)
    stride = ((width + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, pixel in enumerate(row):
            if pixel is None:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    image = info_header(width, height * 2, 32, len(colour) + len(mask)) + colour + bytes(mask)
    with open(path, "wb") as out:
        out.write(struct.pack("<HHH", 0, 2, 1))
        out.write(struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, hot[0], hot[1],
                              len(image), 6 + 16))
        out.write(image)


def main():
    qrc, outdir, rcfile = sys.argv[1:4]
    os.makedirs(outdir, exist_ok=True)
    lines = ["// Made from the module's resource list; do not edit.\n"]
    for entry in ET.parse(qrc).getroot().iter("file"):
        kind, name = entry.get("alias").split("/")
        xpm = read_xpm(os.path.join(os.path.dirname(qrc), entry.text))
        if kind == "bitmaps":
            target = os.path.join(outdir, name + ".bmp")
            write_bmp(target, xpm)
            lines.append(f'"{name}" BITMAP {name}.bmp\n')
        elif kind == "cursors":
            target = os.path.join(outdir, name + ".cur")
            write_cur(target, xpm)
            lines.append(f'"{name}" CURSOR {name}.cur\n')
    with open(rcfile, "w") as out:
        out.writelines(lines)


if __name__ == "__main__":
    main()
