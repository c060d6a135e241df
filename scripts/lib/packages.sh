# Debian packages the scripts need, and the helper that installs the missing ones.
# shellcheck shell=bash

TEST_PACKAGES=(cmake make g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev dpkg-dev)
PLAY_PACKAGES=(cmake make g++ pkg-config libpng-dev libsdl2-dev)
TEST_PACKAGES+=(libpng-dev) # sheetgen writes review PNGs
TEST_PACKAGES+=(libsdl2-dev xvfb xauth xdotool imagemagick x11-utils xfonts-base python3) # the SDL host, its smoke test and the game end to end
TEST_PACKAGES+=(openbox twm wmctrl procps) # the game end to end under real window managers, and its endings
BENCH_PACKAGES=(cmake make g++ pkg-config libbenchmark-dev libsdl2-dev libpng-dev python3) # scripts/bench; python3 prints its table
WINDOWS_PACKAGES=(cmake make g++ pkg-config libpng-dev g++-mingw-w64-i686 zip) # scripts/build-windows
TEST_PACKAGES+=(g++-mingw-w64-i686 zip) # the Windows cross build
WEB_PACKAGES=(cmake make g++ pkg-config libpng-dev emscripten binaryen nodejs python3) # scripts/web
TEST_PACKAGES+=(emscripten binaryen nodejs chromium) # the browser build, its runner under Node, the page in Chromium
# xxHash's header: content and screen hashes, in every configuration of the project.
TEST_PACKAGES+=(libxxhash-dev) PLAY_PACKAGES+=(libxxhash-dev) BENCH_PACKAGES+=(libxxhash-dev)
WINDOWS_PACKAGES+=(libxxhash-dev) WEB_PACKAGES+=(libxxhash-dev)

# scripts/test-wine, beside WINDOWS_PACKAGES: the Windows build under Wine
# (32-bit, so i386 first: ensure_i386) on an 8-bit Xvfb with openbox, and
# GoogleTest's sources to build for Windows.
WINE_PACKAGES=(wine wine32 openbox wmctrl xvfb xauth xdotool imagemagick x11-utils unzip python3 googletest)

# ensure_packages PKG...: installs the packages that are not installed yet.
# As root it runs apt-get; otherwise it prints the command to run and stops.
ensure_packages() {
    local missing=()
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages. Install them with:" >&2
        echo "  sudo apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# ensure_i386: lets dpkg install i386 packages (Wine's 32-bit half). As root
# it adds the architecture, and the next ensure_packages updates the lists;
# otherwise it prints the command to run and stops.
ensure_i386() {
    dpkg --print-foreign-architectures | grep -qx i386 && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Wine needs i386 packages. Enable them with:" >&2
        echo "  sudo dpkg --add-architecture i386 && sudo apt-get update" >&2
        exit 1
    fi
    echo "Adding the i386 architecture for Wine"
    dpkg --add-architecture i386
}
