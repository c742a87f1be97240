#!/usr/bin/env bash
# Without its picture file the game says so on standard output and exits 0.
source "$(dirname "$0")/../support/windowLib.sh"

start_display
PIC_DATA=
start_game
expect_exit_code 0
grep -qx 'Graphics datafile not found. Now exiting.' "$WORK/game.out" ||
    fail "message missing"
echo "PASS"
