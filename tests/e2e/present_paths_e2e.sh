#!/usr/bin/env bash
# Both ways the desktop game (argument 1) shows its frames give the same
# picture: on virtual X servers of 1x, 2x and 3x the game's size, and one
# that leaves black bars, the game runs with QV_PRESENT=gpu and with
# QV_PRESENT=software, is paused, and the screen is captured. The game's own
# PrintScreen of the frame it shows, each pixel grown to a k x k block and
# set on black where the letterbox puts it, must equal the capture pixel
# for pixel, for both paths.
# Exit status: 0 passed, 1 failed, 77 skipped (a tool is missing).
set -u
source "$(dirname "$0")/lib.sh"
game=$(absolute "${1:?usage: present_paths_e2e.sh GAME}")
SHEET_JSON=$(dirname "$game")/city2.json
x11_require Xvfb python3 xdotool xdpyinfo import convert compare
x11_begin present_paths_e2e
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
mkdir -p "$WORK/pictures"
export XDG_PICTURES_DIR=$WORK/pictures

still() {
    shoot "$WORK/still_a.png" && sleep 0.2 && shoot "$WORK/still_b.png" &&
        same_pictures "$WORK/still_a.png" "$WORK/still_b.png"
}
started() { shoot "$WORK/now.png" && ship_at_start "$WORK/now.png"; }
saved() { compgen -G "$WORK/pictures/quorvanteledix-*.png" >/dev/null; }

# check SCREEN PATH: one run of the game on a WxH screen, presenting by PATH.
check() {
    local w=${1%x*} h=${1#*x} path=$2 line
    rm -f "$WORK"/pictures/*
    start_xvfb "${1}x24"
    # Without a window manager the window covers the screen.
    GS=$((w / 640 < h / 480 ? w / 640 : h / 480))
    GX=$(((w - 640 * GS) / 2)) GY=$(((h - 480 * GS) / 2))
    QV_PRESENT=$path start_game "$game" "$(dirname "$game")"
    wait_for 20 started || fail "$1 $path: the screen never showed the ship: $SHIP_SEEN"
    line=$(grep '^sdl: presenting ' "$WORK/game.log")
    [[ $line == "sdl: presenting $path "* ]] || fail "$1 $path: the game says '$line'"
    xdotool key p
    wait_for 5 still || fail "$1 $path: the picture still changes after P"
    shoot "$WORK/capture.png"
    xdotool key Print
    wait_for 10 saved || fail "$1 $path: PrintScreen saved nothing"
    convert -size "${w}x${h}" xc:black \( "$WORK"/pictures/quorvanteledix-*.png -sample "$((100 * GS))%" \) \
        -geometry "+$GX+$GY" -composite -type TrueColor "$WORK/expected.png"
    same_pictures "$WORK/capture.png" "$WORK/expected.png" || {
        cp "$WORK/capture.png" "$PWD/present_${path}_$1.png"
        fail "$1 $path: the screen differs from the frame at ${GS}x in $(compare -metric AE \
            "$WORK/capture.png" "$WORK/expected.png" null: 2>&1) pixels (capture: $PWD/present_${path}_$1.png)"
    }
    xdotool key Escape
    wait_for 10 game_gone || fail "$1 $path: the game did not end after Esc"
    stop_xvfb
    echo "$1, $path: the screen is the frame at ${GS}x, black around it"
}

for screen in 640x480 1280x960 1920x1440 1000x700; do
    for path in gpu software; do
        check "$screen" "$path"
    done
done
echo "PASS: both presentation paths show the frame exactly at 1x, 2x, 3x and with bars"
