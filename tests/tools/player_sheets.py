#!/usr/bin/env python3
"""Sheets as players make them, through the real runner.

  player_sheets.py RUNNER CITY2_BMP SCRIPT

- The game's sheet re-saved with a V4 and a V5 header plays to the same
  screen hashes as the sheet itself.
- RLE8, OS/2, 16-bit bit-field, cut-short and zero-width sheets stop the
  start-up with its "Error" box and a reason on stderr naming the fix.
- The checker answers 0 for the game's sheet, 1 for one with a stray
  key-coloured pixel inside the ship, 2 for a 320 x 240 one.
Every file is written here, from the game's own sheet.
"""
import os
import struct
import subprocess
import sys
import tempfile

RUNNER, SHEET, SCRIPT = (os.path.abspath(a) for a in sys.argv[1:4])
PASSES = 300
failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)


def split(bmp):
    """(file header fields, 40-byte info header, colour table, pixels) of a 40-byte-header BMP."""
    size, off = struct.unpack_from("<I", bmp, 2)[0], struct.unpack_from("<I", bmp, 10)[0]
    assert bmp[:2] == b"BM" and struct.unpack_from("<I", bmp, 14)[0] == 40
    return size, bmp[14:54], bmp[54:off], bmp[off:size]


def assemble(info, table, pixels):
    off = 14 + len(info) + len(table)
    return b"BM" + struct.pack("<IHHI", off + len(pixels), 0, 0, off) + info + table + pixels


def with_header(bmp, header_size, compression=None, bits=None, width=None):
    """The sheet with its info header grown to `header_size` bytes (masks and
    colour space as an editor writes them), fields changed as asked."""
    _, info, table, pixels = split(bmp)
    fields = list(struct.unpack("<IiiHHIIiiII", info))
    fields[0] = header_size
    if width is not None:
        fields[1] = width
    if bits is not None:
        fields[4] = bits
    if compression is not None:
        fields[5] = compression
    extra = b""
    if header_size >= 52:
        extra += struct.pack("<III", 0x00FF0000, 0x0000FF00, 0x000000FF)
    if header_size >= 56:
        extra += struct.pack("<I", 0xFF000000)
    if header_size >= 108:
        extra += b"BGRs" + bytes(36) + bytes(12)  # sRGB, endpoints, gamma
    if header_size >= 124:
        extra += struct.pack("<IIII", 4, 0, 0, 0)  # intent, profile, reserved
    return assemble(struct.pack("<IiiHHIIiiII", *fields) + extra, table, pixels)


def os2(bmp):
    _, info, table, pixels = split(bmp)
    width, height = struct.unpack_from("<ii", info, 4)
    core = struct.pack("<IHHHH", 12, width, height, 1, 8)
    triples = b"".join(table[i:i + 3] for i in range(0, len(table), 4))
    return assemble(core, triples, pixels)


def run(folder, *args):
    return subprocess.run([RUNNER, *args], cwd=folder, capture_output=True, text=True, timeout=300)


def play(folder, sheet_bytes):
    with open(os.path.join(folder, "city2.bmp"), "wb") as f:
        f.write(sheet_bytes)
    return run(folder, "--frames", str(PASSES), "--input", SCRIPT, "--trace", "-", "--screen-hash")


original = open(SHEET, "rb").read()
with tempfile.TemporaryDirectory() as folder:
    reference = play(folder, original)
    check(reference.returncode == 0 and reference.stdout.count("\n") == PASSES, "the game's sheet plays")
    for size in (108, 124):
        result = play(folder, with_header(original, size))
        check(result.stdout == reference.stdout, f"a {size}-byte header plays to the same screens")

    _, _, _, pixels = split(original)
    refusals = [
        ("RLE8", with_header(original, 40, compression=1), "compressed (RLE8)"),
        ("OS/2", os2(original), "OS/2 BMP"),
        ("16-bit bit fields", with_header(original, 124, compression=3, bits=16), "compressed (bit fields)"),
        ("cut short", original[: len(original) - 1000], "ends before the last row"),
        ("zero width", with_header(original, 40, width=0), "width or height of 0"),
    ]
    for what, data, reason in refusals:
        result = play(folder, data)
        lines = result.stderr.splitlines()
        check("Error: CDib* Read BMP Failed" in lines and any(reason in l and "city2.bmp" in l for l in lines)
              and result.stdout == "", f"{what}: the box and the reason ({reason!r})")

    # The checker: find a pixel of the ship with no key colour around it,
    # and give it the key colour.
    def checker(name, data):
        path = os.path.join(folder, name)
        with open(path, "wb") as f:
            f.write(data)
        return run(folder, "--check-sheet", name)

    _, info, table, pixels = split(original)
    width, height = struct.unpack_from("<ii", info, 4)
    stride = (width + 3) & ~3
    at = lambda x, y: (height - 1 - y) * stride + x
    key = pixels[at(1, 500)]
    inner = next((x, y) for y in range(582, 609) for x in range(152, 191)
                 if all(pixels[at(x + dx, y + dy)] != key for dx in (-1, 0, 1) for dy in (-1, 0, 1)))
    stray = bytearray(pixels)
    stray[at(*inner)] = key
    good = checker("good.bmp", original)
    check(good.returncode == 0 and "can use this sheet." in good.stdout, "checker: the game's sheet is good (0)")
    holed = checker("holed.bmp", assemble(info, table, bytes(stray)))
    check(holed.returncode == 1 and "player sprite" in holed.stdout and "(%d, %d)" % inner in holed.stdout,
          "checker: a key-coloured pixel inside the ship looks wrong (1)")
    # The same hole made with another palette entry of the key's colour: the
    # sprite surface gets colours, so it is a hole just the same.
    twin_table = bytearray(table)
    twin_table[4 * 200:4 * 200 + 4] = table[4 * key:4 * key + 4]
    twin = bytearray(pixels)
    twin[at(*inner)] = 200
    twinned = checker("twin.bmp", assemble(info, bytes(twin_table), bytes(twin)))
    check(twinned.returncode == 1 and "(%d, %d)" % inner in twinned.stdout,
          "checker: another entry of the key's colour inside the ship looks wrong (1)")
    small_info = struct.pack("<IiiHHIIiiII", 40, 320, 240, 1, 8, 0, 0, 0, 0, 0, 0)
    small = checker("small.bmp", assemble(small_info, table, bytes(320 * 240)))
    check(small.returncode == 2 and "320 x 240" in small.stdout, "checker: a 320 x 240 sheet cannot be used (2)")
    for result in (holed, small):
        print(result.stdout, end="")

sys.exit(1 if failures else 0)
