#!/usr/bin/env bash
# The installed game started the way a player starts it, through its
# launcher: the player's folder is made and keeps the player's edits, the
# settings program beside it changes the file the game then reads, and
# without a home folder the game still starts with the shipped settings.
# Usage: launcherTest.sh LAUNCHER            (an installed game, e.g. /usr/games/brox)
#        launcherTest.sh --install BUILD_DIR (installs the build into a scratch prefix first)
source "$(dirname "$0")/../support/windowLib.sh" "" "" "" || exit 1

if [ "$1" = --install ]; then
    cmake --install "$2" --prefix "$WORK/prefix" >/dev/null || fail "cmake --install failed"
    BROX_BIN="$WORK/prefix/games/brox"
else
    BROX_BIN=$1
fi
SHARED="$(cd "$(dirname "$(readlink -f "$BROX_BIN")")/.." && pwd)/share/games/brox"

window_size() {
    xdotool getwindowgeometry "$WINDOW" | awk '/Geometry/ { print $2 }'
}

play_and_quit() {
    start_game
    wait_for_window
    SIZE=$(window_size)
    tap Escape
    expect_exit_code 0
}

start_display
export HOME="$WORK/home"
unset XDG_CONFIG_HOME
mkdir -p "$HOME"
FOLDER="$HOME/.config/brox"

play_and_quit
# The shipped 640 x 480 window fits this 1024 x 768 display only once.
[ "$SIZE" = 640x480 ] || fail "first start: window $SIZE, expected the shipped 640x480"
cmp -s "$FOLDER/broxConfig.txt" "$SHARED/broxConfig.txt" ||
    fail "the shipped configuration was not copied to $FOLDER"
for data in picData.dat sndData.dat; do
    [ "$(readlink "$FOLDER/$data")" = "$SHARED/$data" ] ||
        fail "$data in $FOLDER does not point at the installed file"
done
echo "first start: $FOLDER holds the configuration and the links to the pictures and sounds"

sed -i 's/^resolution .*/resolution 1024/' "$FOLDER/broxConfig.txt"
cp "$FOLDER/broxConfig.txt" "$WORK/edited.txt"
rm "$FOLDER/picData.dat"
play_and_quit
[ "$SIZE" = 1024x768 ] || fail "the edited resolution 1024 gave a $SIZE window"
cmp -s "$FOLDER/broxConfig.txt" "$WORK/edited.txt" || fail "the edited configuration was overwritten"
[ -L "$FOLDER/picData.dat" ] || fail "the link to the pictures was not laid again"
echo "edited configuration kept and used: $SIZE window"

SETTINGS="$(dirname "$BROX_BIN")/brox-settings"
"$SETTINGS" --set resolution=640 keyUp=Q || fail "brox-settings --set failed"
grep -qx "resolution 640" "$FOLDER/broxConfig.txt" && grep -qx "keyUp 17" "$FOLDER/broxConfig.txt" ||
    fail "brox-settings did not write the player's file"
[ "$("$SETTINGS" --show | grep -c .)" -eq "$(grep -c . "$FOLDER/broxConfig.txt")" ] ||
    fail "brox-settings --show does not show the player's file"
play_and_quit
[ "$SIZE" = 640x480 ] || fail "after brox-settings --set resolution=640 the window is $SIZE"
echo "brox-settings changed the player's file, and the game opened at $SIZE"

export XDG_CONFIG_HOME="$WORK/xdg"
play_and_quit
[ -f "$XDG_CONFIG_HOME/brox/broxConfig.txt" ] || fail "XDG_CONFIG_HOME was not followed"
echo "XDG_CONFIG_HOME followed"

unset HOME XDG_CONFIG_HOME
play_and_quit
[ "$SIZE" = 640x480 ] || fail "without a home folder: window $SIZE, expected the shipped 640x480"
[ "$(grep -c . "$WORK/game.out")" -eq 1 ] && grep -q "shipped configuration" "$WORK/game.out" ||
    fail "without a home folder the launcher did not say so in one line"
echo "no home folder: one line on standard error, shipped configuration used"
if "$SETTINGS" --set resolution=800 2>"$WORK/settings.err"; then
    fail "without a home folder brox-settings claimed to save"
fi
grep -q "nowhere to keep the settings" "$WORK/settings.err" ||
    fail "without a home folder brox-settings said: $(cat "$WORK/settings.err")"
echo "no home folder: brox-settings says there is nowhere to keep the settings"
echo "PASS"
