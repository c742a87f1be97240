#!/usr/bin/env bash
# The window's close button ends the game as Escape does: a WM_DELETE_WINDOW
# message, as a window manager sends it, gives exit code 0 within 2 seconds.
source "$(dirname "$0")/../support/windowLib.sh"

start_display
start_game
wait_for_window
/usr/bin/python3 "$(dirname "$0")/../support/sendDeleteWindow.py" "$WINDOW" || fail "could not send WM_DELETE_WINDOW"
wait_for 2 game_stopped || fail "the game did not end within 2 s of the close request"
expect_exit_code 0
echo "PASS"
