#!/usr/bin/env bash
# Smoke test of the SDL host: runs the sdl_smoke program (argument 1) on a
# virtual X server, checks that the screen shows its red frame, types keys
# at it and checks what its window procedure received and how it exited.
# Exit status: 0 passed, 1 failed, 77 skipped (a tool is missing).
# The screenshot is kept as sdl_smoke_screen.png in the current folder.
set -u

program=${1:?usage: sdl_smoke.sh PROGRAM}
for tool in Xvfb xdotool import convert xdpyinfo; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done

work=$(mktemp -d /tmp/sdl_smoke.XXXXXX)
shot=$PWD/sdl_smoke_screen.png
xvfb_pid=
program_pid=

cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    echo "--- program stdout"; cat "$work/out" 2>/dev/null
    echo "--- program stderr"; cat "$work/err" 2>/dev/null
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

output_has() { grep -qx "$1" "$work/out"; }
program_gone() { ! kill -0 "$program_pid" 2>/dev/null; }
display_up() { [ -s "$work/display" ] && xdpyinfo -display ":$(cat "$work/display")" >/dev/null 2>&1; }

# "R G B" of one pixel of the screenshot, 0..255 each.
pixel_at() {
    convert "$shot" -format "%[fx:int(255*p{$1,$2}.r+0.5)] %[fx:int(255*p{$1,$2}.g+0.5)] %[fx:int(255*p{$1,$2}.b+0.5)]" info:
}
centre_is_red() {
    import -display "$DISPLAY" -window root "$shot" 2>/dev/null && [ "$(pixel_at 640 480)" = "255 0 0" ]
}

# Xvfb picks a free display number itself and writes it to descriptor 3.
Xvfb -displayfd 3 -screen 0 1280x960x24 -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
wait_for 10 display_up || { cat "$work/xvfb.log"; fail "Xvfb did not start"; }
export DISPLAY=":$(cat "$work/display")"

# Under AddressSanitizer, leak checking is off for this program alone: the
# system libraries beneath SDL (D-Bus, Mesa) keep memory until exit, some of
# it allocated by modules already unloaded, which no suppression can name.
# Memory errors are still caught; the platform's leaks are checked by the
# headless tests.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" "$program" >"$work/out" 2>"$work/err" &
program_pid=$!
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
program_pid=
[ "$status" -eq 0 ] || fail "the program exited with status $status"
echo "PASS: red frame shown, keys delivered, clean exit"
