#!/usr/bin/env bash
# The Windows game from its unpacked zip, under Wine on a private Xvfb: an
# 800 x 600 window on the grey background, round 0's title and then the
# fight, three orbiters at a right click, the fighter moving right while D
# is held, Escape ending it with status 0; and without picData.dat, the message
# and status 0. Then brox-settings.exe replaces the configuration beside it,
# which Windows' own rename will not do over an existing file, and leaves it
# alone when a change is refused.
# Arguments: the unpacked game folder, and a folder for the screenshots.
# Wine's prefix and WINEDEBUG come from the caller (scripts/windows.sh).
GAME_DIR=$(cd "$1" && pwd)
SHOTS=$2
source "$(dirname "$0")/../support/windowLib.sh" \
    "" "$GAME_DIR/picData.dat" "$GAME_DIR/broxConfig.txt"

TITLE_BORDER="255,195,60"
FIGHTER="70,170,255"
ORBITER="70,220,255"
BACKGROUND="48,48,48"

# The game starts in the run folder beside everything else the zip holds;
# start_game puts the picture file and the configuration there.
mkdir -p "$WORK/run" "$SHOTS"
find "$GAME_DIR" -maxdepth 1 -type f ! -name picData.dat ! -name broxConfig.txt \
    -exec cp {} "$WORK/run/" \;
BROX_BIN="$WORK/brox"
printf '#!/bin/sh\nexec timeout 60 wine ./brox.exe\n' >"$BROX_BIN"
chmod +x "$BROX_BIN"

# Wine's first programs on a new display can find its graphics driver not
# yet up, so that Allegro cannot start at all; such a start is made again a
# moment later.
start_under_wine() {
    local attempt
    for attempt in 1 2 3; do
        start_game
        wait_for 30 window_shown_or_game_ended || fail "the game window did not appear"
        window_shown && break
        grep -q 'Unable to start the Allegro game library' "$WORK/game.out" || break
        echo "Wine could not start the game on this display yet (attempt $attempt)" >&2
        wait "$GAME_PID" 2>/dev/null || true
        sleep 2
    done
    wait_for_window
}

start_display
start_under_wine
eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
[ "$WIDTH"x"$HEIGHT" = 800x600 ] || fail "the window is ${WIDTH}x$HEIGHT, expected 800x600"
echo "window: 800x600 at $X,$Y"

wait_for 10 pixel_is $((X + 400)) $((Y + 265)) "$TITLE_BORDER" ||
    fail "round 0's title banner was not shown"
screenshot "$SHOTS/title.png"
[ "$(pixel "$SHOTS/title.png" $((X + 5)) $((Y + 300)))" = "$BACKGROUND" ] ||
    fail "the background is not $BACKGROUND"
wait_for 10 pixel_is_not $((X + 400)) $((Y + 265)) "$TITLE_BORDER" || fail "the fight did not begin"
echo "title banner on the $BACKGROUND background, then the fight"

# The mouse stays in the window's corner, off the arena.
xdotool mousemove --sync $((X + 20)) $((Y + 580))
shot="$WORK/shot.png"

three_orbiters() {
    screenshot "$shot" && [ "$(count_blobs "$shot" "$ORBITER" 40)" -eq 3 ]
}
click_button 3
wait_for 5 three_orbiters || fail "no three orbiters after a right click"
cp "$shot" "$SHOTS/orbiters.png"
echo "right click: three orbiters"

# The fighter's x, from a fresh screenshot; nothing while it flashes.
fighter_x() {
    screenshot "$shot" && largest_blob_centre "$shot" "$FIGHTER" | cut -d' ' -f1
}
fighter_seen() {
    before=$(fighter_x) && [ -n "$before" ]
}
fighter_moved_right() {
    local x
    x=$(fighter_x) && [ -n "$x" ] && [ "$x" -gt $((before + 20)) ] && after=$x
}
wait_for 5 fighter_seen || fail "no fighter in the arena"
# Keys reach only the focused window; under load the screenshots are slow.
xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
xdotool keydown d
wait_for 4 fighter_moved_right
moved=$?
xdotool keyup d
[ "$moved" -eq 0 ] || fail "the fighter did not move right with D held (from x $before)"
echo "fighter x with D held: $before -> $after"

xdotool keydown Escape
expect_exit_code 0
xdotool keyup Escape
echo "Escape: status 0"

rm "$WORK/run/picData.dat"
PIC_DATA=
start_game
expect_exit_code 0
# Windows' C library writes text with \r\n line ends.
tr -d '\r' <"$WORK/game.out" | grep -qx 'Graphics datafile not found. Now exiting.' ||
    fail "no message about the missing picture file"
echo "without picData.dat: the message and status 0"

settings_exe() {
    (cd "$WORK/run" && timeout 60 wine ./brox-settings.exe "$@")
}
settings_exe --set resolution=1024 keyUp=Q >"$WORK/settings.out" 2>&1 ||
    fail "brox-settings.exe --set failed: $(cat "$WORK/settings.out")"
tr -d '\r' <"$WORK/run/broxConfig.txt" | grep -qx "resolution 1024" ||
    fail "brox-settings.exe did not replace broxConfig.txt"
cp "$WORK/run/broxConfig.txt" "$WORK/saved.txt"
if settings_exe --set keyDown=Q >"$WORK/settings.out" 2>&1; then
    fail "brox-settings.exe accepted Q for two actions"
fi
cmp -s "$WORK/run/broxConfig.txt" "$WORK/saved.txt" || fail "a refused change altered broxConfig.txt"
echo "brox-settings.exe: the file replaced, a refused change leaves it alone"
echo "PASS"
