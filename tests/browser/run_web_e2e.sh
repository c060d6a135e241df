#!/usr/bin/env bash
# Runs web_e2e.mjs on the built page (argument 1, default dist/web of the
# source tree), with the native quorvanteledix-headless that replays the
# page's demo (argument 2, else $QV_NATIVE_RUNNER). Installs the pinned
# puppeteer-core with npm ci when it is missing and npm is there. The
# browser is Chromium, or Firefox ESR with QV_BROWSER=firefox. Exit status:
# 0 passed, 1 failed, 77 skipped (no such browser, no node, or
# puppeteer-core could not be installed).
set -u

here=$(cd "$(dirname "$0")" && pwd)
dist=${1:-$here/../../dist/web}
runner=${2:-${QV_NATIVE_RUNNER:-}}
export CHROMIUM=${CHROMIUM:-/usr/bin/chromium} FIREFOX=${FIREFOX:-/usr/bin/firefox-esr}

if [ "${QV_BROWSER:-chromium}" = firefox ]; then
    [ -x "$FIREFOX" ] || { echo "SKIP: no Firefox ESR at $FIREFOX"; exit 77; }
else
    [ -x "$CHROMIUM" ] || { echo "SKIP: no Chromium at $CHROMIUM"; exit 77; }
fi
command -v node >/dev/null 2>&1 || { echo "SKIP: node is not installed"; exit 77; }

if [ ! -d "$here/node_modules/puppeteer-core" ] && command -v npm >/dev/null 2>&1; then
    # Two build trees may run this test at once; one installs, the other waits.
    (
        command -v flock >/dev/null 2>&1 && flock 9
        [ -d "$here/node_modules/puppeteer-core" ] ||
            (cd "$here" && npm ci --no-audit --no-fund --loglevel=error) ||
            echo "npm ci failed in $here"
    ) 9>"${TMPDIR:-/tmp}/quorvanteledix-web-e2e-npm.lock"
fi
[ -d "$here/node_modules/puppeteer-core" ] || {
    echo "SKIP: puppeteer-core is not installed in $here/node_modules (npm ci there)"
    exit 77
}

export QV_NATIVE_RUNNER="$runner"
exec node "$here/web_e2e.mjs" "$dist"
