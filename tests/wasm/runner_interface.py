#!/usr/bin/env python3
"""Checks of the WebAssembly runner's command line, run by ctest.

  runner_interface.py usage RUNNER           usage errors exit 2, before anything runs
  runner_interface.py stdin RUNNER SCRIPT    a script on standard input plays as from a file
  runner_interface.py startup RUNNER         without city2.bmp: boxes on stderr, status 0, no trace
  runner_interface.py shots RUNNER SCRIPT HASHER [NATIVE]
        --shot pictures are valid PNGs whose indices and palette give the
        trace's screen hash of the same pass and, given the native runner,
        equal its pictures of the same run. HASHER is the command, its
        words joined by "|", that prints a file's XXH3-64 (xxh3sum).

RUNNER is bin/quorvanteledix-headless-node (Node and the .js behind it).
PNGs are decoded here with zlib alone: chunk CRCs, IHDR, PLTE, the zlib
stream's Adler-32 and all five row filters.
"""
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

WIDTH, HEIGHT = 640, 480
TIMEOUT = 300  # seconds; subprocess.run kills the runner when it is exceeded


def run(argv, stdin=b""):
    return subprocess.run(argv, input=stdin, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          timeout=TIMEOUT)


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def read_png(path):
    """(indices, palette) of an 8-bit paletted 640 x 480 PNG: 307 200 bytes,
    top row first, and 768 bytes of red, green, blue."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        fail("%s: no PNG signature" % path)
    at, chunks = 8, []
    while at < len(data):
        if at + 12 > len(data):
            fail("%s: truncated chunk at byte %d" % (path, at))
        size, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + size]
        (crc,) = struct.unpack(">I", data[at + 8 + size:at + 12 + size])
        if len(body) != size or zlib.crc32(kind + body) != crc:
            fail("%s: bad length or CRC in chunk %r" % (path, kind))
        chunks.append((kind, body))
        at += 12 + size
    kinds = [k for k, _ in chunks]
    if kinds[0] != b"IHDR" or kinds[-1] != b"IEND" or chunks[-1][1] or kinds.count(b"IEND") != 1:
        fail("%s: chunks out of order: %r" % (path, kinds))
    ihdr = struct.unpack(">IIBBBBB", chunks[0][1])
    if ihdr != (WIDTH, HEIGHT, 8, 3, 0, 0, 0):
        fail("%s: IHDR %r is not 640 x 480, 8-bit paletted, not interlaced" % (path, ihdr))
    palettes = [b for k, b in chunks if k == b"PLTE"]
    if len(palettes) != 1 or len(palettes[0]) != 768:
        fail("%s: want one PLTE of 256 entries" % path)
    try:
        raw = zlib.decompress(b"".join(b for k, b in chunks if k == b"IDAT"))
    except zlib.error as e:
        fail("%s: image data: %s" % (path, e))
    if len(raw) != HEIGHT * (WIDTH + 1):
        fail("%s: %d bytes of image data, want %d" % (path, len(raw), HEIGHT * (WIDTH + 1)))
    return unfilter(path, raw), palettes[0]


def unfilter(path, raw):
    out, prior = bytearray(), bytearray(WIDTH)
    for y in range(HEIGHT):
        kind = raw[y * (WIDTH + 1)]
        row = bytearray(raw[y * (WIDTH + 1) + 1:(y + 1) * (WIDTH + 1)])
        for x in range(WIDTH):
            a = row[x - 1] if x else 0
            b = prior[x]
            c = prior[x - 1] if x else 0
            if kind == 0:
                break
            elif kind == 1:
                pred = a
            elif kind == 2:
                pred = b
            elif kind == 3:
                pred = (a + b) // 2
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
            else:
                fail("%s: row %d has filter type %d" % (path, y, kind))
            row[x] = (row[x] + pred) & 0xFF
        out += row
        prior = row
    return bytes(out)


def screen_hash(hasher, indices, palette):
    """XXH3-64 over the indices, then the palette's triples: the trace's "screen".
    `hasher` is the command that prints a file's XXH3-64 (xxh3sum)."""
    with tempfile.NamedTemporaryFile(suffix=".screen") as f:
        f.write(indices + palette)
        f.flush()
        r = run(hasher.split("|") + [f.name])
    if r.returncode:
        fail("%s: status %d, stderr %r" % (hasher, r.returncode, r.stderr[:300]))
    return r.stdout.decode().strip()


