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

BUILD_PACKAGES=(g++ cmake make qt6-base-dev libgl-dev fonts-urw-base35 fonts-dejavu-core
    clang libclang-rt-dev)
# The tests also run the real program on a private X server with a window manager; the
# benchmark compares some cases with primesieve (it installs nothing itself).
TEST_PACKAGES=(xvfb xauth openbox xdotool primesieve-bin)
