#!/usr/bin/env bash
# With Escape held from the start the game still starts up fully and then
# ends at once with exit code 0.
source "$(dirname "$0")/../support/windowLib.sh"

start_display
# X reports key transitions only; a held key reaches a new window through
# the keyboard's auto-repeat, which the fake keyboard of Xvfb does not do,
# so the repeated presses are sent here.
hold_escape() {
    while true; do xdotool keydown Escape; sleep 0.05; done
}
hold_escape &
HOLD_PID=$!
start_game
expect_exit_code 0
kill "$HOLD_PID"
xdotool keyup Escape
grep -q . "$WORK/game.out" && fail "unexpected output"
echo "PASS"
