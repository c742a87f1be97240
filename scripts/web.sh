#!/usr/bin/env bash
# The game in a browser page: installs what is missing, builds the Linux tree
# (its picture file, icon and table of settings go into the page), fetches and checks Allegro's
# source, builds it once for the web with the project's platform layer
# (allegro/web) and its patch, and builds the game with em++ into
# build-web/site/, a folder any static web host serves.
# --test then plays the page in headless Chromium (tests/web/browserTest.sh).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
OUT="$ROOT/build-web"
ALLEGRO_PATCH="$ROOT/allegro/patches/allegro-4.4.3.1-web.patch"
PLATFORM="$ROOT/allegro/web"
TOOLCHAIN=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake

# This machine's node is not Debian's and does not look in Debian's module
# folder, where emscripten's JavaScript tools find their modules.
export NODE_PATH=/usr/share/nodejs

log() {
    echo "== $* ($SECONDS s)"
}

die() {
    echo "web.sh: $*" >&2
    exit 1
}

source "$ROOT/scripts/packages.sh"
source "$ROOT/scripts/allegroSource.sh"

copy_web_platform() {
    mkdir -p "$1/src/web"
    cp "$PLATFORM"/* "$1/src/web/"
}

# Allegro with the web platform, built once for each version of the patch and
# the platform's sources; prints where it is installed. Every driver of the
# Unix platform is off: the web platform brings its own. Emscripten's C
# library holds what librt holds elsewhere.
build_allegro() {
    local key
    key=$(cat "$ALLEGRO_PATCH" "$PLATFORM"/* | sha256sum | cut -c1-12)
    build_patched_allegro "$key" "building Allegro for the web" copy_web_platform \
        -DWANT_X11=OFF -DWANT_LINUX_CONSOLE=OFF -DWANT_OSS=OFF -DWANT_ALSA=OFF \
        -DWANT_JACK=OFF -DWANT_SGIAUDIO=OFF -DWANT_MODULES=OFF -DRT_LIBRARY=c
}

build_site() {
    log "building the page"
    (cd "$ROOT" && BROX_WEB_ALLEGRO="$1" cmake --preset web >/dev/null)
    cmake --build --preset web -j 2
}

main() {
    local test=false
    case "${1:-}" in
        "") ;;
        --test) test=true ;;
        *) die "usage: web.sh [--test]" ;;
    esac
    install_missing_packages "${GAME_PACKAGES[@]}" emscripten chromium
    log "the Linux build"
    bash "$ROOT/scripts/setup.sh" play
    # The page's settings form reads the game's table of settings.
    cmake --build "$ROOT/build" --target configdoc >/dev/null
    mkdir -p "$OUT"
    fetch_allegro_source "$OUT/apt"
    local allegro
    allegro=$(build_allegro)
    build_site "$allegro"
    log "done: $OUT/site ($(du -sh "$OUT/site" | cut -f1))"
    if $test; then
        bash "$ROOT/tests/web/browserTest.sh" "$OUT/site" "$OUT/screenshots"
        log "browser test passed"
    fi
}

main "$@"
