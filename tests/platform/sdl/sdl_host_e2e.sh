#!/usr/bin/env bash
# The SDL host's window icon and PrintScreen on a virtual X server: runs a
# copy of the sdl_smoke program (argument 1) beside an icon file made here,
# checks the icon the window carries, presses PrintScreen and checks the PNG
# it saves and that the program never saw the key.
# Exit status: 0 passed, 1 failed, 77 skipped (a tool is missing).
set -u

program=${1:?usage: sdl_host_e2e.sh PROGRAM}
source "$(dirname "$0")/../../support/x11_lib.sh"
x11_require Xvfb xdotool xprop identify convert xdpyinfo python3
x11_begin sdl_host_e2e

output_has() { grep -qx "$1" "$WORK/out.log"; }
screenshot_saved() { compgen -G "$WORK/pictures/quorvanteledix-*.png" >/dev/null; }

# The icon: 64 x 64 R,G,B,A, top row opaque (0x12, 0x34, 0x56), the rest
# opaque (0xAB, 0xCD, 0xEF). X11 holds it as 0xAARRGGBB cardinals.
mkdir -p "$WORK/bin" "$WORK/pictures"
cp "$program" "$WORK/bin/app"
python3 -c "
import sys
top = bytes([0x12, 0x34, 0x56, 0xFF]) * 64
rest = bytes([0xAB, 0xCD, 0xEF, 0xFF]) * 64 * 63
sys.stdout.buffer.write(top + rest)" >"$WORK/bin/quorvanteledix-icon.rgba"
top_argb=$((0xFF123456))
rest_argb=$((0xFFABCDEF))

start_xvfb

# Leak checking off for this program alone, as in sdl_smoke.sh: the system
# libraries beneath SDL keep memory until exit.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" XDG_PICTURES_DIR="$WORK/pictures" \
    "$WORK/bin/app" >"$WORK/out.log" 2>"$WORK/err.log" &
program_pid=$!
x11_track "$program_pid"
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
wait_for 10 screenshot_saved || fail "PrintScreen saved nothing in $WORK/pictures"
shots=("$WORK"/pictures/quorvanteledix-*.png)
[ "${#shots[@]}" -eq 1 ] || fail "PrintScreen saved ${#shots[@]} files, not one"
shot=${shots[0]}
grep -qx "Screenshot saved to $shot" "$WORK/err.log" || fail "stderr does not say where the screenshot went"
format=$(identify -format "%w %h %[png:IHDR.bit-depth-orig] %[png:IHDR.color-type-orig]" "$shot")
[ "$format" = "640 480 8 3" ] || fail "the screenshot is '$format', not '640 480 8 3' (8-bit paletted)"
centre=$(pixel "$shot" 320 240)
[ "$centre" = "255 0 0" ] || fail "the screenshot's centre is $centre, not red"
echo "PrintScreen saved $(basename "$shot"): 640 x 480, 8-bit paletted, the red frame"

# The program echoes every WM_KEYDOWN; Escape ends it. PrintScreen (2C) must not show.
xdotool key Escape
wait_for 10 output_has "WM_KEYDOWN 1B" || fail "Escape did not arrive"
wait "$program_pid"
status=$?
grep -q "WM_KEYDOWN 2C" "$WORK/out.log" && fail "PrintScreen reached the program"
[ "$status" -eq 0 ] || fail "the program exited with status $status"
echo "PASS: icon set, screenshot saved, PrintScreen kept from the program"
