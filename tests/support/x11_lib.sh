# Helpers of every test that runs a program on a virtual X server (sourced
# by tests/e2e, tests/platform/sdl and tests/wine): the tools a test needs,
# its work folder, Xvfb and the window managers, waiting and failing, and
# the sheet's facts (city2.json, written by the sheet generator) with the
# one check of the ship where play starts it.
#
# Every process a test starts is recorded with x11_track and stopped by its
# id when the script ends, passed, failed or interrupted.
# Exit status: 0 passed, 1 failed, 77 a tool is missing (ctest reports the
# test skipped, and scripts/test fails the layer it belongs to).
# shellcheck shell=bash

X11_SUPPORT=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
X11_PIDS=()
X11_AT_CLEANUP=()
WORK=
SHIP_SEEN=

# x11_require TOOL...: exits 77 when a tool is missing.
x11_require() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 && continue
        echo "SKIP: $tool is not installed, so this test cannot run (scripts/lib/packages.sh names its" \
            "package); scripts/test fails the layer of a test that skips."
        exit 77
    done
}

# x11_begin NAME: makes the work folder $WORK and arranges the clean-up.
# Whatever the test writes there as *.log is shown when it fails.
x11_begin() {
    WORK=$(mktemp -d "/tmp/$1.XXXXXX")
    trap x11_cleanup EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
}

x11_track() { X11_PIDS+=("$1"); }
# x11_at_cleanup COMMAND...: runs COMMAND at the clean-up, before any
# recorded process is stopped.
x11_at_cleanup() { X11_AT_CLEANUP+=("$*"); }

# Stops every recorded process still there, the last started first.
x11_cleanup() {
    local i
    for i in "${X11_AT_CLEANUP[@]}"; do eval "$i"; done
    for ((i = ${#X11_PIDS[@]} - 1; i >= 0; i--)); do
        kill "${X11_PIDS[$i]}" 2>/dev/null
    done
    wait 2>/dev/null
    [ -n "$WORK" ] && rm -rf "$WORK"
}

# x11_stop PID: stops one recorded process and waits for it.
x11_stop() {
    kill "$1" 2>/dev/null
    wait "$1" 2>/dev/null
}

fail() {
    local log
    echo "FAIL: $*"
    for log in "$WORK"/*.log; do
        [ -s "$log" ] && { echo "--- $(basename "$log")"; tail -n 30 "$log"; }
    done
    exit 1
}

# wait_for SECONDS COMMAND...: retries COMMAND every 0.1 s until it succeeds.
wait_for() {
    local tries=$(($1 * 10))
    shift
    while ! "$@"; do
        tries=$((tries - 1))
        [ "$tries" -le 0 ] && return 1
        sleep 0.1
    done
}

# ---- The X server and window managers ----------------------------------------------

# start_xvfb [WxHxDEPTH]: a virtual screen (1280x960x24 unless given) on a
# free display, which Xvfb picks and writes to descriptor 3; sets XVFB_PID
# and exports DISPLAY. -noreset: an X server resets when its last client
# goes (the readiness probe, a program just ended), and refuses connections
# while it does.
start_xvfb() {
    x11_require Xvfb xdpyinfo
    rm -f "$WORK/display"
    Xvfb -displayfd 3 -screen 0 "${1:-1280x960x24}" -nolisten tcp -noreset \
        3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    x11_track "$XVFB_PID"
    wait_for 10 display_up || fail "Xvfb did not start"
    DISPLAY=":$(cat "$WORK/display")"
    export DISPLAY
}
display_up() { [ -s "$WORK/display" ] && xdpyinfo -display ":$(cat "$WORK/display")" >/dev/null 2>&1; }

# stop_xvfb: ends the X server, as a session that ends does.
stop_xvfb() { x11_stop "$XVFB_PID"; }

# start_wm openbox|twm|none: sets WM_PID (empty for none) and returns once
# the window manager manages the screen.
start_wm() {
    WM_PID=
    case "$1" in
    openbox) x11_require openbox xprop ;;
    twm) x11_require twm xwininfo ;;
    none) return 0 ;;
    *) fail "unknown window manager $1" ;;
    esac
    "$1" >"$WORK/wm.log" 2>&1 &
    WM_PID=$!
    x11_track "$WM_PID"
    wait_for 10 wm_up "$1" || fail "$1 did not start"
}
# openbox names itself on the root window (EWMH); twm, which knows nothing
# of EWMH, shows its icon manager.
wm_up() {
    kill -0 "$WM_PID" 2>/dev/null || return 1
    case "$1" in
    openbox) xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ;;
    twm) xwininfo -root -tree 2>/dev/null | grep -q '"TWM Icon Manager"' ;;
    esac
}

# window_named NAME: the id of the top-level window named exactly NAME, or
# nothing. Names set as UTF-8 properties (message boxes, Wine's windows)
# escape xdotool's search, so the tree is read instead.
window_named() { xwininfo -root -tree | awk -v name="\"$1\":" '$2 == name {print $1; exit}'; }

# pixel IMAGE X Y: "R G B" of one pixel, 0..255 each.
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r+0.5)] %[fx:int(255*p{$2,$3}.g+0.5)] %[fx:int(255*p{$2,$3}.b+0.5)]" info:; }
same_pictures() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = "0" ]; }

# ---- The sheet's facts -----------------------------------------------------------------

# SHEET_JSON names city2.json; the sheet generator writes it beside city2.bmp.
# sheet_fact NAME...: a fact, numbers separated by spaces ("sprites" "player").
sheet_fact() { python3 "$X11_SUPPORT/sheet_facts.py" get "$SHEET_JSON" "$@"; }

# ship_at_start IMAGE [SHOWN]: IMAGE shows the ship where play starts it,
# with the game's 640 x 480 picture at (GX, GY) scaled GS times (0, 0 and 1
# unless set). SHOWN: the colour each palette entry shows as, one "R G B" a
# line, on a screen that does not show the palette as set. Sets SHIP_SEEN
# to how much of the ship shows.
ship_at_start() {
    SHIP_SEEN=$(python3 "$X11_SUPPORT/sheet_facts.py" ship-at-start "$SHEET_JSON" "$1" \
        "${GX:-0}" "${GY:-0}" "${GS:-1}" ${2:+"$2"})
}
