#!/usr/bin/env python3
"""Writes data/sample_town.json: a small town in projected metres near
(500000, 6000000), ETRS89 / UTM zone 32N (EPSG:25832), as a host project file
(docs/host-project-format.md).

Streets with bends and arcs and a ring road with rounded corners, parcels
(one block with curved fronts, hatching on some), buildings (some with a
courtyard), a river and a lake with an island. Street names, notes and
hatching use styles that do not define geometry.

    scripts/make_sample_town.py [OUTPUT]
"""
import json
import math
import sys

X0, Y0 = 500000.0, 6000000.0
# EPSG:25832 as `gdalsrsinfo -o wkt2_2019 --single-line EPSG:25832` gives
# it: the system of data/map_objects.geojson, so that GIS files in it import
# into the town as they are.
CRS = (
    'PROJCRS["ETRS89 / UTM zone 32N",BASEGEOGCRS["ETRS89",'
    'ENSEMBLE["European Terrestrial Reference System 1989 ensemble",'
    'MEMBER["European Terrestrial Reference Frame 1989"],'
    'MEMBER["European Terrestrial Reference Frame 1990"],'
    'MEMBER["European Terrestrial Reference Frame 1991"],'
    'MEMBER["European Terrestrial Reference Frame 1992"],'
    'MEMBER["European Terrestrial Reference Frame 1993"],'
    'MEMBER["European Terrestrial Reference Frame 1994"],'
    'MEMBER["European Terrestrial Reference Frame 1996"],'
    'MEMBER["European Terrestrial Reference Frame 1997"],'
    'MEMBER["European Terrestrial Reference Frame 2000"],'
    'MEMBER["European Terrestrial Reference Frame 2005"],'
    'MEMBER["European Terrestrial Reference Frame 2014"],ELLIPSOID["GRS 1980",6378137,'
    '298.257222101,LENGTHUNIT["metre",1]],ENSEMBLEACCURACY[0.1]],PRIMEM["Greenwich",0,'
    'ANGLEUNIT["degree",0.0174532925199433]],ID["EPSG",4258]],CONVERSION["UTM zone 32N",'
    'METHOD["Transverse Mercator",ID["EPSG",9807]],PARAMETER["Latitude of natural origin",0,'
    'ANGLEUNIT["degree",0.0174532925199433],ID["EPSG",8801]],'
    'PARAMETER["Longitude of natural origin",9,ANGLEUNIT["degree",0.0174532925199433],'
    'ID["EPSG",8802]],PARAMETER["Scale factor at natural origin",0.9996,SCALEUNIT["unity",1],'
    'ID["EPSG",8805]],PARAMETER["False easting",500000,LENGTHUNIT["metre",1],ID["EPSG",'
    '8806]],PARAMETER["False northing",0,LENGTHUNIT["metre",1],ID["EPSG",8807]]],'
    'CS[Cartesian,2],AXIS["(E)",east,ORDER[1],LENGTHUNIT["metre",1]],AXIS["(N)",north,'
    'ORDER[2],LENGTHUNIT["metre",1]],USAGE[SCOPE["Engineering survey, topographic mapping."],'
    'AREA["Europe between 6°E and 12°E: Austria; Belgium; Denmark - onshore and offshore; Germany - onshore and offshore; Norway including - onshore and offshore; Spain - offshore."],'
    'BBOX[38.76,6,84.33,12.01]],ID["EPSG",25832]]'
)
QUARTER = math.tan(math.pi / 8)  # bulge of a quarter circle


def move(x, y):
    return [1, X0 + x, Y0 + y]


def line(x, y):
    return [2, X0 + x, Y0 + y]


def arc(x, y, bulge):
    return [3, X0 + x, Y0 + y, bulge]


def close():
    return [4]


def close_arc(bulge):
    return [5, bulge]


def rect(x1, y1, x2, y2):
    """A counter-clockwise ring."""
    return [move(x1, y1), line(x2, y1), line(x2, y2), line(x1, y2), close()]


