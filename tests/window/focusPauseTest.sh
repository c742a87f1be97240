#!/usr/bin/env bash
# When another window takes the focus the fight pauses: the round clock
# stands still and the HUD says so. The focus coming back alone does not
# resume it; Tab does, and the pause line goes. 800 x 600: the round clock
# is drawn at (130, 523), the pause line to its right.
source "$(dirname "$0")/../support/windowLib.sh"

TITLE_BORDER="255,195,60"

clock() {
    import -window root -crop 80x10+125+523 +repage "$1"
}
# The pause line's place holds more than the background colour.
pause_line_shown() {
    [ "$(import -window root -crop 170x10+205+523 +repage -format %k info:)" -gt 1 ]
}
clock_stands() {
    clock "$WORK/a.png"
    sleep 0.5
    clock "$WORK/b.png"
    cmp -s "$WORK/a.png" "$WORK/b.png"
}

start_display
start_game
wait_for_window
wait_for 5 pixel_is 400 265 "$TITLE_BORDER" || fail "round 0's title banner was not shown"
wait_for 5 pixel_is_not 400 265 "$TITLE_BORDER" || fail "the fight did not begin"
clock_stands && fail "the round clock does not run during the fight"
pause_line_shown && fail "the pause line is shown during the fight"

xclock -geometry 100x100+920+660 >/dev/null 2>&1 &
wait_for 10 xdotool search --onlyvisible --class xclock >/dev/null || fail "xclock did not start"
xdotool windowfocus --sync "$(xdotool search --onlyvisible --class xclock | head -n 1)"
sleep 0.3
clock_stands || fail "the round clock ran while another window had the focus"
pause_line_shown || fail "no pause line while another window had the focus"
echo "focus lost: clock stands, pause line shown"

xdotool windowfocus --sync "$WINDOW"
sleep 0.3
clock_stands || fail "the focus coming back resumed the fight without Tab"
tap Tab
sleep 0.3
clock_stands && fail "Tab did not resume the round clock"
pause_line_shown && fail "the pause line stayed after Tab"
echo "Tab resumed: clock runs, pause line gone"

tap Escape
expect_exit_code 0
echo "PASS"
