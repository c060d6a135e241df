# Sourced by the Wine tests, on the X11 tests' helpers: a private Wine
# prefix and an 8-bit virtual X screen (the game's mode) with an optional
# window manager.
#   WINE_PREFIX   the prefix (made by wine_prefix.sh; created here when missing)
# shellcheck shell=bash
# shellcheck source=../support/x11_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/x11_lib.sh"
set -u
x11_require wine wineserver Xvfb xdpyinfo xwininfo xprop xdotool import convert compare python3

: "${WINE_PREFIX:?WINE_PREFIX names the private Wine prefix}"
export WINEPREFIX=$WINE_PREFIX
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko install dialog: nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="

x11_begin wine_test
# The prefix's own server and its helper processes, nothing else.
x11_at_cleanup 'wineserver -k 2>/dev/null'

# start_screen [WM]: Xvfb 640 x 480 x 8 (PseudoColor), then the window
# manager when one is named.
start_screen() {
    start_xvfb 640x480x8
    [ -n "${1:-}" ] && start_wm "$1"
    ensure_prefix
}

# The prefix is made once (wine_prefix.sh does it before the timed tests);
# a test run on its own makes it here.
ensure_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$(dirname "$WINEPREFIX")"
        wineboot -i >"$WORK/wineboot.log" 2>&1 || fail "wineboot -i failed"
        wineserver -w
    fi
}

# capture WINDOW FILE: the window itself, in its own colormap (a capture of
# the root shows an 8-bit screen's colours wrongly).
capture() { import -window "$1" "$2" 2>/dev/null; }