def pen(style, width, color):
    return {"style": style, "width": float(width), "forZoomScale": 0.0, "color": color, "mode": 4}


def brush(style, back, hatch, transparency):
    return {"style": style, "backColor": back, "hatchColor": hatch, "transparency": transparency}


def style(sid, name, area, pen_, brush_, geometry=True, value1=0, value2=0):
    return {"id": sid, "name": name, "flags": 1 if geometry else 0, "value1": value1,
            "value2": value2, "area": area, "pen": pen_, "brush": brush_}


CLEAR = brush(1, 0xFFFFFF, 0, 1)
STYLES = [
    style("ROAD_MAIN", "Главная улица", False, pen(0, 1.5, 0x505050), CLEAR, value1=1),
    style("ROAD_LANE", "Переулок", False, pen(0, 0.8, 0x808080), CLEAR, value1=2),
    style("ROAD_NAME", "Название улицы", False, pen(2, 0.2, 0x000000), CLEAR, geometry=False),
    style("PARCEL", "Участок", True, pen(0, 0.3, 0x206020), CLEAR, value2=7),
    style("PARCEL_HATCH", "Штриховка участка", True, pen(5, 0, 0), brush(4, 0xFFFFFF, 0x40A040, 1),
          geometry=False),
    style("BUILDING", "Здание", True, pen(0, 0.4, 0x303060), brush(0, 0xB0C4DE, 0, 0)),
    style("SHED", "Сарай", True, pen(1, 0.2, 0x303060), brush(6, 0xFFFFFF, 0x808080, 1)),
    style("RIVER", "Река", True, pen(0, 0.5, 0x804000), brush(0, 0xF0C080, 0, 0)),
    style("LAKE", "Озеро", True, pen(0, 0.5, 0x804000), brush(0, 0xF0D0A0, 0, 0)),
    style("WATER_HATCH", "Штриховка воды", True, pen(5, 0, 0), brush(2, 0xFFFFFF, 0xC08040, 1),
          geometry=False),
    style("NOTE", "Надпись", False, pen(0, 0.2, 0x000000), CLEAR, geometry=False),
]

LAYERS = [
    ("ROADS", "Улицы", ["ROAD_MAIN", "ROAD_LANE", "ROAD_NAME"]),
    ("PARCELS", "Участки", ["PARCEL", "PARCEL_HATCH"]),
    ("BUILDINGS", "Здания", ["BUILDING", "SHED"]),
    ("WATER", "Водные объекты", ["RIVER", "LAKE", "WATER_HATCH"]),
    ("NOTES", "Надписи", ["NOTE"]),
]

objects = []


def add(prefix, layer, shapes):
    oid = f"{prefix}{sum(1 for o in objects if o['id'].startswith(prefix)) + 1}"
    objects.append({"id": oid, "layer": layer,
                    "shapes": [{"style": s, "commands": c} for s, c in shapes]})


COLS, ROWS, W, H = 5, 4, 150.0, 120.0
WIDTH, HEIGHT = COLS * W, ROWS * H

# Horizontal main streets bend gently north and back in the middle.
for j in range(ROWS + 1):
    y = j * H
    mid = WIDTH / 2
    cmds = [move(0, y), line(mid - 90, y), arc(mid, y + 4, 0.04), arc(mid + 90, y, -0.04),
            line(WIDTH, y)]
    add("R", "ROADS", [("ROAD_MAIN", cmds),
                       ("ROAD_NAME", [move(20, y + 3), line(110, y + 3)])])
# Lanes run north-south, straight.
for i in range(1, COLS):
    x = i * W
    add("R", "ROADS", [("ROAD_LANE", [move(x, 0), line(x, HEIGHT)]),
                       ("ROAD_NAME", [move(x + 3, 20), line(x + 3, 90)])])
