#!/usr/bin/env bash
# The real game (argument 1, with city2.bmp beside it) under a window
# manager (argument 2: openbox; twm, which knows nothing of EWMH; or none,
# a bare X server, where nothing ever carries out a minimize request), on
# a virtual X server, as a person switches windows:
# - focus moved to another window stops play, and coming back resumes it
#   with its sprites (every surface was lost meanwhile);
# - F12 minimizes and stops play, and restoring the window resumes it with
#   its sprites; with no window manager, F12 cannot minimize and must not
#   freeze the game: frames go on and Esc still ends it;
# - with the sheet missing, the start-up "Error" box takes the focus, and
#   Enter, held as a person presses it, dismisses it and ends the program.
# Exit status: 0 passed, 1 failed, 77 skipped (a tool is missing).
set -u

source "$(dirname "$0")/lib.sh"
game=$(absolute "${1:?usage: game_wm_e2e.sh GAME openbox|twm|none}")
wm=${2:?usage: game_wm_e2e.sh GAME openbox|twm|none}
sheet=$(dirname "$game")/city2.bmp
SHEET_JSON=$(dirname "$game")/city2.json
x11_require Xvfb python3 xdotool xwininfo xmessage import convert compare xdpyinfo
case "$wm" in
openbox) x11_require openbox wmctrl ;;
twm) x11_require twm ;;
esac

x11_begin "game_wm_$wm"
start_xvfb
start_wm "$wm"
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
ticks=$(ticks_per_second)
# The screen below the other window, which sits in the top-left corner.
watched=1280x840+0+120

shows_ship() {
    shoot "$WORK/shot.png" && game_geometry "$win" && shows_play "$WORK/shot.png" "$sheet"
}
# Frames run: the Boss patrols its row, so two pictures apart differ.
frames_run() {
    shoot "$WORK/run1.png" && sleep 0.3 && shoot "$WORK/run2.png" &&
        ! same_region "$WORK/run1.png" "$WORK/run2.png" "$watched"
}
frames_stopped() {
    shoot "$WORK/stop1.png" && sleep 0.6 && shoot "$WORK/stop2.png" &&
        same_region "$WORK/stop1.png" "$WORK/stop2.png" "$watched"
}
# Play resumed as it was: frames run and the sprites are drawn again.
resumed() { frames_run && shows_ship; }
# A waiting program uses next to no CPU; a playing one a good part of a core.
idles_for_a_second() {
    local before after
    before=$(cpu_ticks "$GAME_PID")
    sleep 1
    after=$(cpu_ticks "$GAME_PID")
    [ -n "$before" ] && [ -n "$after" ] && [ $((after - before)) -lt $((ticks / 10)) ]
}
iconified() { xwininfo -id "$win" | grep -q 'Map State: IsUnMapped'; }
window_found() { win=$(game_window) && [ -n "$win" ]; }

# ---- Play
start_game "$game"
wait_for 20 window_found || fail "no window named Quorvanteledix"
wait_for 20 shows_ship || fail "the screen never showed the background and the ship"
wait_for 5 frames_run || fail "the picture does not change during play"
echo "$wm: playing"

# ---- Another window takes the focus, then the game gets it back.
xmessage -geometry 240x60+10+10 "another window" &
other_pid=$!
x11_track "$other_pid"
other=
other_found() { other=$(xdotool search --sync --onlyvisible --class Xmessage | head -n 1) && [ -n "$other" ]; }
wait_for 10 other_found || fail "xmessage did not appear"
case "$wm" in
openbox) xdotool windowactivate --sync "$other" ;;
twm) xdotool mousemove 60 30 ;; # twm's focus follows the pointer
none) xdotool windowfocus --sync "$other" ;;
esac
wait_for 5 frames_stopped || fail "play goes on while another window has the focus"
echo "$wm: another window has the focus: play stopped"
case "$wm" in
openbox) xdotool windowactivate --sync "$win" ;;
twm) xdotool mousemove 640 600 ;;
none) xdotool windowfocus --sync "$win" ;;
esac
wait_for 10 resumed || fail "play did not resume with its sprites when the game got the focus back"
echo "$wm: focus back: play resumed with its sprites"
kill "$other_pid" 2>/dev/null

# ---- F12
xdotool key F12
if [ "$wm" = none ]; then
    # Nothing carries the request out: the window stays shown and focused.
    sleep 1.5
    iconified && fail "the window was unmapped with no window manager"
    wait_for 5 resumed || fail "F12 froze the game on a bare X server"
    echo "$wm: F12 could not minimize: play goes on with its sprites"
else
    wait_for 5 iconified || fail "F12 did not minimize the window"
    idles_for_a_second || fail "the game uses the CPU while minimized"
    echo "$wm: F12 minimized the window: play stopped"
    case "$wm" in
    openbox) wmctrl -i -a "$win" ;;
    twm) xdotool windowmap "$win" && xdotool mousemove 640 610 ;; # what a click on its icon does
    esac
    wait_for 10 resumed || fail "play did not resume with its sprites after the window was restored"
    echo "$wm: restored: play resumed with its sprites"
fi

xdotool key Escape
wait_for 10 game_gone || fail "the game did not end after Esc"
status=$(game_status)
[ "$status" -eq 0 ] || fail "the game ended with status $status after Esc"
echo "$wm: Esc ended the game with status 0"

# ---- The sheet missing: the "Error" box, dismissed from the keyboard.
mkdir "$WORK/alone" && cp "$game" "$WORK/alone/"
start_game "$WORK/alone/$(basename "$game")" "$WORK/alone"
wait_for 20 find_box Error || fail "no message box captioned Error appeared"
grep -qx "Error: CDib\* Read BMP Failed" "$WORK/game.log" || fail "stderr does not say 'Error: CDib* Read BMP Failed'"
box_has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$((BOX))" ]; }
# twm gives the keys to the window under the pointer (the X focus stays
# PointerRoot, so there is no focus to ask for): a person points at the box.
if [ "$wm" = twm ]; then
    xdotool mousemove --window "$BOX" 20 20
    sleep 0.3
else
    wait_for 5 box_has_focus || fail "the Error box does not have the focus"
fi
xdotool keydown Return
sleep 0.3
xdotool keyup Return
wait_for 10 game_gone || fail "Enter did not dismiss the box and end the program"
status=$(game_status)
[ "$status" -eq 0 ] || fail "the game ended with status $status after the box"
echo "PASS: $wm: focus changes, F12 and the Error box as a person meets them"
