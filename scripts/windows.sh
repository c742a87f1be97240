#!/usr/bin/env bash
# The game for 64-bit Windows: installs what is missing, builds the Linux
# tree (its picture file goes into the zip), fetches and checks Allegro's
# source, patches it and builds it once, cross-builds the game and its tests,
# writes build-windows/brox-<version>-windows-x64.zip, then runs the tests
# and the game from the zip under Wine on Xvfb.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
HERE="$ROOT/packaging/windows"
OUT="$ROOT/build-windows"
GAME_BUILD="$OUT/game"
TOOLCHAIN="$HERE/mingw64.cmake"
ALLEGRO_PATCH="$ROOT/allegro/patches/allegro-4.4.3.1-windows.patch"

export WINEPREFIX="$OUT/wineprefix"
export WINEDEBUG=-all
# No prompt to install Wine's .NET and HTML engines, which nothing here uses.
export WINEDLLOVERRIDES="mscoree,mshtml="

log() {
    echo "== $* ($SECONDS s)"
}

die() {
    echo "windows.sh: $*" >&2
    exit 1
}

source "$ROOT/scripts/allegroSource.sh"

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_windows_packages() {
    local packages="mingw-w64 wine wine64 zip unzip xvfb xdotool imagemagick"
    # dpkg -s fails when any of them is missing.
    dpkg -s $packages >/dev/null 2>&1 && return 0
    log "installing $packages"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $packages >/dev/null
}

# The patched static library, built once for each version of the patch and
# the toolchain file; prints where it is installed.
build_allegro() {
    local key
    key=$(cat "$ALLEGRO_PATCH" "$TOOLCHAIN" | sha256sum | cut -c1-12)
    build_patched_allegro "$key" "building the patched Allegro" true
}

build_game() {
    log "cross-building the game and its tests"
    (cd "$ROOT" && BROX_WINDOWS_ALLEGRO="$1" cmake --preset windows >/dev/null)
    cmake --build "$GAME_BUILD" -j 2
}

project_version() {
    sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$GAME_BUILD/CMakeCache.txt"
}

# brox-<version>/ in the zip: the game and its settings program, its data files, the configuration
# that opens the 800 x 600 window and the players' README, with Windows
# line ends.
package_zip() {
    local name="brox-$(project_version)"
    local stage="$OUT/stage/$name"
    log "packing $name-windows-x64.zip"
    rm -rf "$OUT/stage" "$OUT/$name-windows-x64.zip"
    mkdir -p "$stage"
    # Without its symbol table the game is half the size.
    x86_64-w64-mingw32-strip -o "$stage/brox.exe" "$GAME_BUILD/brox.exe"
    x86_64-w64-mingw32-strip -o "$stage/brox-settings.exe" "$GAME_BUILD/brox-settings.exe"
    cp "$ROOT/build/picData.dat" "$stage/"
    # Once the Linux build makes the sounds, they ship too.
    [ ! -f "$ROOT/build/sndData.dat" ] || cp "$ROOT/build/sndData.dat" "$stage/"
    sed 's/$/\r/' "$ROOT/broxConfig.txt" >"$stage/broxConfig.txt"
    sed 's/$/\r/' "$HERE/README.txt" >"$stage/README.txt"
    (cd "$OUT/stage" && zip -q -r "$OUT/$name-windows-x64.zip" "$name")
    rm -rf "$OUT/stage"
}

remove_wine_prefix() {
    timeout 30 wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
}

# The headless tests and the real game from the unpacked zip, under Wine.
check_under_wine() {
    local zip="$OUT/brox-$(project_version)-windows-x64.zip"
    trap remove_wine_prefix EXIT
    remove_wine_prefix
    log "starting a Wine prefix"
    timeout 300 wine wineboot --init >"$OUT/wineboot.log" 2>&1 ||
        { cat "$OUT/wineboot.log" >&2; die "Wine could not set up its prefix"; }
    # Xvfb has no GPU: Wine's DirectDraw on software OpenGL would keep both
    # cores busy, its GDI renderer draws the same for a fraction of that.
    timeout 60 wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /t REG_SZ /d gdi /f \
        >/dev/null 2>&1 || die "Wine's renderer could not be set"
    log "the headless tests under Wine"
    (cd "$GAME_BUILD" && ctest --output-on-failure --verbose)
    log "the game from the zip under Wine"
    rm -rf "$OUT/unpacked" "$OUT/screenshots"
    unzip -q "$zip" -d "$OUT/unpacked"
    bash "$ROOT/tests/wine/wineSmokeTest.sh" "$OUT/unpacked/brox-$(project_version)" "$OUT/screenshots"
}

main() {
    install_windows_packages
    log "the Linux build"
    bash "$ROOT/scripts/setup.sh"
    mkdir -p "$OUT"
    fetch_allegro_source "$OUT/apt"
    local allegro
    allegro=$(build_allegro)
    build_game "$allegro"
    package_zip
    check_under_wine
    log "done: $OUT/brox-$(project_version)-windows-x64.zip"
}

main "$@"
