#!/usr/bin/env bash
# The Windows game from dist/quorvanteledix-win32.zip (argument 1) under
# Wine, on an 8-bit virtual X screen with openbox, as a person plays it: it
# starts and shows the sheet's background and the ship; an arrow moves the
# ship; P freezes the picture; F12 minimizes and switching back brings play
# back with its sprites; Esc ends it with status 0. Then, with city2.bmp
# missing, the "Error" box says "CDib* Read BMP Failed" and OK ends it.
#
# Wine 8 shows the primary's palette through the 20 static system colours
# (docs/wine-departures.md), so the colour a sheet pixel shows on screen is
# taken from palette_probe.exe (argument 2) showing the sheet's own colour
# table: where Wine shows the palette as set, that is the sheet's colour.
# The sheet's facts (argument 3, city2.json) say where the ship starts.
zip=${1:?usage: game_wine.sh ZIP PROBE_EXE SHEET_JSON}
probe=${2:?usage: game_wine.sh ZIP PROBE_EXE SHEET_JSON}
SHEET_JSON=${3:?usage: game_wine.sh ZIP PROBE_EXE SHEET_JSON}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_lib.sh"
x11_require unzip

mkdir "$WORK/game"
unzip -q "$zip" -d "$WORK/game" || fail "cannot unpack $zip"
sheet=$WORK/game/city2.bmp
[ -f "$WORK/game/quorvanteledix.exe" ] && [ -f "$sheet" ] || fail "$zip lacks the game or its sheet"

# How each colour of the sheet shows on this screen: table entry i -> shown i.
"$here/palette_probe.sh" "$probe" "$sheet" "$WORK/shown" >"$WORK/probe.log" 2>&1 ||
    fail "palette_probe.sh could not map the sheet's colours: $(tail -n 1 "$WORK/probe.log")"
tail -n 1 "$WORK/probe.log"
python3 "$here/colours.py" table "$sheet" | paste -d: - "$WORK/shown" >"$WORK/colour_map"
# shows SX SY: the colour sheet pixel (SX, SY) shows on screen.
shows() {
    local colour
    colour=$(pixel "$sheet" "$1" "$2")
    awk -F: -v c="$colour" '$1 == c {print $2; exit}' "$WORK/colour_map"
}
window_shows() { [ "$(pixel "$1" "$2" "$3")" = "$(shows "$4" "$5")" ]; }

start_screen openbox
ship_shown() { ship_at_start "$1" "$WORK/shown"; }

# ---- Play: started from another folder, it finds the sheet beside itself.
(cd "$WORK" && exec wine "$WORK/game/quorvanteledix.exe" >"$WORK/game.log" 2>&1) &
app_pid=$!
x11_track "$app_pid"
find_game() { game_window=$(window_named Quorvanteledix); [ -n "$game_window" ]; }
wait_for 60 find_game || fail "no window named Quorvanteledix"
started() { capture "$game_window" "$WORK/a.png" && window_shows "$WORK/a.png" 5 5 5 5 && ship_shown "$WORK/a.png"; }
wait_for 30 started || fail "the game window never showed the background and the ship: $SHIP_SEEN"
cp "$WORK/a.png" "$PWD/wine_game_start.png"
echo "background and ship in the game window: $PWD/wine_game_start.png"

xdotool windowactivate --sync "$game_window" >/dev/null 2>&1 || xdotool windowfocus --sync "$game_window"
xdotool keydown Right; sleep 0.4; xdotool keyup Right
moved() { capture "$game_window" "$WORK/b.png" && ! ship_shown "$WORK/b.png"; }
wait_for 5 moved || fail "the ship did not move away from its start with Right held: $SHIP_SEEN"
echo "Right moved the ship"

xdotool key p
sleep 0.3
capture "$game_window" "$WORK/c.png"; sleep 0.5; capture "$game_window" "$WORK/d.png"
same_pictures "$WORK/c.png" "$WORK/d.png" || fail "the picture still changes after P"
echo "P froze the picture"
xdotool key p

# ---- F12 minimizes; switching back resumes play with the sprites drawn.
xdotool key F12
viewable() { xwininfo -id "$game_window" 2>/dev/null | grep -q 'Map State: IsViewable'; }
minimized() { ! viewable; }
wait_for 10 minimized || fail "F12 did not minimize the game window"
echo "F12 minimized the game"
xdotool windowactivate --sync "$game_window" >/dev/null 2>&1 || wmctrl -i -a "$game_window" 2>/dev/null
wait_for 10 viewable || fail "switching back did not bring the game window back"
playing() {
    capture "$game_window" "$WORK/e.png" && sleep 0.3 && capture "$game_window" "$WORK/f.png" &&
        ! same_pictures "$WORK/e.png" "$WORK/f.png"
}
wait_for 10 playing || fail "play did not resume after switching back"
# Every sprite is drawn from the sheet surface; after the switch the game
# restores it. The player's ship is always on screen: it must be found.
python3 "$here/colours.py" find "$WORK/f.png" "$sheet" "$WORK/colour_map" "$SHEET_JSON" player >"$WORK/ship_at" ||
    fail "no ship in the game window after switching back (sprites lost)"
window_shows "$WORK/f.png" 5 5 5 5 || fail "the background is gone after switching back"
cp "$WORK/f.png" "$PWD/wine_game_restored.png"
echo "switching back resumed play with the ship at $(cat "$WORK/ship_at"): $PWD/wine_game_restored.png"

xdotool key Escape
game_gone() { ! kill -0 "$app_pid" 2>/dev/null; }
wait_for 10 game_gone || fail "the game did not end after Esc"
wait "$app_pid"; status=$?
[ "$status" -eq 0 ] || fail "the game ended with status $status after Esc"
echo "Esc ended the game with status 0"

# ---- The sheet missing: the game alone in a folder of its own.
mkdir "$WORK/alone" && cp "$WORK/game/quorvanteledix.exe" "$WORK/alone/"
(cd "$WORK/alone" && WINEDEBUG=-all,trace+msgbox exec wine quorvanteledix.exe >"$WORK/box.log" 2>&1) &
app_pid=$!
x11_track "$app_pid"
find_box() { box=$(window_named Error); [ -n "$box" ]; }
wait_for 30 find_box || fail "no message box captioned Error appeared"
# Wine's message box traces its text as it lays the box out.
box_says() { grep -q 'MSGBOX_OnInit L"CDib\* Read BMP Failed"' "$WORK/box.log"; }
wait_for 5 box_says || fail "the Error box does not say 'CDib* Read BMP Failed'"
capture "$box" "$PWD/wine_game_error.png"
xdotool windowactivate --sync "$box" >/dev/null 2>&1 || xdotool windowfocus --sync "$box"
xdotool key Return
wait_for 10 game_gone || fail "the game did not end after OK"
wait "$app_pid"; status=$?
[ "$status" -eq 0 ] || fail "the game ended with status $status after OK"
echo "PASS: plays, moves, pauses, minimizes and resumes, quits; missing sheet reported and dismissed"
