#!/usr/bin/env python3
"""Checks every #include of the program, its platform layer and its tools
against the arrows allowed between folders (the table below), and that the
game's own files name no host.

    check_includes.py [ROOT]    the tree at ROOT (default: this source tree)
    check_includes.py --self-test

Prints one line per offending include and exits 1 when there is any. A
quoted include is resolved as the build resolves it: the including file's
folder first, then the folders that folder may point at."""
import os
import re
import sys
import tempfile

# Folder -> the folders its files may include from. An arrow also allows
# every arrow of its target: app reaches bitmap through game. <SDL> and
# <emscripten> stand for those libraries' headers.
ARROWS = {
    "app": ["game"],
    "game": ["display"],
    "display": ["bitmap"],
    "bitmap": ["platform/include"],
    "platform/include": [],
    "platform/win32": ["platform/internal"],
    "platform/ddraw": ["platform/internal"],
    # The API layer's view of the host: host.h and the core (host/common).
    "platform/internal": ["platform/include", "platform/host/common"],
    "platform/host/common": ["platform/host"],
    "platform/host": [],
    "platform/host/headless": ["platform/host/common"],
    "platform/host/sdl": ["platform/host/common", "<SDL>"],
    "platform/host/web": ["platform/host/common", "<emscripten>"],
    "tools/sheetgen": [],
    "tools/runner": ["app", "platform/host/headless"],
    "web": ["app", "platform/host/web", "<emscripten>"],
}
# The game's files name no host: it runs on all of them alike.
GAME_FOLDERS = ["app", "display", "bitmap", "game"]
HOST_WORDS = re.compile(r"\b(emscripten|browser|wasm|webassembly|sdl|headless)\b", re.I)

INCLUDE = re.compile(r'^\s*#\s*include\s*(["<])([^">]+)[">]')
SOURCE_SUFFIXES = (".cpp", ".h", ".inc", ".hpp", ".c")
LIBRARY_PREFIXES = {"SDL": "<SDL>", "emscripten": "<emscripten>"}


def reachable(folder):
    seen, todo = [], list(ARROWS.get(folder, []))
    while todo:
        target = todo.pop(0)
        if target not in seen:
            seen.append(target)
            todo += ARROWS.get(target, [])
    return seen


def target_of(root, folder, kind, name, allowed):
    """The folder an include points at, or None for the standard library
    and the system's other headers."""
    if kind == '"':
        for candidate in [folder] + allowed + list(ARROWS):
            path = os.path.normpath(os.path.join(root, candidate, name))
            if not candidate.startswith("<") and os.path.isfile(path):
                return os.path.relpath(os.path.dirname(path), root)
    for prefix, library in LIBRARY_PREFIXES.items():
        if name.startswith(prefix):
            return library
    if kind == "<":
        return "platform/include" if os.path.isfile(os.path.join(root, "platform/include", name)) else None
    return "?"


def check(root):
    problems = []
    tops = sorted({folder.split("/")[0] for folder in ARROWS})
    for top in tops:
        for directory, _, files in sorted(os.walk(os.path.join(root, top))):
            folder = os.path.relpath(directory, root)
            for file in sorted(f for f in files if f.endswith(SOURCE_SUFFIXES)):
                where = os.path.join(folder, file)
                if folder not in ARROWS:
                    problems.append(f"{where}: {folder} is not in the table of arrows")
                    continue
                problems += check_file(root, folder, where)
    return problems


def check_file(root, folder, where):
    problems = []
    allowed = reachable(folder)
    with open(os.path.join(root, where), encoding="utf-8", errors="replace") as source:
        for number, line in enumerate(source, 1):
            if folder in GAME_FOLDERS and HOST_WORDS.search(line):
                problems.append(f"{where}:{number}: names a host: {line.strip()}")
            match = INCLUDE.match(line)
            if not match:
                continue
            kind, name = match.groups()
            target = target_of(root, folder, kind, name, allowed)
            if target == "?":
                problems.append(f"{where}:{number}: #include \"{name}\" names no file of the tree")
            elif target and target != folder and target not in allowed:
                problems.append(f"{where}:{number}: #include {kind}{name}{'>' if kind == '<' else kind}"
                                f" is in {target}: {folder} may not point at {target}")
    return problems


def self_test():
    """An upward include and a host reaching into the API's internals are
    caught; the allowed include beside them is not."""
    files = {
        "game/world.h": "",
        "platform/internal/faults.h": "",
        "bitmap/dib.cpp": '#include "dib.h"\n#include "world.h"\n',
        "bitmap/dib.h": "#include <windows.h>\n",
        "platform/include/windows.h": "",
        "platform/host/sdl/sdl_host.cpp": '#include <SDL.h>\n#include "faults.h"\n',
    }
    with tempfile.TemporaryDirectory() as root:
        for name, text in files.items():
            os.makedirs(os.path.join(root, os.path.dirname(name)), exist_ok=True)
            with open(os.path.join(root, name), "w") as out:
                out.write(text)
        problems = check(root)
    expected = ["bitmap/dib.cpp:2:", "platform/host/sdl/sdl_host.cpp:2:"]
    found = [problem.split(" ")[0] for problem in problems]
    if found != expected:
        print("self-test: expected complaints about", expected, "got:", *problems, sep="\n  ")
        return 1
    print("self-test: both bad includes caught")
    return 0


def main(arguments):
    if arguments == ["--self-test"]:
        return self_test()
    root = arguments[0] if arguments else os.path.join(os.path.dirname(os.path.abspath(__file__)), "../..")
    problems = check(os.path.abspath(root))
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
