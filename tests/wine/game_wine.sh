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
zip=${1:?usage: game_wine.sh ZIP PROBE_EXE}
probe=${2:?usage: game_wine.sh ZIP PROBE_EXE}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_lib.sh"
wine_need unzip

mkdir "$work/game"
unzip -q "$zip" -d "$work/game" || fail "cannot unpack $zip"
sheet=$work/game/city2.bmp
[ -f "$work/game/quorvanteledix.exe" ] && [ -f "$sheet" ] || fail "$zip lacks the game or its sheet"

# How each colour of the sheet shows on this screen: table entry i -> shown i.
"$here/palette_probe.sh" "$probe" "$sheet" "$work/shown" >"$work/probe.log" 2>&1 ||
    fail "palette_probe.sh could not map the sheet's colours: $(tail -n 1 "$work/probe.log")"
tail -n 1 "$work/probe.log"
python3 "$here/colours.py" table "$sheet" | paste -d: - "$work/shown" >"$work/colour_map"
# shows SX SY: the colour sheet pixel (SX, SY) shows on screen.
shows() {
    local colour
    colour=$(pixel "$sheet" "$1" "$2")
    awk -F: -v c="$colour" '$1 == c {print $2; exit}' "$work/colour_map"
}
window_shows() { [ "$(pixel "$1" "$2" "$3")" = "$(shows "$4" "$5")" ]; }

start_screen openbox

# The ship sprite starts at (151, 581) of the sheet and the ship at
# (320, 240) of the screen. A pixel of it that is not transparent and shows
# differently from the background behind it tells that the ship is there.
key=$(shows 1 500)
for offset in "20 14" "18 12" "24 15" "10 14" "30 10" "16 20" "8 8"; do
    set -- $offset
    ship=$(shows $((151 + $1)) $((581 + $2)))
    if [ "$(pixel "$sheet" $((151 + $1)) $((581 + $2)))" != "$(pixel "$sheet" 1 500)" ] &&
        [ "$ship" != "$(shows $((320 + $1)) $((240 + $2)))" ] && [ "$ship" != "$key" ]; then
        ship_dx=$1 ship_dy=$2
        break
    fi
done
[ -n "${ship_dx:-}" ] || fail "no ship pixel that shows apart from the background"
ship_at_start() { window_shows "$1" $((320 + ship_dx)) $((240 + ship_dy)) $((151 + ship_dx)) $((581 + ship_dy)); }

# ---- Play: started from another folder, it finds the sheet beside itself.
(cd "$work" && exec wine "$work/game/quorvanteledix.exe" >"$work/game.log" 2>&1) &
app_pid=$!
find_game() { game_window=$(window_named Quorvanteledix); [ -n "$game_window" ]; }
wait_for 60 find_game || fail "no window named Quorvanteledix"
started() { capture "$game_window" "$work/a.png" && window_shows "$work/a.png" 5 5 5 5 && ship_at_start "$work/a.png"; }
wait_for 30 started || fail "the game window never showed the background and the ship"
cp "$work/a.png" "$PWD/wine_game_start.png"
echo "background and ship in the game window: $PWD/wine_game_start.png"

xdotool windowactivate --sync "$game_window" >/dev/null 2>&1 || xdotool windowfocus --sync "$game_window"
xdotool keydown Right; sleep 0.4; xdotool keyup Right
moved() { capture "$game_window" "$work/b.png" && ! ship_at_start "$work/b.png"; }
wait_for 5 moved || fail "the ship did not move away from (320, 240) with Right held"
echo "Right moved the ship"

xdotool key p
sleep 0.3
capture "$game_window" "$work/c.png"; sleep 0.5; capture "$game_window" "$work/d.png"
same_pictures "$work/c.png" "$work/d.png" || fail "the picture still changes after P"
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
    capture "$game_window" "$work/e.png" && sleep 0.3 && capture "$game_window" "$work/f.png" &&
        ! same_pictures "$work/e.png" "$work/f.png"
}
wait_for 10 playing || fail "play did not resume after switching back"
# Every sprite is drawn from the sheet surface; after the switch the game
# restores it. The player's ship is always on screen: it must be found.
python3 "$here/colours.py" find "$work/f.png" "$sheet" "$work/colour_map" 151 581 192 610 >"$work/ship_at" ||
    fail "no ship in the game window after switching back (sprites lost)"
window_shows "$work/f.png" 5 5 5 5 || fail "the background is gone after switching back"
cp "$work/f.png" "$PWD/wine_game_restored.png"
echo "switching back resumed play with the ship at $(cat "$work/ship_at"): $PWD/wine_game_restored.png"

xdotool key Escape
game_gone() { ! kill -0 "$app_pid" 2>/dev/null; }
wait_for 10 game_gone || fail "the game did not end after Esc"
wait "$app_pid"; status=$?; app_pid=
[ "$status" -eq 0 ] || fail "the game ended with status $status after Esc"
echo "Esc ended the game with status 0"

# ---- The sheet missing: the game alone in a folder of its own.
mkdir "$work/alone" && cp "$work/game/quorvanteledix.exe" "$work/alone/"
(cd "$work/alone" && WINEDEBUG=-all,trace+msgbox exec wine quorvanteledix.exe >"$work/box.log" 2>&1) &
app_pid=$!
find_box() { box=$(window_named Error); [ -n "$box" ]; }
wait_for 30 find_box || fail "no message box captioned Error appeared"
# Wine's message box traces its text as it lays the box out.
box_says() { grep -q 'MSGBOX_OnInit L"CDib\* Read BMP Failed"' "$work/box.log"; }
wait_for 5 box_says || fail "the Error box does not say 'CDib* Read BMP Failed'"
capture "$box" "$PWD/wine_game_error.png"
xdotool windowactivate --sync "$box" >/dev/null 2>&1 || xdotool windowfocus --sync "$box"
xdotool key Return
wait_for 10 game_gone || fail "the game did not end after OK"
wait "$app_pid"; status=$?; app_pid=
[ "$status" -eq 0 ] || fail "the game ended with status $status after OK"
echo "PASS: plays, moves, pauses, minimizes and resumes, quits; missing sheet reported and dismissed"
