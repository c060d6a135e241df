#!/usr/bin/env bash
# Demos recorded from the real game, replayed exactly. The game (argument 1)
# runs under Xvfb with openbox and is played by xdotool for some seconds:
# steering, firing, a pause, F12 and back. F9 saves a demo and the game says
# the hash of the frame on screen; the headless runner (argument 2) replays
# the demo to a last trace line with that hash, and a second replay's traces
# equal the first's byte for byte. QV_DEMO saves the whole game at exit,
# which replays to its end too. A damaged or foreign demo is refused with
# status 2 and a message.
# Exit status: 0 passed, 1 failed, 77 skipped (a tool is missing).
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"

game=$(absolute "${1:?usage: demo_e2e.sh GAME RUNNER}")
runner=$(absolute "${2:?usage: demo_e2e.sh GAME RUNNER}")
bin=$(dirname "$runner")
x11_require Xvfb xdotool xdpyinfo xwininfo openbox wmctrl
x11_begin demo_e2e
# Under the sanitizers, the system's video and D-Bus libraries leave
# allocations behind at exit that no suppression can name; the game's own
# memory is checked by the rest of the suite.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

start_xvfb
start_wm openbox
mkdir -p "$WORK/pictures"
export XDG_PICTURES_DIR=$WORK/pictures
QV_DEMO=$WORK/whole.demo start_game "$game" "$(dirname "$game")"

win=
window_found() { win=$(game_window) && [ -n "$win" ]; }
iconified() { xwininfo -id "$win" | grep -q 'Map State: IsUnMapped'; }
wait_for 20 window_found || fail "the game's window did not appear"
sleep 1

# ---- Play as a person does
hold() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; }
hold Right 0.6
hold Up 0.4
xdotool keydown ctrl
hold Left 0.5
xdotool keyup ctrl
xdotool key p
sleep 0.7
xdotool key p
hold Down 0.3
xdotool key F12
wait_for 5 iconified || fail "F12 did not minimize the window"
sleep 0.5
wmctrl -i -a "$win"
sleep 1
xdotool keydown ctrl
hold Right 0.4
xdotool keyup ctrl
sleep 0.5

# ---- F9
xdotool key F9
saved() { grep -q '^Demo saved to .*pictures/quorvanteledix-.*\.demo ([0-9]* passes), screen [0-9a-f]\{16\}$' "$WORK/game.log"; }
wait_for 5 saved || fail "F9 did not save a demo"
line=$(grep '^Demo saved to ' "$WORK/game.log" | head -n 1)
echo "game: $line"
demo=$(sed 's/^Demo saved to \(.*\) ([0-9]* passes).*/\1/' <<<"$line")
screen=${line##* }
[ -s "$demo" ] || fail "the demo $demo is not there"

hold Left 0.3
xdotool key Escape
wait_for 10 game_gone || fail "the game did not end after Esc"
[ "$(game_status)" -eq 0 ] || fail "the game did not end with status 0"
exit_line=$(grep "^Demo saved to $WORK/whole.demo " "$WORK/game.log") || fail "QV_DEMO saved nothing at exit"
echo "game: $exit_line"

# ---- Replays, from the runner's folder where the same city2.bmp is
replay() { (cd "$bin" && "$runner" --demo "$1" --trace "$2" --screen-hash); }
replay "$demo" "$WORK/first.trace" || fail "the runner refused the demo"
replay "$demo" "$WORK/second.trace" || fail "the runner refused the demo the second time"
last=$(tail -n 1 "$WORK/first.trace" | sed 's/.*"screen":"\([0-9a-f]*\)".*/\1/')
[ "$last" = "$screen" ] ||
    fail "the replay ends on screen $last, the game showed $screen ($(wc -l <"$WORK/first.trace") passes)"
cmp -s "$WORK/first.trace" "$WORK/second.trace" || fail "two replays of the demo differ"
echo "runner: $(wc -l <"$WORK/first.trace") passes, the last on screen $last, twice the same"

replay "$WORK/whole.demo" "$WORK/whole.trace" || fail "the runner refused the demo saved at exit"
whole_screen=${exit_line##* }
# The whole game ends with Esc: the program quits after its last frame.
grep -q "\"screen\":\"$whole_screen\"" "$WORK/whole.trace" ||
    fail "the replay of the whole game never showed the last frame $whole_screen"
grep -q "\"screen\":\"$screen\"" "$WORK/whole.trace" ||
    fail "the whole game's replay does not pass the frame F9 saved"
echo "runner: the whole game replays to its last frame, through F9's"

# ---- Refusals
refused() { # FILE WHAT
    local out status
    out=$(cd "$bin" && "$runner" --demo "$1" --trace /dev/null 2>&1)
    status=$?
    [ "$status" -eq 2 ] || fail "$2: status $status, not 2 ($out)"
    grep -q "$3" <<<"$out" || fail "$2: the message does not say \"$3\": $out"
}
head -c 30 "$demo" >"$WORK/cut.demo"
refused "$WORK/cut.demo" "a cut demo" "cut short"
cp "$demo" "$WORK/foreign.demo"
printf '\x00\x00\x00\x00\x00\x00\x00\x00' | dd of="$WORK/foreign.demo" bs=1 seek=12 conv=notrunc status=none
refused "$WORK/foreign.demo" "a demo of another sheet" "hash 0000000000000000"
echo "runner: damaged and foreign demos refused with status 2"
echo "PASS"
