#!/usr/bin/env python3
"""Colours of the Wine tests' pictures, read through ImageMagick's convert.

  colours.py pixel IMAGE X Y     "R G B" of one pixel
  colours.py table BMP           the 256 entries of an 8-bit BMP's colour table, "R G B" a line
  colours.py cells CAPTURE       the colour of each palette_probe cell (index i at column i % 16,
                                 row i / 16 of 40 x 30 cells), "R G B" a line, index order
  colours.py find CAPTURE SHEET MAP LEFT TOP RIGHT BOTTOM
                                 "X Y" where the sprite at that rectangle of the sheet shows in
                                 the capture; its transparent pixels (the colour of sheet pixel
                                 (1, 500)) are skipped, and MAP ("R G B:R G B" lines) tells the
                                 colour each sheet colour shows as. Exit 1 when it is nowhere.
"""
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
        sys.exit(f"colours.py: {path}: not an 8-bit RGB picture")
    return int(fields[1]), int(fields[2]), data[pos + 1:]


def pixel(image, x, y):
    width, height, rgb = image
    if not (0 <= x < width and 0 <= y < height):
        sys.exit(f"colours.py: ({x}, {y}) is outside the {width} x {height} picture")
    i = 3 * (y * width + x)
    return f"{rgb[i]} {rgb[i + 1]} {rgb[i + 2]}"


def table(path):
    with open(path, "rb") as f:
        data = f.read(54 + 1024)
    if len(data) < 54 + 1024 or data[:2] != b"BM" or data[28] != 8:
        sys.exit(f"colours.py: {path}: not an 8-bit BMP with a full colour table")
    return [f"{data[54 + 4 * i + 2]} {data[54 + 4 * i + 1]} {data[54 + 4 * i]}" for i in range(256)]


def find(capture, sheet, colour_map, rect):
    """Where the sprite shows in the capture: at least 90 % of its opaque
    pixels match (shots and foes may cover the rest)."""
    shows = dict(line.split(":") for line in colour_map)
    key = pixel(sheet, 1, 500)
    left, top, right, bottom = rect
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
    if len(argv) == 5 and argv[1] == "pixel":
        print(pixel(read_ppm(argv[2]), int(argv[3]), int(argv[4])))
    elif len(argv) == 3 and argv[1] == "table":
        print("\n".join(table(argv[2])))
    elif len(argv) == 3 and argv[1] == "cells":
        image = read_ppm(argv[2])
        print("\n".join(pixel(image, (i % 16) * 40 + 20, (i // 16) * 30 + 15) for i in range(256)))
    elif len(argv) == 9 and argv[1] == "find":
        with open(argv[4]) as f:
            colour_map = [line.strip() for line in f if line.strip()]
        at = find(read_ppm(argv[2]), read_ppm(argv[3]), colour_map, [int(v) for v in argv[5:9]])
        if at is None:
            sys.exit(1)
        print(f"{at[0]} {at[1]}")
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
