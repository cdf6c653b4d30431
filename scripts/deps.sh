# Installs the Debian packages that are missing (sourced by the other scripts).
# Usage: need_packages pkg...
need_packages() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}" >&2
    $sudo apt-get update -qq >/dev/null
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

BUILD_PACKAGES=(g++ cmake make qt6-base-dev libgl-dev fonts-urw-base35 fonts-dejavu-core)
# The fuzzers are built with clang and its sanitizer runtime.
FUZZ_PACKAGES=(clang libclang-rt-dev)
# The tests also run the real program on a private X server with a window manager, and through
# a private accessibility bus as a screen reader would (session bus, bus launcher, the Python
# client); they read the limit under a decimal-comma locale they compile from the locales
# package if need be; the benchmark compares some cases with primesieve (it installs nothing
# itself).
TEST_PACKAGES=(xvfb xauth openbox xdotool dbus-daemon at-spi2-core python3-pyatspi locales
    primesieve-bin)
# The Debian package: build (dpkg-shlibdeps, file, rsvg-convert for the PNG icons) and checks.
PACKAGE_PACKAGES=(dpkg-dev file librsvg2-bin)
PACKAGE_CHECK_PACKAGES=(lintian desktop-file-utils appstream)
TEST_LOCALES=(es_ES.UTF-8 de_DE.UTF-8 en_US.UTF-8)

# Compiles the locales that are missing (needs the locales package).
# Usage: need_locales name.UTF-8...
need_locales() {
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    for l in "$@"; do
        locale -a 2>/dev/null | grep -qix "${l%%.*}.utf8" && continue
        echo "Compiling locale: $l" >&2
        $sudo localedef -i "${l%%.*}" -f UTF-8 "$l"
    done
}