def check_usage(runner):
    cases = [
        ("a number that is not one", ["--frames", "x"], b""),
        ("an unknown option", ["--fast"], b""),
        ("an option without its value", ["--trace"], b""),
        ("a --shot without a file", ["--shot", "5="], b""),
        ("an unreadable script", ["--input", "/nonexistent/script"], b""),
        ("a bad script on standard input", ["--input", "-"], b"1 Left\n0 Up\n"),
    ]
    for what, args, stdin in cases:
        r = run([runner, "--trace", "-"] + args, stdin)
        if r.returncode != 2 or r.stdout or b"usage:" not in r.stderr:
            fail("%s (%s): status %d, stdout %r, stderr %r"
                 % (what, " ".join(args), r.returncode, r.stdout[:200], r.stderr[:200]))
    r = run([runner, "--input", "-"], b"1 Left\n0 Up\n")
    if b"line 2" not in r.stderr:
        fail("the script error does not name its line: %r" % r.stderr)


def check_stdin(runner, script):
    args = ["--frames", "400", "--trace", "-", "--screen-hash", "--input"]
    with open(script, "rb") as f:
        piped = run([runner] + args + ["-"], f.read())
    named = run([runner] + args + [script])
    if piped.returncode or named.returncode:
        fail("status %d from standard input, %d from the file" % (piped.returncode, named.returncode))
    if piped.stdout.count(b"\n") != 400 or piped.stdout != named.stdout:
        fail("the trace from standard input differs from the trace from the file")


def check_startup(runner):
    work = tempfile.mkdtemp()
    try:
        # The runner and its program without the sheet beside them.
        bin_dir = os.path.dirname(os.path.abspath(runner))
        for name in (os.path.basename(runner), "quorvanteledix-headless.js",
                     "quorvanteledix-headless.wasm"):
            shutil.copy2(os.path.join(bin_dir, name), work)
        trace = os.path.join(work, "trace")
        r = run([os.path.join(work, os.path.basename(runner)), "--frames", "3", "--trace", trace])
        if r.returncode != 0 or b"Error: CDib* Read BMP Failed" not in r.stderr:
            fail("status %d, stderr %r" % (r.returncode, r.stderr[:300]))
        if os.path.getsize(trace):
            fail("a start-up failure wrote trace lines")
    finally:
        shutil.rmtree(work)


def check_shots(runner, script, hasher, native):
    passes = [1, 140, 700, 1500]  # the first frame; shots, foes and an explosion; bonus items; the last
    work = tempfile.mkdtemp()
    try:
        def play(program, tag):
            argv = [program, "--frames", str(passes[-1]), "--input", script, "--screen-hash",
                    "--trace", os.path.join(work, tag + ".trace")]
            for n in passes:
                argv += ["--shot", "%d=%s" % (n, os.path.join(work, "%s%d.png" % (tag, n)))]
            r = run(argv)
            if r.returncode:
                fail("%s: status %d, stderr %r" % (program, r.returncode, r.stderr[:300]))
            with open(os.path.join(work, tag + ".trace")) as f:
                return {line["frame"]: line["screen"] for line in map(json.loads, f)}

        hashes = play(runner, "wasm")
        native_hashes = play(native, "native") if native else None
        if native_hashes is not None and native_hashes != hashes:
            fail("the WebAssembly and native traces differ")
        for n in passes:
            indices, palette = read_png(os.path.join(work, "wasm%d.png" % n))
            got = screen_hash(hasher, indices, palette)
            if got != hashes[n]:
                fail("pass %d: the picture hashes to %s, the trace says %s" % (n, got, hashes[n]))
            if native and read_png(os.path.join(work, "native%d.png" % n)) != (indices, palette):
                fail("pass %d: the picture differs from the native runner's" % n)
    finally:
        shutil.rmtree(work)


def main(argv):
    modes = {"usage": (check_usage, 1, 1), "stdin": (check_stdin, 2, 2),
             "startup": (check_startup, 1, 1), "shots": (check_shots, 3, 4)}
    if len(argv) < 2 or argv[1] not in modes:
        sys.exit(__doc__)
    check, least, most = modes[argv[1]]
    args = argv[2:]
    if not least <= len(args) <= most:
        sys.exit(__doc__)
    check(*args, *([None] * (most - len(args))))
    print("ok")


if __name__ == "__main__":
    main(sys.argv)
