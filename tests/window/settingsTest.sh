#!/usr/bin/env bash
# The settings program as a player and a script use it: refused changes
# leave the file as it was and say why; in the window the player picks
# 1024 x 768 and moves Up to Q with the mouse and the keyboard, and Play
# starts the game, which opens at that size, carries the fighter icon and
# the class Brox, and moves the fighter up with Q and no longer with W.
source "$(dirname "$0")/../support/windowLib.sh"

SETTINGS_BIN="$(dirname "$BROX_BIN")/brox-settings"
FIGHTER="70,170,255"
require_tools xprop

# In the run folder start_game lays out, as the player's folder holds it.
settings() {
    (cd "$WORK/run" && "$SETTINGS_BIN" "$@")
}

mkdir -p "$WORK/run"
cp "$PIC_DATA" "$SND_DATA" "$WORK/run/"
cp "$CONFIG" "$WORK/run/broxConfig.txt"
cp "$CONFIG" "$WORK/shipped.txt"

# The class the desktop entry names and the fighter icon, in _NET_WM_ICON at
# 32 and 64 pixels and in the older icon hint, on a window of the program.
expect_brox_identity() {
    local window=$1 program=$2
    xprop -id "$window" WM_CLASS _NET_WM_ICON >"$WORK/xprop.txt"
    grep -q "WM_CLASS(STRING) = \"$program\", \"Brox\"" "$WORK/xprop.txt" ||
        fail "$program's WM_CLASS: $(grep WM_CLASS "$WORK/xprop.txt")"
    grep -q 'Icon (32 x 32)' "$WORK/xprop.txt" && grep -q 'Icon (64 x 64)' "$WORK/xprop.txt" ||
        fail "$program's window has no _NET_WM_ICON of 32 and 64 pixels"
    # The fighter icon's blue hull is in the icons, not in Allegro's own.
    xprop -id "$window" -notype -f _NET_WM_ICON 32x ' $0+' _NET_WM_ICON | grep -qi '0xff46aaff' ||
        fail "$program's _NET_WM_ICON is not the fighter's"
    local hint
    hint=$(/usr/bin/python3 "$(dirname "$0")/../support/iconHint.py" "$window" 46aaff)
    [[ $hint =~ ^32x32\ [1-9] ]] || fail "$program's icon hint is not the fighter's: $hint"
    echo "$program's window: class $program, Brox; the fighter icon at 32 and 64 pixels and in the hint"
}

refused() {
    local why=$1
    shift
    if settings --set "$@" 2>"$WORK/refusal.txt"; then fail "--set $* was accepted"; fi
    grep -q "$why" "$WORK/refusal.txt" || fail "--set $* said: $(cat "$WORK/refusal.txt")"
    cmp -s "$WORK/run/broxConfig.txt" "$WORK/shipped.txt" || fail "--set $* changed the file"
}
refused "TAB is fixed" keyUp=Q keyDown=TAB
refused "W is already the key of keyUp" keyDefense=W
refused "resolution is 640, 800 or 1024, not 1280" resolution=1280
mkdir "$WORK/run/broxConfig.txt.new"
refused "cannot write .*broxConfig.txt: .*nothing was saved" resolution=1024
rmdir "$WORK/run/broxConfig.txt.new"
echo "refused changes: the file untouched, the reason given"

# Killed while it writes, held at its temporary file (a FIFO nobody reads),
# the program leaves the old file whole, and what such a kill leaves behind
# does not hinder the next save.
mkfifo "$WORK/run/broxConfig.txt.new"
(cd "$WORK/run" && exec "$SETTINGS_BIN" --set resolution=1024) &
WRITER=$!
sleep 1
kill -KILL "$WRITER" 2>/dev/null || fail "the write did not wait at its temporary file"
wait "$WRITER" 2>/dev/null || true
cmp -s "$WORK/run/broxConfig.txt" "$WORK/shipped.txt" || fail "killed while writing, it changed the file"
rm "$WORK/run/broxConfig.txt.new"
echo "resol" >"$WORK/run/broxConfig.txt.new"
settings --set musicVolume=0 keyUp=Q || fail "--set musicVolume=0 keyUp=Q failed"
[ ! -e "$WORK/run/broxConfig.txt.new" ] || fail "the temporary file was left behind"
# The file holds exactly what --show gives: every setting, its value as the
# game reads it.
settings --show >"$WORK/shown.txt" || fail "--show failed"
cmp -s "$WORK/shown.txt" "$WORK/run/broxConfig.txt" || fail "the file is not what --show gives"
grep -qx "musicVolume 0" "$WORK/shown.txt" && grep -qx "keyUp 17" "$WORK/shown.txt" &&
    grep -qx "resolution 800" "$WORK/shown.txt" || fail "saved: $(cat "$WORK/shown.txt")"
[ "$(cut -d' ' -f1 "$WORK/shown.txt" | sort -u | wc -l)" -eq "$(wc -l <"$WORK/shown.txt")" ] ||
    fail "a setting written twice: $(cat "$WORK/shown.txt")"
echo "saved: the old file whole after a kill, the new one as --show gives it"

# Where the game's reader stops is told, and what is shown is what it read.
printf 'resolution 1024\nwindowed x\ncolorDepth 32\n' >"$WORK/run/broxConfig.txt"
settings --show >"$WORK/shown.txt" 2>"$WORK/said.txt" || fail "--show failed on a faulty file"
grep -q '^brox-settings: broxConfig.txt, line 2: windowed: its value "x" is not a whole number' \
    "$WORK/said.txt" || fail "--show said: $(cat "$WORK/said.txt")"
