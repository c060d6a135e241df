#!/usr/bin/env bash
# Soak test: PASSES passes of random held keys (fixed seed) through the
# headless runner; every trace line is checked for the world's invariants,
# and the runner's memory must not grow once play is under way.
#   soak.sh RUNNER SOAK_CHECK PASSES
set -u
runner=$1 check=$2 passes=$3
work=$(mktemp -d /tmp/soak.XXXXXX)
trap 'kill $runner_pid 2>/dev/null; rm -rf "$work"' EXIT

"$check" script 12345 "$passes" >"$work/script" || exit 1
mkfifo "$work/trace"
# A small quarantine keeps AddressSanitizer's own memory flat.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=16"
"$runner" --frames "$passes" --input "$work/script" --trace "$work/trace" &
runner_pid=$!
"$check" check <"$work/trace" >"$work/result" 2>&1 &
check_pid=$!

rss() { awk '/^VmRSS:/ {print $2}' "/proc/$runner_pid/status" 2>/dev/null; }
first= last=
while kill -0 "$runner_pid" 2>/dev/null; do
    sleep 2
    now=$(rss)
    [ -n "$now" ] || break
    [ -z "$first" ] && first=$now
    last=$now
done
wait "$runner_pid"; runner_status=$?
wait "$check_pid"; check_status=$?
cat "$work/result"
[ "$runner_status" -eq 0 ] || { echo "FAIL: the runner ended with status $runner_status"; exit 1; }
[ "$check_status" -eq 0 ] || { echo "FAIL: an invariant did not hold"; exit 1; }
if [ -n "$first" ] && [ "$last" -gt $((first + 16384)) ]; then
    echo "FAIL: the runner grew from ${first} kB to ${last} kB"
    exit 1
fi
echo "memory: ${first:-?} kB early, ${last:-?} kB late"
