#!/usr/bin/env bash
# Shared set-up of play.sh and test.sh: installs the Debian packages that are
# missing, configures and builds, and lays out the run folder the game starts
# in. "play" builds only the game, its settings and its data; "test" (the default)
# builds everything: game, tools and tests.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build"
RUN="$ROOT/run"

source "$ROOT/scripts/packages.sh"

build() {
    (cd "$ROOT" && cmake --preset default >/dev/null)
    cmake --build "$BUILD" -j "$(nproc)" "$@"
}

prepare_run_folder() {
    mkdir -p "$RUN"
    cp "$BUILD/picData.dat" "$BUILD/sndData.dat" "$RUN/"
    # The player's own configuration is never overwritten.
    [ -f "$RUN/broxConfig.txt" ] || cp "$ROOT/broxConfig.txt" "$RUN/broxConfig.txt"
}

if [ "${1:-test}" = play ]; then
    install_missing_packages "${GAME_PACKAGES[@]}"
    build --target brox brox-settings picdata snddata
else
    install_missing_packages "${GAME_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
    build
fi
prepare_run_folder
