#!/usr/bin/env bash
# Shared set-up of play.sh and test.sh: installs the Debian packages that are
# missing, configures and builds everything (game, picture file, tests) and
# lays out the run folder the game starts in.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build"
RUN="$ROOT/run"

PACKAGES="g++ cmake make pkg-config liballegro4-dev libgtest-dev xvfb xdotool imagemagick libbenchmark-dev clang libclang-rt-14-dev"

install_missing_packages() {
    local missing=()
    local package
    for package in $PACKAGES; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
}

build_everything() {
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$BUILD" -j "$(nproc)"
}

prepare_run_folder() {
    mkdir -p "$RUN"
    cp "$BUILD/picData.dat" "$RUN/picData.dat"
    # The player's own configuration is never overwritten.
    [ -f "$RUN/broxConfig.txt" ] || cp "$ROOT/broxConfig.txt" "$RUN/broxConfig.txt"
}

install_missing_packages
build_everything
prepare_run_folder
