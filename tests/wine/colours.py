#!/usr/bin/env python3
"""Colours of the Wine tests' pictures, read through ImageMagick's convert.

  colours.py table BMP           the 256 entries of an 8-bit BMP's colour table, "R G B" a line
  colours.py cells CAPTURE       the colour of each palette_probe cell (index i at column i % 16,
                                 row i / 16 of 40 x 30 cells), "R G B" a line, index order
  colours.py find CAPTURE SHEET MAP JSON SPRITE
                                 "X Y" where the sprite (named as in the sheet's facts, JSON)
                                 shows in the capture; its transparent pixels are skipped, and
                                 MAP ("R G B:R G B" lines) tells the colour each sheet colour
                                 shows as. Exit 1 when it is nowhere.
"""
import os
import sys

sys.dont_write_bytecode = True  # no cache beside the sources
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from sheet_facts import load, pixel, read_ppm  # noqa: E402


def table(path):
    with open(path, "rb") as f:
        data = f.read(54 + 1024)
    if len(data) < 54 + 1024 or data[:2] != b"BM" or data[28] != 8:
        sys.exit(f"colours.py: {path}: not an 8-bit BMP with a full colour table")
    return [f"{data[54 + 4 * i + 2]} {data[54 + 4 * i + 1]} {data[54 + 4 * i]}" for i in range(256)]


def find(capture, sheet, colour_map, facts, sprite):
    """Where the sprite shows in the capture: at least 90 % of its opaque
    pixels match (shots and foes may cover the rest)."""
    shows = dict(line.split(":") for line in colour_map)
    key = pixel(sheet, facts["key"]["x"], facts["key"]["y"])
    left, top, right, bottom = facts["sprites"][sprite]
    opaque = []
    for y in range(top, bottom):
        for x in range(left, right):
            colour = pixel(sheet, x, y)
            if colour != key:
                opaque.append((x - left, y - top, shows[colour]))
    # Anchors: the pixels whose colour shows most rarely in the capture.
    width, height, _ = capture
    counts = {}
    for y in range(0, height, 2):
        for x in range(0, width, 2):
            c = pixel(capture, x, y)
            counts[c] = counts.get(c, 0) + 1
    anchors = sorted(opaque, key=lambda p: counts.get(p[2], 0))[:8]
    best = None
    tried = set()
    for ax, ay, colour in anchors:
        for y in range(height):
            for x in range(width):
                ox, oy = x - ax, y - ay
                if (ox, oy) in tried or pixel(capture, x, y) != colour:
                    continue
                tried.add((ox, oy))
                if ox < 0 or oy < 0 or ox + right - left > width or oy + bottom - top > height:
                    continue
                score = sum(pixel(capture, ox + dx, oy + dy) == c for dx, dy, c in opaque) / len(opaque)
                if best is None or score > best[0]:
                    best = (score, ox, oy)
    if best is None or best[0] < 0.9:
        return None
    return best[1], best[2]


def main(argv):
    if len(argv) == 3 and argv[1] == "table":
        print("\n".join(table(argv[2])))
    elif len(argv) == 3 and argv[1] == "cells":
        image = read_ppm(argv[2])
        print("\n".join(pixel(image, (i % 16) * 40 + 20, (i // 16) * 30 + 15) for i in range(256)))
    elif len(argv) == 7 and argv[1] == "find":
        with open(argv[4]) as f:
            colour_map = [line.strip() for line in f if line.strip()]
        at = find(read_ppm(argv[2]), read_ppm(argv[3]), colour_map, load(argv[5]), argv[6])
        if at is None:
            sys.exit(1)
        print(f"{at[0]} {at[1]}")
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
