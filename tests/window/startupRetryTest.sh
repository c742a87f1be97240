#!/usr/bin/env bash
# A display that drops the game's first connection, as a server does while
# it starts or resets, still gets the game: it tries again and opens its
# window, and Escape ends it with exit code 0.
source "$(dirname "$0")/../support/windowLib.sh"

start_display
real=${DISPLAY#:}
for ((fake = real + 1; fake <= 160; fake++)); do
    if [ ! -e "/tmp/.X11-unix/X$fake" ] && [ ! -e "/tmp/.X$fake-lock" ]; then break; fi
done
python3 "$(dirname "$0")/../support/refuseFirstConnection.py" "/tmp/.X11-unix/X$fake" \
    "/tmp/.X11-unix/X$real" "$WORK/proxy.log" &
wait_for 5 test -S "/tmp/.X11-unix/X$fake" || fail "the refusing display did not start"

DISPLAY=":$fake" start_game
wait_for_window
[ "$(head -n 1 "$WORK/proxy.log")" = refused ] || fail "the first connection was not refused"
grep -q forwarded "$WORK/proxy.log" || fail "the game never connected again"
echo "first connection refused, the game connected again and opened its window"

tap Escape
expect_exit_code 0
echo "PASS"
