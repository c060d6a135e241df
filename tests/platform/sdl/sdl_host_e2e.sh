#!/usr/bin/env bash
# The SDL host's window icon and PrintScreen on a virtual X server: runs a
# copy of the sdl_smoke program (argument 1) beside an icon file made here,
# checks the icon the window carries, presses PrintScreen and checks the PNG
# it saves and that the program never saw the key.
# Exit status: 0 passed, 1 failed, 77 skipped (a tool is missing).
set -u

program=${1:?usage: sdl_host_e2e.sh PROGRAM}
for tool in Xvfb xdotool xprop identify convert xdpyinfo python3; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done

work=$(mktemp -d /tmp/sdl_host_e2e.XXXXXX)
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
screenshot_saved() { compgen -G "$work/pictures/quorvanteledix-*.png" >/dev/null; }
display_up() { [ -s "$work/display" ] && xdpyinfo -display ":$(cat "$work/display")" >/dev/null 2>&1; }

# The icon: 64 x 64 R,G,B,A, top row opaque (0x12, 0x34, 0x56), the rest
# opaque (0xAB, 0xCD, 0xEF). X11 holds it as 0xAARRGGBB cardinals.
mkdir -p "$work/bin" "$work/pictures"
cp "$program" "$work/bin/app"
python3 -c "
import sys
top = bytes([0x12, 0x34, 0x56, 0xFF]) * 64
rest = bytes([0xAB, 0xCD, 0xEF, 0xFF]) * 64 * 63
sys.stdout.buffer.write(top + rest)" >"$work/bin/quorvanteledix-icon.rgba"
top_argb=$((0xFF123456))
rest_argb=$((0xFFABCDEF))

Xvfb -displayfd 3 -screen 0 1280x960x24 -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
wait_for 10 display_up || { cat "$work/xvfb.log"; fail "Xvfb did not start"; }
DISPLAY=":$(cat "$work/display")"
export DISPLAY

# Leak checking off for this program alone, as in sdl_smoke.sh: the system
# libraries beneath SDL keep memory until exit.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" XDG_PICTURES_DIR="$work/pictures" \
    "$work/bin/app" >"$work/out" 2>"$work/err" &
program_pid=$!
wait_for 20 output_has READY || fail "the program never printed READY"

window=$(xdotool search --sync --name '^sdl smoke$' | head -n 1)
[ -n "$window" ] || fail "no window named 'sdl smoke': the title must stay the program's own"

# _NET_WM_ICON as numbers: width, height, then one cardinal per pixel.
icon=$(xprop -id "$window" -notype -f _NET_WM_ICON 32c '=$0+\n' _NET_WM_ICON | tr -d ' ' | cut -d= -f2)
IFS=, read -r -a cardinals <<<"$icon"
[ "${#cardinals[@]}" -eq $((2 + 64 * 64)) ] || fail "the window icon has ${#cardinals[@]} numbers, not 2 + 64 x 64"
[ "${cardinals[0]} ${cardinals[1]}" = "64 64" ] || fail "the icon is ${cardinals[0]} x ${cardinals[1]}"
[ "${cardinals[2]}" -eq "$top_argb" ] || fail "the icon's first pixel is ${cardinals[2]}, not $top_argb"
[ "${cardinals[65]}" -eq "$top_argb" ] || fail "the icon's top row ends in ${cardinals[65]}"
[ "${cardinals[66]}" -eq "$rest_argb" ] || fail "the icon's second row starts with ${cardinals[66]}"
echo "the window carries the 64 x 64 icon, bytes in R, G, B, A order"

xdotool windowfocus --sync "$window" || fail "cannot focus the window"
xdotool key Print
wait_for 10 screenshot_saved || fail "PrintScreen saved nothing in $work/pictures"
shots=("$work"/pictures/quorvanteledix-*.png)
[ "${#shots[@]}" -eq 1 ] || fail "PrintScreen saved ${#shots[@]} files, not one"
shot=${shots[0]}
grep -qx "Screenshot saved to $shot" "$work/err" || fail "stderr does not say where the screenshot went"
format=$(identify -format "%w %h %[png:IHDR.bit-depth-orig] %[png:IHDR.color-type-orig]" "$shot")
[ "$format" = "640 480 8 3" ] || fail "the screenshot is '$format', not '640 480 8 3' (8-bit paletted)"
centre=$(convert "$shot" -format "%[fx:int(255*p{320,240}.r+0.5)] %[fx:int(255*p{320,240}.g+0.5)] %[fx:int(255*p{320,240}.b+0.5)]" info:)
[ "$centre" = "255 0 0" ] || fail "the screenshot's centre is $centre, not red"
echo "PrintScreen saved $(basename "$shot"): 640 x 480, 8-bit paletted, the red frame"

# The program echoes every WM_KEYDOWN; Escape ends it. PrintScreen (2C) must not show.
xdotool key Escape
wait_for 10 output_has "WM_KEYDOWN 1B" || fail "Escape did not arrive"
wait "$program_pid"
status=$?
program_pid=
grep -q "WM_KEYDOWN 2C" "$work/out" && fail "PrintScreen reached the program"
[ "$status" -eq 0 ] || fail "the program exited with status $status"
echo "PASS: icon set, screenshot saved, PrintScreen kept from the program"
