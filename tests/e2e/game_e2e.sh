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
SHEET_JSON=$(dirname "$game")/city2.json
x11_require Xvfb python3 xdotool xwininfo import convert compare xdpyinfo

x11_begin game_e2e
shots=$PWD
start_xvfb
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
# With no window manager the window fills the screen: 640 x 480 shown at twice its size.
GX=0 GY=0 GS=2

# ---- Play: started from another folder, it finds the sheet beside itself.
start_game "$game"
started() { shoot "$WORK/a.png" && screen_shows "$WORK/a.png" 5 5 "$sheet" 5 5 && ship_at_start "$WORK/a.png"; }
wait_for 20 started || fail "the screen never showed the background and the ship: $SHIP_SEEN"
cp "$WORK/a.png" "$shots/game_e2e_start.png"
echo "background and ship on screen: $shots/game_e2e_start.png"

window=$(xdotool search --sync --name '^Quorvanteledix$' | head -n 1)
[ -n "$window" ] || fail "no window named Quorvanteledix"
xdotool windowfocus --sync "$window" || fail "cannot focus the game window"
xdotool keydown Right; sleep 0.4; xdotool keyup Right
moved() { shoot "$WORK/b.png" && ! ship_at_start "$WORK/b.png"; }
wait_for 5 moved || fail "the ship did not move away from its start with Right held: $SHIP_SEEN"
echo "Right moved the ship"

xdotool key p
sleep 0.3
shoot "$WORK/c.png"; sleep 0.4; shoot "$WORK/d.png"
same_pictures "$WORK/c.png" "$WORK/d.png" || fail "the picture still changes after P"
cp "$WORK/d.png" "$shots/game_e2e_paused.png"
echo "P froze the picture"

xdotool key Escape
wait_for 10 game_gone || fail "the game did not end after Esc"
status=$(game_status)
[ "$status" -eq 0 ] || fail "the game ended with status $status after Esc"
echo "Esc ended the game with status 0"

# ---- The sheet missing: a copy of the game alone in a folder of its own.
mkdir "$WORK/alone" && cp "$game" "$WORK/alone/"
start_game "$WORK/alone/$(basename "$game")" "$WORK/alone"
wait_for 20 find_box Error || fail "no message box captioned Error appeared"
grep -qx "Error: CDib\* Read BMP Failed" "$WORK/game.log" || fail "stderr does not say 'Error: CDib* Read BMP Failed'"
shoot "$shots/game_e2e_error.png"
xdotool windowfocus --sync "$BOX"
xdotool key Return
wait_for 10 game_gone || fail "the game did not end after the box was dismissed"
status=$(game_status)
[ "$status" -eq 0 ] || fail "the game ended with status $status after the box"
echo "PASS: plays, moves, pauses, quits; missing sheet reported and dismissed"
