#!/usr/bin/env bash
# Smoke test of the SDL host: runs the sdl_smoke program (argument 1) on a
# virtual X server, checks that the screen shows its red frame, types keys
# at it and checks what its window procedure received and how it exited.
# Exit status: 0 passed, 1 failed, 77 skipped (a tool is missing).
# The screenshot is kept as sdl_smoke_screen.png in the current folder.
set -u

program=${1:?usage: sdl_smoke.sh PROGRAM}
source "$(dirname "$0")/../../support/x11_lib.sh"
x11_require Xvfb xdotool import convert xdpyinfo
x11_begin sdl_smoke
shot=$PWD/sdl_smoke_screen.png

output_has() { grep -qx "$1" "$WORK/out.log"; }
program_gone() { ! kill -0 "$program_pid" 2>/dev/null; }

pixel_at() { pixel "$shot" "$1" "$2"; }
centre_is_red() {
    import -display "$DISPLAY" -window root "$shot" 2>/dev/null && [ "$(pixel_at 640 480)" = "255 0 0" ]
}

start_xvfb

# Under AddressSanitizer, leak checking is off for this program alone: the
# system libraries beneath SDL (D-Bus, Mesa) keep memory until exit, some of
# it allocated by modules already unloaded, which no suppression can name.
# Memory errors are still caught; the platform's leaks are checked by the
# headless tests.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" "$program" >"$WORK/out.log" 2>"$WORK/err.log" &
program_pid=$!
x11_track "$program_pid"
wait_for 20 output_has READY || fail "the program never printed READY"

wait_for 5 centre_is_red || fail "the centre of the screen is $(pixel_at 640 480), not red (255 0 0)"
# The display fills the desktop: 640 x 480 at twice its size covers 1280 x 960.
for corner in "0 0" "1279 0" "0 959" "1279 959"; do
    # shellcheck disable=SC2086 # the corner is two arguments
    [ "$(pixel_at $corner)" = "255 0 0" ] || fail "the screen corner ($corner) is $(pixel_at $corner), not red"
done
echo "the red frame fills the screen; screenshot: $shot"

window=$(xdotool search --sync --name '^sdl smoke$' | head -n 1)
[ -n "$window" ] || fail "no window named 'sdl smoke'"
xdotool windowfocus --sync "$window" || fail "cannot focus the window"

xdotool key Left
wait_for 10 output_has "WM_KEYDOWN 25" || fail "Left did not arrive as WM_KEYDOWN 25"
xdotool key Escape
wait_for 10 output_has "WM_KEYDOWN 1B" || fail "Escape did not arrive as WM_KEYDOWN 1B"
wait_for 10 program_gone || fail "the program did not exit after Escape"
wait "$program_pid"
status=$?
[ "$status" -eq 0 ] || fail "the program exited with status $status"
echo "PASS: red frame shown, keys delivered, clean exit"
