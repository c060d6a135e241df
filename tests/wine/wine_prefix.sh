#!/usr/bin/env bash
# Makes the Wine tests' private prefix afresh (argument 1), once per run and
# before the timed tests: Wine's first start is slow.
prefix=${1:?usage: wine_prefix.sh PREFIX}
rm -rf "$prefix"
export WINE_PREFIX=$prefix
source "$(dirname "$0")/wine_lib.sh"
start_screen
echo "PASS: Wine prefix $prefix ($(wine --version))"