grep -qx "resolution 1024" "$WORK/shown.txt" && grep -qx "colorDepth 24" "$WORK/shown.txt" ||
    fail "shown: $(cat "$WORK/shown.txt")"
# A change saved over such a file says so too, since what came after is gone.
settings --set windowed=1 2>"$WORK/said.txt" || fail "--set failed on a faulty file"
grep -q "line 2: windowed: .*ignores every setting after it" "$WORK/said.txt" ||
    fail "--set said: $(cat "$WORK/said.txt")"
# Usage: asked for, on standard output; a wrong call, on standard error.
settings --help >"$WORK/said.txt" && grep -q "^usage: brox-settings" "$WORK/said.txt" ||
    fail "--help: $(cat "$WORK/said.txt")"
for call in --set --sho; do
    code=0
    settings "$call" >"$WORK/said.txt" 2>&1 || code=$?
    [ "$code" -eq 2 ] && grep -q "^usage: brox-settings" "$WORK/said.txt" ||
        fail "$call: exit code $code, $(cat "$WORK/said.txt")"
done
cp "$WORK/shipped.txt" "$WORK/run/broxConfig.txt"
echo "the reader's stop and the usage told"

start_display
(cd "$WORK/run" && exec "$SETTINGS_BIN") >"$WORK/game.out" 2>&1 &
GAME_PID=$!
settings_window() {
    [ -n "$(xdotool search --onlyvisible --name '^Brox settings$' 2>/dev/null)" ]
}
wait_for 20 settings_window || fail "the settings window did not appear"
SETTINGS_WINDOW=$(xdotool search --onlyvisible --name '^Brox settings$' | head -n 1)
xdotool windowfocus --sync "$SETTINGS_WINDOW" 2>/dev/null || true
expect_brox_identity "$SETTINGS_WINDOW" brox-settings
# The dialog is drawn, on its own background, once it takes input.
wait_for 10 pixel_is 5 5 "28,32,48" || fail "the settings dialog was not drawn"
eval "$(xdotool getwindowgeometry --shell "$SETTINGS_WINDOW")"
# Points of the dialog, which is laid out in window pixels.
click_at() {
    xdotool mousemove --sync $((X + $1)) $((Y + $2))
    sleep 0.1
    click_button 1
    sleep 0.3
}
# The pointer comes into the window first, as a player's does.
xdotool mousemove --sync $((X + 320)) $((Y + 240))
sleep 0.3
click_at 21 91    # the 1024 x 768 choice
click_at 454 65   # Up's key
tap q
sleep 0.3
screenshot "$WORK/settings.png"
click_at 200 437  # Play
echo "settings: 1024 x 768 chosen, Up moved to Q, Play"

wait_for_window
# The window saved just what the same choices made by script save.
mkdir "$WORK/script"
cp "$WORK/shipped.txt" "$WORK/script/broxConfig.txt"
(cd "$WORK/script" && "$SETTINGS_BIN" --set resolution=1024 keyUp=Q) || fail "--set failed"
cmp -s "$WORK/run/broxConfig.txt" "$WORK/script/broxConfig.txt" ||
    fail "the saved file does not hold the choices: $(cat "$WORK/run/broxConfig.txt")"
SIZE=$(xdotool getwindowgeometry "$WINDOW" | awk '/Geometry/ { print $2 }')
[ "$SIZE" = 1024x768 ] || fail "the game opened at $SIZE, expected 1024x768"
echo "game: a $SIZE window"

expect_brox_identity "$WINDOW" brox

xdotool mousemove --sync 20 740
fighter_y() {
    screenshot "$WORK/shot.png"
    largest_blob_centre "$WORK/shot.png" "$FIGHTER" | cut -d' ' -f2
}
held_for_a_moment() {
    xdotool keydown "$1"
    sleep 0.3
    xdotool keyup "$1"
    sleep 0.1
}
moves_up_with_q() {
    local before after
    # Under load the first focus can come before the window takes it; with no
    # window manager, keys reach only the focused window.
    xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
    before=$(fighter_y)
    held_for_a_moment q
    after=$(fighter_y)
    [ -n "$before" ] && [ -n "$after" ] && [ "$after" -lt $((before - 20)) ]
}
# The round's title shows first; the fighter moves once the fight begins.
wait_for 25 moves_up_with_q || fail "Q did not move the fighter up"
# 0: W left the fighter where it was; 1: W moved it up; 2: the fighter was
# not to be seen (lost to a chaser, its round starting again), which tells
# nothing either way.
w_result() {
    local before after
    before=$(fighter_y)
    held_for_a_moment w
    after=$(fighter_y)
    [ -n "$before" ] && [ -n "$after" ] || return 2
    echo "W: $before -> $after" >&2
    [ "$after" -ge $((before - 5)) ] || return 1
}
# True once W was tried on a fighter in sight; under load a chaser may have
# ended the round first, and the fighter comes back with its restart.
w_leaves_the_fighter() {
    local status=0
    w_result || status=$?
    [ "$status" -ne 1 ] || fail "W still moved the fighter up"
    [ "$status" -eq 0 ]
}
wait_for 20 w_leaves_the_fighter || fail "the fighter was not to be seen while W was tried"
echo "the fighter moves up with Q, and not with W"

xdotool keydown Escape
expect_exit_code 0
xdotool keyup Escape
echo "PASS"
