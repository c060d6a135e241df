# What Debian's emscripten (3.1.6) needs from the environment here.
# shellcheck shell=bash

# emcc's JavaScript optimiser loads Debian's acorn from the system's Node
# modules folder, which Node 20 no longer looks in by itself.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

# Node 20's built-in fetch breaks emscripten 3.1.6's loader of a program's
# .wasm file: programs for Node run with this flag.
QV_NODE=(node --no-experimental-fetch)
