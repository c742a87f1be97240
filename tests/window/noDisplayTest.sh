#!/usr/bin/env bash
# With no display to open, the game says so instead of vanishing silently.
source "$(dirname "$0")/../support/windowLib.sh"

unset DISPLAY
start_game
expect_exit_code 1
grep -q 'Unable to start the Allegro game library: .' "$WORK/game.out" ||
    fail "no message about the missing display"
echo "PASS"
