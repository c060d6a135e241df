#!/usr/bin/env bash
# scripts/lib/packages.sh and layers.sh against a stand-in apt-get: a
# registry that fails makes a layer "not run" and the run pass; anything
# else that fails, or a test that skips, fails the run.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/qv-registry-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
check() { # WHAT EXPECTED ACTUAL
    if [ "$2" != "$3" ]; then
        echo "FAIL: $1: expected [$2], got [$3]"
        failures=$((failures + 1))
    fi
}

# Stand-ins: root, nothing installed, and an apt-get that answers as told.
mkdir -p "$work/bin"
printf '#!/bin/sh\necho 0\n' >"$work/bin/id"
printf '#!/bin/sh\nexit 1\n' >"$work/bin/dpkg-query"
cat >"$work/bin/apt-get" <<'FAKE'
#!/bin/sh
echo "$1" >>"$FAKE_LOG"
case $1 in
update) printf '%b' "$FAKE_UPDATE_OUT"; exit "$FAKE_UPDATE_RC" ;;
install) printf '%b' "$FAKE_INSTALL_OUT"; exit "$FAKE_INSTALL_RC" ;;
esac
FAKE
chmod +x "$work/bin/"*
export PATH="$work/bin:$PATH" QV_APT_RETRY_PAUSE=0 FAKE_LOG="$work/apt.log"

bad_index='E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (1 != 2). Mirror sync in progress? [IP: 1.2.3.4 80]'

# install_case UPDATE_RC UPDATE_OUT INSTALL_RC INSTALL_OUT: ensure_packages'
# status, the number of updates tried and the note it left.
install_case() {
    export FAKE_UPDATE_RC=$1 FAKE_UPDATE_OUT=$2 FAKE_INSTALL_RC=$3 FAKE_INSTALL_OUT=$4
    : >"$FAKE_LOG"
    rm -f "$work/note"
    (
        source "$root/scripts/lib/packages.sh"
        QV_REGISTRY_NOTE="$work/note" ensure_packages wine32 >/dev/null 2>&1
    )
    echo "$? $(grep -c update "$FAKE_LOG") $(cat "$work/note" 2>/dev/null)"
}

check "update failing thrice, then the package cannot be had" \
    "75 3 $bad_index" "$(install_case 100 "$bad_index\n" 100 "E: Unable to locate package wine32\n")"
check "update failing, install succeeding all the same" \
    "0 3 " "$(install_case 100 "$bad_index\n" 0 "")"
check "update failing once only" "0 1 " "$(install_case 0 "" 0 "")"
check "a package the registry does not know" \
    "1 1 " "$(install_case 0 "" 100 "E: Unable to locate package wine33\n")"
check "an archive that cannot be fetched" \
    "75 1 E: Failed to fetch http://x/pool/w.deb  Connection failed" \
    "$(install_case 0 "" 100 "E: Failed to fetch http://x/pool/w.deb  Connection failed\n")"

# run_layers LAYER_STATUS... : runs one layer per status (a command exiting
# with it; "skip" passes but reports a skipped test) and prints the report's
# status and its last line.
run_layers() {
    (
        source "$root/scripts/lib/packages.sh"
        source "$root/scripts/lib/layers.sh"
        layer_cmd() {
            case $1 in
            skip) echo "  7 - game_wm_twm (Skipped)" ;;
            75) echo "E: Failed to fetch x" >"$QV_REGISTRY_NOTE"; exit 75 ;;
            *) exit "$1" ;;
            esac
        }
        local n=0 s
        for s in "$@"; do
            n=$((n + 1))
            layer "layer$n" layer_cmd "$s"
        done
        layers_report
        echo "status $?"
    ) 2>&1 | tail -n 2 | tr '\n' '|'
}

check "registry layer not run, run passes" \
    "layer2: not run: package registry: E: Failed to fetch x|status 0|" "$(run_layers 0 75)"
check "QV_REQUIRE_ALL fails it" \
    "layer2: not run: package registry: E: Failed to fetch x|status 1|" "$(QV_REQUIRE_ALL=1 run_layers 0 75)"
check "a failing layer fails the run" "layer2       failed (status 1)|status 1|" "$(run_layers 0 1)"
check "a skipped test fails its layer" "layer2       failed: 1 test(s) skipped|status 1|" "$(run_layers 0 skip)"
check "nothing passing is not a pass" "layer1: not run: package registry: E: Failed to fetch x|status 1|" \
    "$(run_layers 75)"

[ "$failures" -eq 0 ] && echo "all registry and layer cases passed"
exit $((failures > 0))
