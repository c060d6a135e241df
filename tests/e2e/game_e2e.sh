#!/usr/bin/env bash
# End-to-end test of the real game binary (argument 1, with city2.bmp beside
# it) on a virtual X server: it starts and shows the background and the ship,
# an arrow key held with xdotool moves the ship, P freezes the picture, Esc
# ends it with status 0. Then, with the sheet missing, the "Error" box appears,
# stderr names the failure, and Enter dismisses the box and ends the program.
# Exit status: 0 passed, 1 failed, 77 skipped (a tool is missing).
set -u

source "$(dirname "$0")/lib.sh"
game=$(absolute "${1:?usage: game_e2e.sh GAME}")
sheet=$(dirname "$game")/city2.bmp
e2e_require Xvfb xdotool xwininfo import convert compare xdpyinfo

e2e_begin game_e2e
shots=$PWD
start_xvfb
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
find_ship_pixel "$sheet" || fail "no opaque ship pixel found on the sheet"
# With no window manager the window fills the screen: 640 x 480 shown at twice its size.
GX=0 GY=0 GS=2
ship_at_start() {
    screen_shows "$1" $((320 + SHIP_DX)) $((240 + SHIP_DY)) "$sheet" $((151 + SHIP_DX)) $((581 + SHIP_DY))
}

# ---- Play: started from another folder, it finds the sheet beside itself.
start_game "$game"
started() { shoot "$E2E_WORK/a.png" && screen_shows "$E2E_WORK/a.png" 5 5 "$sheet" 5 5 && ship_at_start "$E2E_WORK/a.png"; }
wait_for 20 started || fail "the screen never showed the background and the ship"
cp "$E2E_WORK/a.png" "$shots/game_e2e_start.png"
echo "background and ship on screen: $shots/game_e2e_start.png"

window=$(xdotool search --sync --name '^Quorvanteledix$' | head -n 1)
[ -n "$window" ] || fail "no window named Quorvanteledix"
xdotool windowfocus --sync "$window" || fail "cannot focus the game window"
xdotool keydown Right; sleep 0.4; xdotool keyup Right
moved() { shoot "$E2E_WORK/b.png" && ! ship_at_start "$E2E_WORK/b.png"; }
wait_for 5 moved || fail "the ship did not move away from (320, 240) with Right held"
echo "Right moved the ship"

xdotool key p
sleep 0.3
shoot "$E2E_WORK/c.png"; sleep 0.4; shoot "$E2E_WORK/d.png"
same_pictures "$E2E_WORK/c.png" "$E2E_WORK/d.png" || fail "the picture still changes after P"
cp "$E2E_WORK/d.png" "$shots/game_e2e_paused.png"
echo "P froze the picture"

xdotool key Escape
wait_for 10 game_gone || fail "the game did not end after Esc"
status=$(game_status)
[ "$status" -eq 0 ] || fail "the game ended with status $status after Esc"
echo "Esc ended the game with status 0"

# ---- The sheet missing: a copy of the game alone in a folder of its own.
mkdir "$E2E_WORK/alone" && cp "$game" "$E2E_WORK/alone/"
start_game "$E2E_WORK/alone/$(basename "$game")" "$E2E_WORK/alone"
wait_for 20 find_box Error || fail "no message box captioned Error appeared"
grep -qx "Error: CDib\* Read BMP Failed" "$E2E_WORK/err" || fail "stderr does not say 'Error: CDib* Read BMP Failed'"
shoot "$shots/game_e2e_error.png"
xdotool windowfocus --sync "$BOX"
xdotool key Return
wait_for 10 game_gone || fail "the game did not end after the box was dismissed"
status=$(game_status)
[ "$status" -eq 0 ] || fail "the game ended with status $status after the box"
echo "PASS: plays, moves, pauses, quits; missing sheet reported and dismissed"
