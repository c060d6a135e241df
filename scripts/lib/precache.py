#!/usr/bin/env python3
"""Writes the list of a built page's files into its service worker.

    precache.py FOLDER [--except PATTERN]...

Lists every file under FOLDER (sub-folders included) with the SHA-256 of its
bytes, and puts that list and a version made from it on the one line of
FOLDER/sw.js that starts with "const BUILD = ". The worker caches exactly
those files and checks each against its hash; since the list is part of the
worker's own bytes, a build that changes any file is a new worker for the
browser. Left out: sw.js itself, names starting with a dot (many hosts do not
serve them), and names matching a PATTERN (shell-style, matched against a
file's or folder's name; a matching folder is left out whole), which the build
uses for CMake's own files in its web folder.

Running it again on the same folder changes nothing. scripts/web runs it on
dist/web/, the build on <build>/web, and the browser tests on their copies.
Exit status: 0 written, 1 FOLDER/sw.js missing or without that line, 2 usage.
"""
import argparse
import fnmatch
import hashlib
import json
import os
import re
import sys

WORKER = 'sw.js'
LINE = re.compile(r'^const BUILD = .*;$', re.MULTILINE)


def listed(folder, patterns):
    """Relative path (with /) -> SHA-256 hex of every file the worker keeps."""
    def left_out(name):
        return name.startswith('.') or any(fnmatch.fnmatchcase(name, p) for p in patterns)

    files = {}
    for top, dirs, names in os.walk(folder):
        dirs[:] = sorted(d for d in dirs if not left_out(d))
        for name in names:
            path = os.path.join(top, name)
            rel = os.path.relpath(path, folder).replace(os.sep, '/')
            if rel == WORKER or left_out(name):
                continue
            with open(path, 'rb') as f:
                files[rel] = hashlib.sha256(f.read()).hexdigest()
    return dict(sorted(files.items()))


def build_line(files):
    """The worker's BUILD line: the files and a version that changes with any of them."""
    summary = ''.join(f'{name} {digest}\n' for name, digest in files.items())
    version = hashlib.sha256(summary.encode()).hexdigest()[:16]
    data = json.dumps({'version': version, 'files': files}, separators=(',', ':'))
    return f'const BUILD = {data};', version


def main(argv):
    parser = argparse.ArgumentParser(prog='precache.py', description=__doc__.splitlines()[0])
    parser.add_argument('folder')
    parser.add_argument('--except', dest='patterns', action='append', default=[], metavar='PATTERN')
    args = parser.parse_args(argv)
    folder = args.folder
    worker = os.path.join(folder, WORKER)
    try:
        with open(worker, encoding='utf-8') as f:
            text = f.read()
    except OSError as e:
        print(f'precache.py: cannot read {worker}: {e.strerror}', file=sys.stderr)
        return 1
    if len(LINE.findall(text)) != 1:
        print(f'precache.py: {worker} has no single line starting with "const BUILD = "', file=sys.stderr)
        return 1
    files = listed(folder, args.patterns)
    line, version = build_line(files)
    updated = LINE.sub(lambda _: line, text)
    if updated != text:
        with open(worker, 'w', encoding='utf-8') as f:
            f.write(updated)
    print(f'{worker}: {len(files)} files, version {version}')
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
