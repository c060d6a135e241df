#!/usr/bin/env bash
# How the real game (argument 1, with city2.bmp beside it) ends when it
# must, on a virtual X server: the X server stopped under a playing game
# and under the start-up "Error" box; SIGTERM during play, pause and the
# box; SIGINT during play and the box. Each time the process is gone within
# two seconds, says why on stderr, ends with the expected status, used no
# more CPU time meanwhile than a second of play takes, and leaves no box
# process behind.
# Exit status: 0 passed, 1 failed, 77 skipped (a tool is missing).
set -u

source "$(dirname "$0")/lib.sh"
game=$(absolute "${1:?usage: game_endings_e2e.sh GAME}")
sheet=$(dirname "$game")/city2.bmp
SHEET_JSON=$(dirname "$game")/city2.json
x11_require Xvfb python3 xdotool xwininfo import convert xdpyinfo pgrep

x11_begin game_endings
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
mkdir "$WORK/alone" && cp "$game" "$WORK/alone/"
alone="$WORK/alone/$(basename "$game")"

window_found() { win=$(game_window) && [ -n "$win" ]; }
shows_ship() {
    shoot "$WORK/shot.png" && game_geometry "$win" && shows_play "$WORK/shot.png" "$sheet"
}

# play: starts the game and waits until it plays.
play() {
    start_game "$game"
    wait_for 20 window_found || fail "no window named Quorvanteledix"
    wait_for 20 shows_ship || fail "the screen never showed the background and the ship"
}

# error_box: starts the game without its sheet and waits for the "Error"
# box; BOX_CHILD is the process SDL shows it from.
error_box() {
    start_game "$alone" "$WORK/alone"
    wait_for 20 find_box Error || fail "no message box captioned Error appeared"
    BOX_CHILD=$(pgrep -P "$GAME_PID" | head -n 1)
    [ -n "$BOX_CHILD" ] || fail "the Error box has no process of its own"
}
no_box() { ! find_box Error; }

# second_of_play: CPU ticks of one second of play, the yardstick.
play_ticks=
second_of_play() {
    local before after
    before=$(cpu_ticks "$GAME_PID")
    sleep 1
    after=$(cpu_ticks "$GAME_PID")
    play_ticks=$((after - before))
    echo "a second of play takes $play_ticks CPU ticks of $(ticks_per_second)"
}

# ends_cleanly WHAT STATUS MESSAGE COMMAND...: runs COMMAND (which ends the
# game's world somehow), then checks how the game went.
ends_cleanly() {
    local what=$1 expected=$2 message=$3 start last now tries status
    shift 3
    start=$(cpu_ticks "$GAME_PID")
    last=$start
    "$@"
    tries=20
    # The last CPU figure read while the process was there bounds what it used.
    while now=$(cpu_ticks "$GAME_PID") && [ -n "$now" ]; do
        last=$now
        tries=$((tries - 1))
        [ "$tries" -le 0 ] && fail "$what: the game was still there two seconds later, using $((last - start)) ticks"
        sleep 0.1
    done
    status=$(game_status)
    [ "$status" -eq "$expected" ] || fail "$what: the game ended with status $status, not $expected"
    grep -q "$message" "$WORK/game.log" || fail "$what: stderr does not say '$message'"
    [ $((last - start)) -le "$play_ticks" ] || fail "$what: it used $((last - start)) CPU ticks, more than a second of play"
    if [ -n "${BOX_CHILD:-}" ]; then
        wait_for 2 box_child_gone || fail "$what: the box's process $BOX_CHILD is still there"
    fi
    BOX_CHILD=
    echo "$what: gone within two seconds, status $status, $((last - start)) CPU ticks"
}
box_child_gone() { ! kill -0 "$BOX_CHILD" 2>/dev/null; }
focus_game() { xdotool windowfocus --sync "$win"; }

# ---- Signals, on one X server.
start_xvfb
play
second_of_play
ends_cleanly "SIGTERM during play" 143 "terminated (SIGTERM)" kill -TERM "$GAME_PID"
play
ends_cleanly "SIGINT during play" 130 "interrupted (SIGINT)" kill -INT "$GAME_PID"
play
focus_game
xdotool key p
sleep 0.5
ends_cleanly "SIGTERM during pause" 143 "terminated (SIGTERM)" kill -TERM "$GAME_PID"
error_box
ends_cleanly "SIGTERM during the Error box" 143 "terminated (SIGTERM)" kill -TERM "$GAME_PID"
wait_for 2 no_box || fail "the Error box is still on screen after SIGTERM"
error_box
ends_cleanly "SIGINT during the Error box" 130 "interrupted (SIGINT)" kill -INT "$GAME_PID"
stop_xvfb

# ---- The X server goes away.
start_xvfb
play
ends_cleanly "X server stopped during play" 1 "lost the connection to the display" stop_xvfb
start_xvfb
error_box
ends_cleanly "X server stopped during the Error box" 1 "lost the connection to the display" stop_xvfb
echo "PASS: signals and a lost display end the game at once, in play, pause and the box"
