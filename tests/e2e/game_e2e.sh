#!/usr/bin/env bash
# End-to-end test of the real game binary (argument 1, with city2.bmp beside
# it) on a virtual X server: it starts and shows the background and the ship,
# an arrow key held with xdotool moves the ship, P freezes the picture, Esc
# ends it with status 0. Then, with the sheet missing, the "Error" box appears,
# stderr names the failure, and Enter dismisses the box and ends the program.
# Exit status: 0 passed, 1 failed, 77 skipped (a tool is missing).
set -u

game=${1:?usage: game_e2e.sh GAME}
sheet=$(dirname "$game")/city2.bmp
for tool in Xvfb xdotool import convert compare xdpyinfo; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d /tmp/game_e2e.XXXXXX)
shots=$PWD
xvfb_pid=
game_pid=
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    echo "--- game stderr"; cat "$work/err" 2>/dev/null
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
game_gone() { ! kill -0 "$game_pid" 2>/dev/null; }
shoot() { import -display "$DISPLAY" -window root "$1" 2>/dev/null; }
# "R G B" of pixel (x, y) of an image.
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r+0.5)] %[fx:int(255*p{$2,$3}.g+0.5)] %[fx:int(255*p{$2,$3}.b+0.5)]" info:; }
# The screen shows game pixel (x, y) at twice its size: (2x, 2y) of 1280 x 960.
screen_shows() { [ "$(pixel "$1" $((2 * $2)) $((2 * $3)))" = "$(pixel "$sheet" "$4" "$5")" ]; }
same_pictures() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = "0" ]; }
key_colour=$(pixel "$sheet" 1 500)

Xvfb -displayfd 3 -screen 0 1280x960x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
wait_for 10 display_up || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# A ship pixel that is not transparent: the ship sprite starts at (151, 581)
# on the sheet and the ship at (320, 240) on screen.
for offset in "20 14" "18 12" "24 15" "10 14"; do
    set -- $offset
    if [ "$(pixel "$sheet" $((151 + $1)) $((581 + $2)))" != "$key_colour" ]; then
        ship_dx=$1 ship_dy=$2
        break
    fi
done
[ -n "${ship_dx:-}" ] || fail "no opaque ship pixel found on the sheet"

# ---- Play: started from another folder, it finds the sheet beside itself.
(cd "$work" && exec "$game" 2>"$work/err") &
game_pid=$!
started() { shoot "$work/a.png" && screen_shows "$work/a.png" 5 5 5 5 &&
    screen_shows "$work/a.png" $((320 + ship_dx)) $((240 + ship_dy)) $((151 + ship_dx)) $((581 + ship_dy)); }
wait_for 20 started || fail "the screen never showed the background and the ship"
cp "$work/a.png" "$shots/game_e2e_start.png"
echo "background and ship on screen: $shots/game_e2e_start.png"

window=$(xdotool search --sync --name '^Quorvanteledix$' | head -n 1)
[ -n "$window" ] || fail "no window named Quorvanteledix"
xdotool windowfocus --sync "$window" || fail "cannot focus the game window"
xdotool keydown Right; sleep 0.4; xdotool keyup Right
moved() { shoot "$work/b.png" && ! screen_shows "$work/b.png" $((320 + ship_dx)) $((240 + ship_dy)) $((151 + ship_dx)) $((581 + ship_dy)); }
wait_for 5 moved || fail "the ship did not move away from (320, 240) with Right held"
echo "Right moved the ship"

xdotool key p
sleep 0.3
shoot "$work/c.png"; sleep 0.4; shoot "$work/d.png"
same_pictures "$work/c.png" "$work/d.png" || fail "the picture still changes after P"
cp "$work/d.png" "$shots/game_e2e_paused.png"
echo "P froze the picture"

xdotool key Escape
wait_for 10 game_gone || fail "the game did not end after Esc"
wait "$game_pid"; status=$?; game_pid=
[ "$status" -eq 0 ] || fail "the game ended with status $status after Esc"
echo "Esc ended the game with status 0"

# ---- The sheet missing: a copy of the game alone in a folder of its own.
mkdir "$work/alone" && cp "$game" "$work/alone/"
(cd "$work/alone" && exec "./$(basename "$game")" 2>"$work/err") &
game_pid=$!
# The box's name is a UTF-8 property, which xdotool's search does not match.
find_box() { box=$(xwininfo -root -tree | awk '$2 == "\"Error\":" {print $1; exit}'); [ -n "$box" ]; }
wait_for 20 find_box || fail "no message box captioned Error appeared"
grep -qx "Error: CDib\* Read BMP Failed" "$work/err" || fail "stderr does not say 'Error: CDib* Read BMP Failed'"
shoot "$shots/game_e2e_error.png"
xdotool windowfocus --sync "$box"
xdotool key Return
wait_for 10 game_gone || fail "the game did not end after the box was dismissed"
wait "$game_pid"; status=$?; game_pid=
[ "$status" -eq 0 ] || fail "the game ended with status $status after the box"
echo "PASS: plays, moves, pauses, quits; missing sheet reported and dismissed"