# A ring road with rounded corners of radius 30.
R, M = 30.0, 40.0
ring = [move(-M + R, -M), line(WIDTH + M - R, -M), arc(WIDTH + M, -M + R, QUARTER),
        line(WIDTH + M, HEIGHT + M - R), arc(WIDTH + M - R, HEIGHT + M, QUARTER),
        line(-M + R, HEIGHT + M), arc(-M, HEIGHT + M - R, QUARTER), line(-M, -M + R),
        close_arc(QUARTER)]
add("R", "ROADS", [("ROAD_MAIN", ring)])

# Blocks of four parcels, each with a building; every third building has a
# courtyard, three parcels in four a shed; the block in the second row, second
# column has parcels with curved fronts towards the street south of it.
for j in range(ROWS):
    for i in range(COLS):
        bx, by = i * W + 10, j * H + 10
        pw, ph = (W - 20) / 2, (H - 20) / 2
        for q in range(4):
            px, py = bx + (q % 2) * pw, by + (q // 2) * ph
            if (i, j) == (1, 1) and q < 2:
                # The south edge bulges towards the street.
                parcel = [move(px + pw, py), line(px + pw, py + ph), line(px, py + ph),
                          line(px, py), close_arc(0.1)]
            else:
                parcel = rect(px, py, px + pw, py + ph)
            shapes = [("PARCEL", parcel)]
            if (i + j + q) % 3 == 0:
                shapes.append(("PARCEL_HATCH", parcel))
            add("P", "PARCELS", shapes)
            hx, hy = px + 10, py + 12
            n = len(objects)
            if n % 3 == 0:
                building = rect(hx, hy, hx + 40, hy + 28) + [
                    move(hx + 12, hy + 9), line(hx + 12, hy + 19), line(hx + 28, hy + 19),
                    line(hx + 28, hy + 9), close()]
            else:
                building = rect(hx, hy, hx + 36, hy + 24)
            add("B", "BUILDINGS", [("BUILDING", building)])
            if q != 3:
                add("B", "BUILDINGS", [("SHED", rect(px + pw - 12, py + 4, px + pw - 4, py + 10))])

# A river south of the town: a band whose banks are arcs.
river = [move(-120, -110), arc(WIDTH / 2, -100, 0.03), arc(WIDTH + 120, -112, -0.02),
         line(WIDTH + 120, -82), arc(WIDTH / 2, -70, 0.02), arc(-120, -80, -0.03), close()]
add("W", "WATER", [("RIVER", river), ("WATER_HATCH", river)])
# A round lake with a round island, east of the town.
cx, cy, r, ri = WIDTH + 160, HEIGHT / 2, 60.0, 15.0
lake = [move(cx - r, cy), arc(cx + r, cy, 1.0), close_arc(1.0),
        move(cx - ri, cy), arc(cx + ri, cy, -1.0), close_arc(-1.0)]
add("W", "WATER", [("LAKE", lake)])

# Notes: a name for each block.
for j in range(ROWS):
    for i in range(COLS):
        x, y = i * W + 50, j * H + 58
        add("N", "NOTES", [("NOTE", [move(x, y), line(x + 50, y)])])

project = {
    "format": "trace-host-project",
    "version": 1,
    "name": "Городок",
    "crs": CRS,
    "styles": STYLES,
    "maps": [{"id": "TOWN", "name": "Городок",
              "layers": [{"id": lid, "caption": cap, "styles": st} for lid, cap, st in LAYERS]}],
    "objects": objects,
}

out = sys.argv[1] if len(sys.argv) > 1 else "data/sample_town.json"
with open(out, "w", encoding="utf-8") as f:
    f.write("{\n")
    keys = list(project)
    for k, key in enumerate(keys):
        value = project[key]
        f.write(f"  {json.dumps(key)}: ")
        if isinstance(value, list):
            f.write("[\n    " + ",\n    ".join(json.dumps(v, ensure_ascii=False, separators=(",", ":"))
                                             for v in value) + "\n  ]")
        else:
            f.write(json.dumps(value, ensure_ascii=False))
        f.write(",\n" if k + 1 < len(keys) else "\n")
    f.write("}\n")
print(f"{out}: {len(objects)} objects")
