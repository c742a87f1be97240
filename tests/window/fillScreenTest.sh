#!/usr/bin/env bash
# On a 1920 x 1080 desktop with a window manager, as most players have one:
# full screen at 640 x 480 covers the monitor, the picture scaled twice
# (960 of the 1080 lines) and centred between black bars; Alt+Tab shows the
# other window and pauses the fight; windowScale 2 opens a 1280 x 960 window
# that draws the cursor under the pointer. BROX_SCREENSHOT_DIR, when set,
# keeps the screenshots.
source "$(dirname "$0")/../support/windowLib.sh"
require_tools xcalc convert

shot="$WORK/shot.png"
keep_shot() {
    if [ -n "${BROX_SCREENSHOT_DIR:-}" ]; then cp "$shot" "$BROX_SCREENSHOT_DIR/$1"; fi
}
use_config() {
    printf "$1" >"$WORK/config.txt"
    CONFIG="$WORK/config.txt"
}

# At 640 x 480 round 0's clock is drawn at (106, 420) and the pause line
# 80 pixels to its right; on the screen both are twice as large, from (320, 60).
clock_stands() {
    region_stands 160x20+522+900
}
clock_runs() {
    ! clock_stands
}
pause_line_shown() {
    [ "$(import -window root -crop 340x20+682+900 +repage -format %k info:)" -gt 1 ]
}

start_display 1920x1080
start_window_manager
xcalc -geometry 300x300+40+40 >/dev/null 2>&1 &
wait_for 10 xdotool search --onlyvisible --class xcalc >/dev/null || fail "xcalc did not start"
other_window_active() {
    xprop -id "$(xdotool getactivewindow)" WM_CLASS | grep -q -i xcalc
}

use_config 'resolution 640\ncolorDepth 32\nwindowed 0\n'
start_game
wait_for_window
eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
echo "full screen: ${WIDTH}x${HEIGHT} at $X,$Y"
[ "${WIDTH}x${HEIGHT}+$X+$Y" = "1920x1080+0+0" ] || fail "the game does not cover the monitor"
xprop -id "$WINDOW" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN ||
    fail "the window manager does not hold the game full screen"
wait_for 15 clock_runs || fail "the fight did not begin"

# The picture is everything the black bars leave.
screenshot "$shot"
keep_shot fullScreen.png
read -r pw ph px py <<<"$(convert "$shot" -trim -format '%w %h %X %Y' info: | tr -d +)"
echo "picture: ${pw}x${ph} at $px,$py"
[ $((ph * 100)) -ge $((1080 * 85)) ] || fail "the picture fills only $ph of 1080 lines"
[ $((pw * 480)) -eq $((ph * 640)) ] || fail "the picture lost its aspect"
right=$((1920 - px - pw))
bottom=$((1080 - py - ph))
[ "${px#-}" -ge 0 ] && [ $((px - right)) -le 1 ] && [ $((right - px)) -le 1 ] &&
    [ $((py - bottom)) -le 1 ] && [ $((bottom - py)) -le 1 ] ||
    fail "the picture is not centred: bars $px, $right, $py, $bottom"

xdotool key --clearmodifiers alt+Tab
sleep 0.5
other_window_active || fail "Alt+Tab did not switch to the other window"
screenshot "$shot"
keep_shot altTab.png
# xcalc stands where the game's bar is black.
[ "$(pixel "$shot" 60 60)" != "0,0,0" ] || fail "the other window is not shown"
clock_stands || fail "the round clock ran while the other window had the focus"
pause_line_shown || fail "no pause line while the other window had the focus"
echo "Alt+Tab: the other window is shown, the fight paused"
xdotool key --clearmodifiers alt+Tab
sleep 0.5
[ "$(xdotool getactivewindow)" = "$WINDOW" ] || fail "Alt+Tab did not switch back to the game"
tap Tab
wait_for 5 clock_runs || fail "Tab did not resume the fight"
xdotool keydown Escape
expect_exit_code 0
xdotool keyup Escape

use_config 'resolution 640\ncolorDepth 32\nwindowed 1\nwindowScale 2\n'
start_game
wait_for_window
# xwininfo, as xdotool counts Openbox's frame into the window's place.
eval "$(xwininfo -id "$WINDOW" | awk '/Absolute upper-left X/ { print "X=" $4 }
    /Absolute upper-left Y/ { print "Y=" $4 } /Width/ { print "WIDTH=" $2 }
    /Height/ { print "HEIGHT=" $2 }')"
echo "windowScale 2: ${WIDTH}x${HEIGHT}"
[ "${WIDTH}x${HEIGHT}" = 1280x960 ] || fail "the window is ${WIDTH}x${HEIGHT}, not 1280x960"

# Allegro follows the pointer by its movement, and keeps putting the pointer
# back in the window's middle: the pointer is pushed to the top left, where
# the cursor stops in the corner, and then moved by 60, 300 to the left of
# the arena, below the status icons, where only the cursor is drawn.
cursor_under_pointer() {
    local step
    for ((step = 0; step < 30; step++)); do
        xdotool mousemove_relative -- -60 -60
        sleep 0.02
    done
    sleep 0.2
    xdotool mousemove_relative -- 60 300
    sleep 0.4
    screenshot "$shot"
    read -r cw ch cx cy <<<"$(convert "$shot" -crop "180x600+$X+$((Y + 200))" +repage \
        -trim -format '%w %h %X %Y' info: 2>/dev/null | tr -d +)"
    centre_x=$((cx + cw / 2))
    centre_y=$((200 + cy + ch / 2))
    [ "$cw" -gt 4 ] && [ $((centre_x - 60)) -le 2 ] && [ $((60 - centre_x)) -le 2 ] &&
        [ $((centre_y - 300)) -le 2 ] && [ $((300 - centre_y)) -le 2 ]
}
xdotool mousemove --sync $((X + 640)) $((Y + 480))
wait_for 20 cursor_under_pointer ||
    fail "the cursor (${cw}x${ch} at $centre_x,$centre_y) is not under the pointer at 60,300"
keep_shot windowScale2.png
echo "cursor: ${cw}x${ch}, centred at $centre_x,$centre_y in the window; pointer at 60,300"
xdotool keydown Escape
expect_exit_code 0
xdotool keyup Escape
echo "PASS"
