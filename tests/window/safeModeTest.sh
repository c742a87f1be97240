#!/usr/bin/env bash
# A display that refuses the configured 1024 x 768 window: the game falls back
# to the safe mode and lays itself out for the 640 x 480 it got, HP bar and
# key hints inside the window.
source "$(dirname "$0")/../support/windowLib.sh"
[ -n "${BROX_REFUSE_MODE_SHIM:-}" ] || fail "BROX_REFUSE_MODE_SHIM names no library"

HP_PURPLE="86,71,154"
printf 'resolution 1024\ncolorDepth 32\nwindowed 1\n' >"$WORK/config.txt"
CONFIG="$WORK/config.txt"
start_display
LD_PRELOAD="$BROX_REFUSE_MODE_SHIM" start_game
wait_for_window
eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
echo "window: ${WIDTH}x${HEIGHT}"
[ "${WIDTH}x${HEIGHT}" = 640x480 ] || fail "the safe mode's window is ${WIDTH}x${HEIGHT}"

shot="$WORK/shot.png"
window_shot="$WORK/window.png"
bar_shown() {
    screenshot "$shot" && convert "$shot" -crop "640x480+$X+$Y" +repage "$window_shot" &&
        [ "$(count_blobs "$window_shot" "$HP_PURPLE" 1000)" -ge 1 ]
}
wait_for 10 bar_shown || fail "no HP bar inside the window"
# A third full, the bar fills from 15 % of the width it was laid out for
# to 38 %: centred near x 171 at 640, near 272 at 1024.
read -r _ bar_x _ <<<"$(blobs "$window_shot" "$HP_PURPLE" | sort -n | tail -n 1)"
[ "$bar_x" -lt 220 ] || fail "the HP bar is laid out for a wider screen (centre x $bar_x)"
# The key hints stand in the bottom left corner of the screen the game got.
hint_pixels=$(convert "$window_shot" -crop 100x40+0+435 -depth 8 txt:- |
    grep -vc -e '(48,48,48)' -e '^#')
echo "key hint pixels: $hint_pixels"
[ "$hint_pixels" -gt 50 ] || fail "no key hints at the bottom of the window"

xdotool keydown Escape
expect_exit_code 0
xdotool keyup Escape
echo "PASS"
