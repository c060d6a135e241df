#!/usr/bin/env bash
# Inspects a Debian package of the game: the files are in place, the runtime
# libraries are declared, and the installed tree runs the headless runner to
# its first trace line from an unrelated folder.
#   check_deb.sh PACKAGE.deb
set -u
deb=${1:?usage: check_deb.sh PACKAGE.deb}
work=$(mktemp -d /tmp/check_deb.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

contents=$(dpkg-deb -c "$deb") || fail "dpkg-deb cannot read $deb"
for file in ./usr/bin/quorvanteledix ./usr/bin/quorvanteledix-headless \
    ./usr/share/quorvanteledix/city2.bmp ./usr/share/quorvanteledix/quorvanteledix-icon.rgba \
    ./usr/share/applications/quorvanteledix.desktop \
    ./usr/share/icons/hicolor/128x128/apps/quorvanteledix.png; do
    grep -q " $file\$" <<<"$contents" || fail "$file is not in the package"
done
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libsdl2 libpng; do
    grep -q "$lib" <<<"$depends" || fail "Depends does not name $lib: $depends"
done
[ "$(dpkg-deb -f "$deb" Package)" = quorvanteledix ] || fail "wrong package name"

dpkg-deb -x "$deb" "$work/root" || fail "cannot unpack"
grep -q '^Exec=quorvanteledix$' "$work/root/usr/share/applications/quorvanteledix.desktop" || fail "desktop entry"
mkdir "$work/elsewhere"
first=$(cd "$work/elsewhere" && "$work/root/usr/bin/quorvanteledix-headless" --frames 1 --trace - 2>"$work/err" | head -n 1)
case "$first" in
    '{"frame":1,"state":0,'*) ;;
    *) cat "$work/err"; fail "the installed runner gave no first trace line: $first" ;;
esac

# A demo replays from a folder without city2.bmp: its sheet check finds the
# installed sheet as the game's OpenFile does. The seed demo names a made-up
# sheet, so the refusal must name the installed one; the same demo made for
# that sheet then plays to its end.
seed=$(dirname "$0")/../fuzz/demo_corpus/idle.demo
runner=$work/root/usr/bin/quorvanteledix-headless
sheet_size=$(stat -c %s "$work/root/usr/share/quorvanteledix/city2.bmp")
(cd "$work/elsewhere" && "$runner" --demo "$(realpath "$seed")" --trace /dev/null) 2>"$work/err"
sheet_hash=$(sed -n "s/.*this city2.bmp has hash \([0-9a-f]\{16\}\) ($sheet_size bytes)\$/\1/p" "$work/err")
[ -n "$sheet_hash" ] || fail "the installed runner did not check the demo against the installed sheet: $(cat "$work/err")"
# HEX -> its bytes, lowest first, as the demo header keeps numbers.
little_endian() {
    local hex=$1 bytes=
    while [ -n "$hex" ]; do bytes="\\x${hex:0:2}$bytes"; hex=${hex:2}; done
    printf "$bytes"
}
{ head -c 12 "$seed"; little_endian "$sheet_hash"; little_endian "$(printf %08x "$sheet_size")"; tail -c +25 "$seed"; } \
    >"$work/elsewhere/game.demo"
(cd "$work/elsewhere" && "$runner" --demo game.demo --trace "$work/trace") 2>"$work/err" ||
    { cat "$work/err"; fail "the installed runner did not replay game.demo from $work/elsewhere"; }
passes=$(wc -l <"$work/trace")
recorded=$(od -An -tu4 -j24 -N4 "$seed" | tr -d ' ') # the header's count of passes
[ "$passes" = "$recorded" ] || fail "the replay of game.demo traced $passes passes of $recorded"

echo "PASS: files in place, depends on: $depends; installed runner: ${first:0:60}...; game.demo replayed from a folder without city2.bmp ($passes passes)"
