#!/usr/bin/env bash
# A picture file and a configuration that are FIFOs hold nothing up: the
# configuration counts as absent, the picture file is refused at once in one
# line, and the game exits 0.
source "$(dirname "$0")/../support/windowLib.sh"

start_display
mkdir -p "$WORK/run"
mkfifo "$WORK/run/picData.dat" "$WORK/run/broxConfig.txt"
PIC_DATA=
CONFIG=
# Now and then the game library cannot reach a display just started.
for attempt in 1 2 3; do
    start_game
    wait_for 20 game_stopped || fail "the game did not end"
    grep -q 'Unable to start the Allegro game library' "$WORK/game.out" || break
    wait "$GAME_PID" 2>/dev/null
    sleep 1
done
expect_exit_code 0
grep -qx 'Graphics datafile picData.dat is unusable: it is not a regular file. Now exiting.' \
    "$WORK/game.out" || fail "message missing"
echo "PASS"
