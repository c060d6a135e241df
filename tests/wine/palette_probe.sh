#!/usr/bin/env bash
# Shows 256 palette entries the documented way with palette_probe.exe
# (argument 1) under Wine on an 8-bit virtual screen and reads back the
# colour each index shows in a capture of the window.
#   palette_probe.sh PROBE_EXE           checks the probe's own 256 colours
#   palette_probe.sh PROBE_EXE BMP OUT   writes to OUT the colour each entry of
#                                        the BMP's colour table shows, one
#                                        "R G B" a line (the game test's map)
# Wine 8 departs here: every entry shows as the nearest of the 20 static
# system colours (docs/wine-departures.md). This test passes when the
# entries show as set, or as static colours, and names which; anything else
# fails.
probe=${1:?usage: palette_probe.sh PROBE_EXE [BMP OUT]}
bmp=${2:-}
out=${3:-}
here=$(dirname "$0")
source "$here/wine_lib.sh"
start_screen openbox

# Started from its own folder, with a Windows path to the BMP beside it.
cp "$probe" "$WORK/probe.exe"
[ -n "$bmp" ] && cp "$bmp" "$WORK/palette.bmp"
(cd "$WORK" && exec wine probe.exe ${bmp:+palette.bmp} >"$WORK/probe.log" 2>&1) &
app_pid=$!
x11_track "$app_pid"
find_probe() { probe_window=$(window_named PaletteProbe); [ -n "$probe_window" ]; }
wait_for 60 find_probe || fail "no PaletteProbe window"
sleep 1.5 # a few flips
capture "$probe_window" "$WORK/probe.png" || fail "cannot capture the probe's window"
x11_stop "$app_pid"
python3 "$here/colours.py" cells "$WORK/probe.png" >"$WORK/shown" || fail "cannot read the capture"
if [ -n "$bmp" ]; then
    python3 "$here/colours.py" table "$bmp" >"$WORK/set" || fail "cannot read the colour table of $bmp"
else
    for i in $(seq 0 255); do echo "$i $((255 - i)) $(((i * 37) & 255))"; done >"$WORK/set"
fi

static="0 0 0|128 0 0|0 128 0|128 128 0|0 0 128|128 0 128|0 128 128|192 192 192|192 220 192|166 202 240"
static="$static|255 251 240|160 160 164|128 128 128|255 0 0|0 255 0|255 255 0|0 0 255|255 0 255|0 255 255|255 255 255"
as_set=$(paste -d: "$WORK/set" "$WORK/shown" | awk -F: '$1 == $2' | wc -l)
as_static=$(grep -cxE "$static" "$WORK/shown")
distinct=$(sort -u "$WORK/shown" | wc -l)
echo "$as_set of 256 entries show as set; $as_static show a static system colour; $distinct distinct colours shown"
[ -n "$out" ] && cp "$WORK/shown" "$out"
if [ "$as_set" -eq 256 ]; then
    echo "PASS: the palette shows as set"
elif [ "$as_static" -eq 256 ]; then
    echo "PASS: Wine departs: the primary's palette never reaches the screen; each entry shows as a static system colour"
else
    fail "entries show neither as set nor as static system colours"
fi
