# The Debian packages the scripts need, and a function that installs the
# ones that are missing. Sourced by setup.sh and package.sh.

GAME_PACKAGES=(g++ cmake make pkg-config liballegro4-dev libstb-dev)
TEST_PACKAGES=(libgtest-dev xvfb xdotool imagemagick x11-apps x11-utils python3-xlib libbenchmark-dev
               clang libclang-rt-14-dev clang-format openbox)

install_missing_packages() {
    local missing=()
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
}
