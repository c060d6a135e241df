#!/usr/bin/env bash
# Replays an input script through quorvanteledix-headless and compares the
# trace (world and screen hash of every pass) with the expected one.
#   replay.sh RUNNER SCRIPT EXPECTED.trace.gz           compare
#   replay.sh RUNNER SCRIPT EXPECTED.trace.gz --update  write the expected file
# The number of passes comes from the script's "# frames: N" line.
set -euo pipefail
runner=$1 script=$2 expected=$3 mode=${4:-}
frames=$(sed -n 's/^# frames: *\([0-9][0-9]*\).*/\1/p' "$script" | head -n 1)
[ -n "$frames" ] || { echo "$script has no '# frames: N' line"; exit 1; }

actual=$(mktemp)
trap 'rm -f "$actual"' EXIT
"$runner" --frames "$frames" --input "$script" --trace - --screen-hash >"$actual"

if [ "$mode" = "--update" ]; then
    gzip -n -9 -c "$actual" >"$expected"
    echo "wrote $expected ($(wc -l <"$actual") passes)"
    exit 0
fi
if zcat "$expected" | cmp -s - "$actual"; then
    echo "$(wc -l <"$actual") passes as expected"
    exit 0
fi
echo "FAIL: the trace differs from $expected"
zcat "$expected" | diff - "$actual" | head -n 6 | cut -c 1-400
exit 1
