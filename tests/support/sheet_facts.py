#!/usr/bin/env python3
"""The sheet's facts (city2.json, written by the sheet generator) for the shell tests.

  sheet_facts.py get JSON NAME...     prints a fact, lists flattened to numbers
                                      separated by spaces: get JSON sprites player
  sheet_facts.py ship-at-start JSON IMAGE GX GY GS [SHOWN]
                                      exit 0 when IMAGE shows the ship where play
                                      starts it, the game's 640 x 480 picture at
                                      (GX, GY) scaled GS times; prints how much of
                                      it shows. SHOWN: the colour each palette entry
                                      shows as ("R G B" a line, in index order), on
                                      a screen that does not show the palette as set.
Pictures are read through ImageMagick's convert.
"""
import json
import subprocess
import sys


def read_ppm(path):
    """(width, height, bytes) of an image, as binary PPM from convert."""
    data = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True, capture_output=True).stdout
    fields, pos = [], 0
    while len(fields) < 4:  # magic, width, height, maximum
        while data[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    if fields[0] != b"P6" or fields[3] != b"255":
        sys.exit(f"{path}: not an 8-bit RGB picture")
    return int(fields[1]), int(fields[2]), data[pos + 1:]


def pixel(image, x, y):
    """"R G B" of pixel (x, y)."""
    width, height, rgb = image
    if not (0 <= x < width and 0 <= y < height):
        sys.exit(f"({x}, {y}) is outside the {width} x {height} picture")
    i = 3 * (y * width + x)
    return f"{rgb[i]} {rgb[i + 1]} {rgb[i + 2]}"


def load(path):
    with open(path) as f:
        return json.load(f)


def shown_colours(facts, shown_path=None):
    """The colour each palette entry shows as, "R G B" strings by index."""
    if shown_path is None:
        return [" ".join(map(str, rgb)) for rgb in facts["palette"]]
    with open(shown_path) as f:
        shown = [line.strip() for line in f if line.strip()]
    if len(shown) != len(facts["palette"]):
        sys.exit(f"{shown_path}: {len(shown)} colours, not {len(facts['palette'])}")
    return shown


def ship_at_start(facts, image, gx, gy, gs, shown):
    """The ship shows where play starts it when its share of the pixels
    that tell it from the background there show in the ship's colours."""
    start = facts["ship_at_start"]
    # On a screen that shows some colours alike, only the pixels whose
    # colour shows apart from the background's tell anything.
    telling = [(dx, dy, shown[ship]) for dx, dy, ship, behind in start["pixels"] if shown[ship] != shown[behind]]
    seen = sum(pixel(image, gx + gs * (start["x"] + dx), gy + gs * (start["y"] + dy)) == colour
               for dx, dy, colour in telling)
    print(f"{seen} of the ship's {len(telling)} telling pixels show at ({start['x']}, {start['y']})")
    return len(telling) >= 20 and seen >= start["share"] * len(telling)


def flatten(value):
    if isinstance(value, list):
        return " ".join(flatten(v) for v in value)
    return str(value)


def main(argv):
    if len(argv) >= 4 and argv[1] == "get":
        value = load(argv[2])
        for name in argv[3:]:
            value = value[name]
        print(flatten(value))
    elif len(argv) in (7, 8) and argv[1] == "ship-at-start":
        facts = load(argv[2])
        shown = shown_colours(facts, argv[7] if len(argv) == 8 else None)
        ok = ship_at_start(facts, read_ppm(argv[3]), int(argv[4]), int(argv[5]), int(argv[6]), shown)
        sys.exit(0 if ok else 1)
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
