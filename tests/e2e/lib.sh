# Helpers of the desktop game's end-to-end scripts (sourced), on top of the
# X11 tests' own (tests/support/x11_lib.sh): the game started and stopped by
# process id, its window and boxes, screenshots and pixels, CPU time.
# shellcheck shell=bash
# shellcheck source=../support/x11_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/x11_lib.sh"

# absolute PATH: PATH from the root (the game is started from other folders).
absolute() { echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; }

# ---- The game --------------------------------------------------------------------------

# start_game GAME [FOLDER]: runs GAME from FOLDER (default: the work folder)
# with stderr in $WORK/game.log; sets GAME_PID.
start_game() {
    local folder=${2:-$WORK}
    (cd "$folder" && exec "$1" 2>"$WORK/game.log") &
    GAME_PID=$!
    x11_track "$GAME_PID"
}

game_gone() { ! kill -0 "$GAME_PID" 2>/dev/null; }

# game_status: waits for the game to end and prints its exit status.
game_status() {
    local status
    wait "$GAME_PID"
    status=$?
    echo "$status"
}

# cpu_ticks PID: the process's user and system time so far, in clock ticks;
# empty once it is gone.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null; }
ticks_per_second() { getconf CLK_TCK; }

# game_window: the id of the game's window (its title is the class name).
game_window() { xdotool search --name '^Quorvanteledix$' 2>/dev/null | head -n 1; }

# find_box CAPTION: sets BOX to the id of the message box with that title.
find_box() { BOX=$(window_named "$1") && [ -n "$BOX" ]; }

# ---- Pictures --------------------------------------------------------------------------

shoot() { import -display "$DISPLAY" -window root "$1" 2>/dev/null; }
# same_region A B WxH+X+Y: the two pictures agree inside the rectangle.
same_region() {
    convert "$1" -crop "$3" +repage "$WORK/region_a.png" &&
        convert "$2" -crop "$3" +repage "$WORK/region_b.png" &&
        same_pictures "$WORK/region_a.png" "$WORK/region_b.png"
}

# game_geometry WINDOW: where the game's 640 x 480 picture lies on the
# screen: GX, GY (its top-left pixel) and GS (the whole scale).
game_geometry() {
    local info x y w h
    info=$(xwininfo -id "$1") || return 1
    x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
    y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
    w=$(awk '/Width:/ {print $2}' <<<"$info")
    h=$(awk '/Height:/ {print $2}' <<<"$info")
    GS=$((w / 640 < h / 480 ? w / 640 : h / 480))
    [ "$GS" -ge 1 ] || return 1
    GX=$((x + (w - 640 * GS) / 2))
    GY=$((y + (h - 480 * GS) / 2))
}

# screen_shows IMAGE X Y SHEET SX SY: the screen shows game pixel (X, Y)
# in the colour of pixel (SX, SY) of the sheet (after game_geometry).
screen_shows() {
    [ "$(pixel "$1" $((GX + GS * $2)) $((GY + GS * $3)))" = "$(pixel "$4" "$5" "$6")" ]
}

# shows_play IMAGE SHEET: the background (near the bottom-right corner,
# away from any other window the scripts open top left) and the ship where
# play starts it (after game_geometry).
shows_play() { screen_shows "$1" 630 470 "$2" 630 470 && ship_at_start "$1"; }
