#!/usr/bin/env bash
# The desktop game's whole cost on a machine without a GPU: the game (argument
# 1) runs on a virtual X server of 1280 x 960 (the picture at 2x), played by
# xdotool as bench/busy.script plays it (left and down while firing, then
# firing), and the CPU time of the game and of the X server is read from
# /proc over SECONDS seconds of play (default 10). Work the game hands to the
# X server still counts. QV_PRESENT is passed on, so the caller picks the
# presentation path.
#
# Prints one JSON object: "seconds" measured, "passes" that 60 Hz makes in
# them, "game_s" and "xserver_s" (CPU seconds), "game_passes_total" (the
# whole run's, from the demo saved at exit) and "path", the presentation the
# game reported.
# Exit status: 0 measured, 1 failed, 77 a tool is missing.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../tests/e2e/lib.sh"

game=$(absolute "${1:?usage: game_cpu.sh GAME [SECONDS]}")
seconds=${2:-10}
x11_require Xvfb xdotool xdpyinfo
x11_begin game_cpu

start_xvfb 1280x960x24
QV_DEMO=$WORK/whole.demo start_game "$game" "$(dirname "$game")"
win=
window_found() { win=$(game_window) && [ -n "$win" ]; }
wait_for 20 window_found || fail "the game's window did not appear"
# Start-up (the sheet read, the window mapped) is not what is measured.
sleep 1

game0=$(cpu_ticks "$GAME_PID")
x0=$(cpu_ticks "$XVFB_PID")
start=$(date +%s%N)
xdotool keydown ctrl keydown Left
sleep 0.75
xdotool keyup Left keydown Down
sleep 0.3
xdotool keyup Down
sleep "$(python3 -c "print(max(0, $seconds - 1.05))")"
game1=$(cpu_ticks "$GAME_PID")
x1=$(cpu_ticks "$XVFB_PID")
took=$(($(date +%s%N) - start))
[ -n "$game1" ] && [ -n "$x1" ] || fail "the game or the X server ended during the measurement"
xdotool keyup ctrl key Escape
wait_for 10 game_gone || fail "the game did not end after Esc"

# The passes of the whole run, scaled to the measured span.
total=$(sed -n 's/^Demo saved to .* (\([0-9]*\) passes).*/\1/p' "$WORK/game.log" | head -n 1)
path=$(sed -n 's/^sdl: presenting \(.*\)$/\1/p' "$WORK/game.log" | head -n 1)
hz=$(ticks_per_second)
python3 - "$took" "$((game1 - game0))" "$((x1 - x0))" "$hz" "${total:-0}" "${path:-unknown}" <<'PY'
import json, sys
took_ns, game, xserver, hz, total, path = sys.argv[1:]
seconds = int(took_ns) / 1e9
print(json.dumps({"seconds": round(seconds, 3), "passes": round(seconds * 60),
                  "game_passes_total": int(total), "game_s": int(game) / int(hz),
                  "xserver_s": int(xserver) / int(hz), "path": path}))
PY
