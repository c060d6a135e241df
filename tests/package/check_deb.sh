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
echo "PASS: files in place, depends on: $depends; installed runner: ${first:0:60}..."
