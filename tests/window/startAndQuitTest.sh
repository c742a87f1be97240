#!/usr/bin/env bash
# The tests' configuration opens an 800 x 600 window on the grey background
# with the cursor, and Escape ends the game with exit code 0.
source "$(dirname "$0")/../support/windowLib.sh"

start_display
start_game
wait_for_window

geometry=$(xdotool getwindowgeometry "$WINDOW")
echo "$geometry"
echo "$geometry" | grep -q 'Geometry: 800x600' || fail "window is not 800x600"
eval "$(xdotool getwindowgeometry --shell "$WINDOW")"

# The cursor follows the mouse. Allegro tracks the mouse by its movement, so
# push it into the window's corner first, then 40 pixels into the window,
# away from the arena and the HUD.
xdotool mousemove --sync "$X" "$Y"
xdotool mousemove --sync $((X + 40)) $((Y + 40))
shot="$WORK/shot.png"
cursor_drawn() {
    screenshot "$shot" && [ "$(pixel "$shot" $((X + 40)) $((Y + 40)))" != "48,48,48" ]
}
wait_for 10 cursor_drawn || fail "no cursor at the mouse position"
[ "$(pixel "$shot" $((X + 5)) $((Y + 300)))" = "48,48,48" ] ||
    fail "background is $(pixel "$shot" $((X + 5)) $((Y + 300))), expected 48,48,48"
[ "$(pixel "$shot" $((X + 120)) $((Y + 40)))" = "48,48,48" ] ||
    fail "background beside the cursor is not 48,48,48"

# Held, as a player's press lasts longer than one pass of the main loop.
xdotool keydown Escape
expect_exit_code 0
xdotool keyup Escape
echo "PASS"
