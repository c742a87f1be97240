#!/usr/bin/env bash
# Plays round 0 the way a player would: the title, moving, bolts, orbiters,
# pause, restart, a lost round and quitting. 800 x 600, round 0's arena is
# 420 x 420 at (190, 90); banners are centred, their top border at y 265.
source "$(dirname "$0")/../support/windowLib.sh"

TITLE_BORDER="255,195,60"
LOST_BORDER="235,60,50"
FIGHTER="70,170,255"
ORBITER="70,220,255"
BOLT="120,55,0"   # the bolt's outline
HP_PURPLE="86,71,154"

start_display
start_game
wait_for_window
shot="$WORK/shot.png"

wait_for 5 pixel_is 400 265 "$TITLE_BORDER" || fail "round 0's title banner was not shown"
wait_for 5 pixel_is_not 400 265 "$TITLE_BORDER" || fail "the fight did not begin"
echo "title banner shown, fight begun"

# Keep the mouse still in a corner of the window, off the arena.
xdotool mousemove --sync 20 580

screenshot "$shot"
before=$(largest_blob_centre "$shot" "$FIGHTER" | cut -d' ' -f1)
xdotool keydown d
sleep 0.6
screenshot "$shot"
xdotool keyup d
after=$(largest_blob_centre "$shot" "$FIGHTER" | cut -d' ' -f1)
echo "fighter x: $before -> $after"
[ "$after" -gt $((before + 20)) ] || fail "the fighter did not move right with D held"

# The fighter's engine flame shares the bolt's outline colour; bolts are
# told apart by flying away from the fighter.
bolts_flying() {
    screenshot "$shot" || return 1
    local centre
    centre=$(largest_blob_centre "$shot" "$FIGHTER")
    [ "$(count_blobs_away "$shot" "$BOLT" 3 $centre 40)" -ge 1 ]
}
xdotool mousedown 1
wait_for 5 bolts_flying || fail "no bolts with the left button held"
xdotool mouseup 1
echo "bolts in flight"

three_orbiters() {
    screenshot "$shot" && [ "$(count_blobs "$shot" "$ORBITER" 40)" -eq 3 ]
}
title_seen_after_restart() {
    local end=$(( $(date +%s) + 1 ))
    while [ "$(date +%s)" -le "$end" ]; do
        pixel_is 400 265 "$TITLE_BORDER" && return 0
    done
    return 1
}
for attempt in 1 2 3; do
    tap F10
    title_seen_after_restart && fail "F10 restarted with a countdown"
    click_button 3
    wait_for 5 three_orbiters || fail "no three orbiters after restart $attempt"
    echo "restart $attempt: three orbiters"
done

clock() {
    import -window root -crop 80x10+125+523 +repage "$1"
}
tap Tab
sleep 0.3
clock "$WORK/clock1.png"
sleep 1
clock "$WORK/clock2.png"
cmp -s "$WORK/clock1.png" "$WORK/clock2.png" || fail "the round clock ran while paused"
tap Tab
sleep 1
clock "$WORK/clock3.png"
cmp -s "$WORK/clock2.png" "$WORK/clock3.png" && fail "the round clock did not resume"
echo "pause stops and resumes the round clock"

# Left idle without orbiters, the fighter is hunted down.
tap F10
wait_for 150 pixel_is 400 265 "$LOST_BORDER" || fail "the lost banner never showed"
echo "lost banner shown"
fighting_again() {
    pixel_is_not 400 265 "$LOST_BORDER" && pixel_is_not 400 265 "$TITLE_BORDER" &&
        pixel_is 300 65 "$HP_PURPLE"
}
wait_for 10 fighting_again || fail "round 0 did not start again after the loss"
screenshot "$shot"
[ "$(pixel "$shot" 189 300)" = "48,48,48" ] && [ "$(pixel "$shot" 190 300)" != "48,48,48" ] ||
    fail "the arena after the loss is not round 0's"
echo "round 0 restarted"

xdotool keydown Escape
expect_exit_code 0
xdotool keyup Escape
echo "PASS"
