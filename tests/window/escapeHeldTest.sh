#!/usr/bin/env bash
# With Escape held from the start the game still starts up fully and then
# ends at once with exit code 0.
source "$(dirname "$0")/windowLib.sh"

start_display
xdotool keydown Escape
start_game
expect_exit_code 0
xdotool keyup Escape
grep -q . "$WORK/game.out" && fail "unexpected output"
echo "PASS"
