# Sourced by the Wine tests: a private Wine prefix, an 8-bit virtual X
# screen (the game's mode) with an optional window manager, and a cleanup
# that stops, by process id, everything the test started, failures included.
#   WINE_PREFIX   the prefix (made by wine_prefix.sh; created here when missing)
# Exit status convention: 0 passed, 1 failed, 77 skipped (a tool is missing).
# shellcheck shell=bash
set -u

wine_need() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
    done
}
wine_need wine wineserver Xvfb xdpyinfo xwininfo xprop xdotool import convert compare python3

: "${WINE_PREFIX:?WINE_PREFIX names the private Wine prefix}"
export WINEPREFIX=$WINE_PREFIX
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko install dialog: nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="

work=$(mktemp -d /tmp/wine_test.XXXXXX)
xvfb_pid=
wm_pid=
app_pid=
wine_cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
    # The prefix's own server and its helper processes, nothing else.
    wineserver -k 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap wine_cleanup EXIT

fail() {
    echo "FAIL: $*"
    for log in "$work"/*.log; do
        [ -s "$log" ] && { echo "--- $(basename "$log")"; tail -n 30 "$log"; }
    done
    exit 1
}

wait_for() {
    local tries=$(($1 * 10))
    shift
    while ! "$@"; do
        tries=$((tries - 1))
        [ "$tries" -le 0 ] && return 1
        sleep 0.1
    done
}

display_up() { [ -s "$work/display" ] && xdpyinfo -display ":$(cat "$work/display")" >/dev/null 2>&1; }

# start_screen [WM]: Xvfb 640 x 480 x 8 (PseudoColor), then the window
# manager when one is named.
start_screen() {
    Xvfb -displayfd 3 -screen 0 640x480x8 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    wait_for 10 display_up || fail "Xvfb did not start"
    export DISPLAY=":$(cat "$work/display")"
    [ -n "${1:-}" ] && start_wm "$1"
    ensure_prefix
}

# The manager has taken over once the root window names it.
wm_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wm_running() { kill -0 "$wm_pid" 2>/dev/null && wm_up; }
# start_wm WM: a manager that does not take the screen at once is tried
# again; a display just started has refused the first client now and then.
start_wm() {
    wine_need "$1"
    local attempt
    for attempt in 1 2 3; do
        "$1" >"$work/wm.log" 2>&1 &
        wm_pid=$!
        wait_for 5 wm_running && return 0
        kill "$wm_pid" 2>/dev/null
        wait "$wm_pid" 2>/dev/null
        wm_pid=
    done
    fail "$1 did not start"
}

# The prefix is made once (wine_prefix.sh does it before the timed tests);
# a test run on its own makes it here.
ensure_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$(dirname "$WINEPREFIX")"
        wineboot -i >"$work/wineboot.log" 2>&1 || fail "wineboot -i failed"
        wineserver -w
    fi
}

# The X window of a top-level window named exactly $1, or nothing. Wine
# names its windows with a UTF-8 property that xdotool's search may not
# match, so the tree is read instead.
window_named() {
    xwininfo -root -tree | awk -v name="\"$1\":" '$2 == name {print $1; exit}'
}

# capture WINDOW FILE: the window itself, in its own colormap (a capture of
# the root shows an 8-bit screen's colours wrongly).
capture() { import -window "$1" "$2" 2>/dev/null; }
pixel() { python3 "$(dirname "${BASH_SOURCE[0]}")/colours.py" pixel "$@"; }
same_pictures() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = "0" ]; }
