# Helpers of the desktop game's end-to-end scripts (sourced): the tools a
# script needs, a work folder, virtual X servers and window managers, the
# game started and stopped by process id, screenshots and pixels, CPU time.
#
# Every process a script starts is recorded with e2e_track and stopped by
# its id when the script ends, whether it passed or failed.
# shellcheck shell=bash

E2E_PIDS=()
E2E_WORK=

# e2e_require TOOL...: exits 77 (skipped) when a tool is missing.
e2e_require() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
    done
}

# e2e_begin NAME: makes the work folder $E2E_WORK and arranges the clean-up.
e2e_begin() {
    E2E_WORK=$(mktemp -d "/tmp/$1.XXXXXX")
    trap e2e_cleanup EXIT
}

e2e_track() { E2E_PIDS+=("$1"); }

# absolute PATH: PATH from the root (the game is started from other folders).
absolute() { echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; }

# Stops every recorded process that is still there, the last started first.
e2e_cleanup() {
    local i
    for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
        kill "${E2E_PIDS[$i]}" 2>/dev/null
    done
    wait 2>/dev/null
    [ -n "$E2E_WORK" ] && rm -rf "$E2E_WORK"
}

fail() {
    echo "FAIL: $*"
    echo "--- game stderr"
    cat "$E2E_WORK/err" 2>/dev/null
    [ -s "$E2E_WORK/xvfb.log" ] && { echo "--- X server $DISPLAY"; tail -n 20 "$E2E_WORK/xvfb.log"; }
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

# ---- X servers and window managers ---------------------------------------------------

# start_xvfb: a virtual 1280 x 960 screen on a free display; sets XVFB_PID
# and exports DISPLAY. -noreset: an X server resets when its last client
# goes (the readiness probe, a game just ended), and refuses connections
# while it does.
start_xvfb() {
    rm -f "$E2E_WORK/display"
    Xvfb -displayfd 3 -screen 0 1280x960x24 -nolisten tcp -noreset 3>"$E2E_WORK/display" >"$E2E_WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    e2e_track "$XVFB_PID"
    wait_for 10 display_up || { cat "$E2E_WORK/xvfb.log"; fail "Xvfb did not start"; }
    DISPLAY=":$(cat "$E2E_WORK/display")"
    export DISPLAY
}
display_up() { [ -s "$E2E_WORK/display" ] && xdpyinfo -display ":$(cat "$E2E_WORK/display")" >/dev/null 2>&1; }

# stop_xvfb: ends the X server, as a session that ends does.
stop_xvfb() {
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
}

# start_wm NAME: openbox, twm or none; sets WM_PID (empty for none) and
# returns once the window manager manages the screen.
start_wm() {
    WM=$1
    WM_PID=
    case "$WM" in
    openbox)
        openbox >"$E2E_WORK/wm.log" 2>&1 &
        WM_PID=$!
        e2e_track "$WM_PID"
        wait_for 10 wmctrl -m >/dev/null 2>&1 || fail "openbox did not start"
        ;;
    twm)
        twm >"$E2E_WORK/wm.log" 2>&1 &
        WM_PID=$!
        e2e_track "$WM_PID"
        wait_for 10 twm_up || fail "twm did not start"
        ;;
    none) ;;
    *) fail "unknown window manager $WM" ;;
    esac
}
twm_up() { xwininfo -root -tree 2>/dev/null | grep -q '"TWM Icon Manager"'; }

# ---- The game --------------------------------------------------------------------------

# start_game GAME [FOLDER]: runs GAME from FOLDER (default: the work folder)
# with stderr in $E2E_WORK/err; sets GAME_PID.
start_game() {
    local folder=${2:-$E2E_WORK}
    (cd "$folder" && exec "$1" 2>"$E2E_WORK/err") &
    GAME_PID=$!
    e2e_track "$GAME_PID"
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
# The box's name is a UTF-8 property, which xdotool's search does not match.
find_box() {
    BOX=$(xwininfo -root -tree | awk -v name="\"$1\":" '$2 == name {print $1; exit}')
    [ -n "$BOX" ]
}

# ---- Pictures --------------------------------------------------------------------------

shoot() { import -display "$DISPLAY" -window root "$1" 2>/dev/null; }
# "R G B" of pixel (x, y) of an image.
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r+0.5)] %[fx:int(255*p{$2,$3}.g+0.5)] %[fx:int(255*p{$2,$3}.b+0.5)]" info:; }
same_pictures() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = "0" ]; }
# same_region A B WxH+X+Y: the two pictures agree inside the rectangle.
same_region() {
    convert "$1" -crop "$3" +repage "$E2E_WORK/region_a.png" &&
        convert "$2" -crop "$3" +repage "$E2E_WORK/region_b.png" &&
        same_pictures "$E2E_WORK/region_a.png" "$E2E_WORK/region_b.png"
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

# find_ship_pixel SHEET: sets SHIP_DX, SHIP_DY to an opaque pixel of the
# ship sprite, which starts at (151, 581) on the sheet.
find_ship_pixel() {
    local key offset
    key=$(pixel "$1" 1 500)
    for offset in "20 14" "18 12" "24 15" "10 14"; do
        set -- "$1" $offset
        if [ "$(pixel "$1" $((151 + $2)) $((581 + $3)))" != "$key" ]; then
            SHIP_DX=$2 SHIP_DY=$3
            return 0
        fi
    done
    return 1
}

# shows_play IMAGE SHEET: the background (near the bottom-right corner,
# away from any other window the scripts open top left) and the ship where
# play starts it, at (320, 240).
shows_play() {
    screen_shows "$1" 630 470 "$2" 630 470 &&
        screen_shows "$1" $((320 + SHIP_DX)) $((240 + SHIP_DY)) "$2" $((151 + SHIP_DX)) $((581 + SHIP_DY))
}
