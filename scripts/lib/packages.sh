# Debian packages the scripts need, and the helper that installs the missing ones.
# shellcheck shell=bash

TEST_PACKAGES=(cmake make g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev dpkg-dev)
PLAY_PACKAGES=(cmake make g++ pkg-config libpng-dev libsdl2-dev)
TEST_PACKAGES+=(libpng-dev) # sheetgen writes review PNGs
TEST_PACKAGES+=(libsdl2-dev xvfb xauth xdotool imagemagick x11-utils xfonts-base python3) # the SDL host, its smoke test and the game end to end
TEST_PACKAGES+=(openbox twm wmctrl procps) # the game end to end under real window managers, and its endings
BENCH_PACKAGES=(cmake make g++ pkg-config libbenchmark-dev libsdl2-dev libpng-dev python3) # scripts/bench; python3 prints its table
BENCH_PACKAGES+=(xvfb xauth xdotool x11-utils libgl1-mesa-dri) # scripts/bench plays the desktop game on Xvfb (OpenGL on llvmpipe)
WINDOWS_PACKAGES=(cmake make g++ pkg-config libpng-dev g++-mingw-w64-i686 zip) # scripts/build-windows
WEB_PACKAGES=(cmake make g++ pkg-config libpng-dev emscripten binaryen nodejs python3) # scripts/web
BROWSER_PACKAGES=(chromium firefox-esr) # scripts/test's browser layer: the page in both engines
# xxHash's header: content and screen hashes, in every configuration of the project.
TEST_PACKAGES+=(libxxhash-dev) PLAY_PACKAGES+=(libxxhash-dev) BENCH_PACKAGES+=(libxxhash-dev)
WINDOWS_PACKAGES+=(libxxhash-dev) WEB_PACKAGES+=(libxxhash-dev)

# scripts/test-wine, beside WINDOWS_PACKAGES: the Windows build under Wine
# (32-bit, so i386 first: ensure_i386) on an 8-bit Xvfb with openbox, and
# GoogleTest's sources to build for Windows.
WINE_PACKAGES=(wine wine32 openbox wmctrl xvfb xauth xdotool imagemagick x11-utils unzip python3 googletest)

# When the package registry itself fails (an index or archive that cannot
# be fetched), ensure_packages exits with this status after saying so; the
# layers of scripts/test report it as "not run: package registry".
QV_REGISTRY_STATUS=75

# ensure_packages PKG...: installs the packages that are not installed yet.
# As root it runs apt-get; otherwise it prints the command to run and stops.
# `apt-get update` is tried three times with growing pauses
# (QV_APT_RETRY_PAUSE seconds, then twice that); when it still fails the
# install is tried all the same, since the lists that did update may hold
# every package asked for. An install that then fails because of the
# registry exits with QV_REGISTRY_STATUS, apt's error line on stderr and in
# the file QV_REGISTRY_NOTE names (when set); any other failure exits 1.
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
    local update_error="" out try
    for try in 1 2 3; do
        if out=$(apt-get update -qq 2>&1) && ! apt_registry_error "$out" >/dev/null; then
            update_error=""
            break
        fi
        update_error=$(apt_registry_error "$out") || update_error=$(printf '%s\n' "$out" | grep -m1 -E '^(E|W):' || true)
        [ -n "$update_error" ] || update_error="apt-get update failed"
        echo "apt-get update failed (try $try of 3): $update_error" >&2
        if [ "$try" -lt 3 ]; then sleep $(( ${QV_APT_RETRY_PAUSE:-10} * try )); fi
    done
    if out=$(apt-get install -y -qq --no-install-recommends "${missing[@]}" 2>&1); then
        [ -z "$update_error" ] || echo "Installed all the same from the lists that did update." >&2
        return 0
    fi
    printf '%s\n' "$out" >&2
    local install_error
    if install_error=$(apt_registry_error "$out") || [ -n "$update_error" ]; then
        local line=${install_error:-$update_error}
        echo "not run: package registry: $line" >&2
        [ -z "${QV_REGISTRY_NOTE:-}" ] || printf '%s\n' "$line" >"$QV_REGISTRY_NOTE"
        exit "$QV_REGISTRY_STATUS"
    fi
    echo "apt-get install ${missing[*]} failed" >&2
    exit 1
}

# apt_registry_error OUTPUT: prints the first line of apt's OUTPUT that says
# the registry could not be reached or served a bad file, and succeeds;
# fails when there is none.
apt_registry_error() {
    printf '%s\n' "$1" | grep -m1 -E "Failed to fetch|Unable to fetch|Could not resolve|Temporary failure resolving|unexpected size|Hash Sum mismatch|Mirror sync in progress|Connection failed|Could not connect|Unable to connect|Some index files failed"
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
