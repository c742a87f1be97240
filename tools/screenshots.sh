#!/usr/bin/env bash
# Plays the real game under Xvfb with a scripted player and saves the
# README's screenshots in docs/: the round title, a fight with orbiters and
# bolts, the HUD with status icons, and the won banner. The player stands
# still, turns toward the nearest chaser with the mouse, keeps the fire
# button held and calls orbiters whenever it can.
# Usage: bash tools/screenshots.sh   (after tools/play.sh or tools/test.sh has built the game)
set -u
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
OUT="$ROOT/docs"
mkdir -p "$OUT"
source "$ROOT/tests/window/windowLib.sh" "$ROOT/build/brox" "$ROOT/build/picData.dat" \
    "$ROOT/broxConfig.txt"

# Colours and places at 800 x 600 in round 0 (arena 420 x 420 at 190, 90).
TITLE_BORDER="255,195,60"
WON_BORDER="80,225,90"
FIGHTER="70,170,255"
CHASER="225,50,45"
ORBITER="70,220,255"
BOLT="120,55,0"
shot="$WORK/shot.png"

save() {
    convert "$shot" -crop 800x600+0+0 +repage "$OUT/$1.png"
    echo "saved docs/$1.png"
}

# Turns the fighter toward the nearest chaser: the aiming marker points
# along the mouse's last movement.
aim_at_nearest_chaser() {
    local fighter target
    fighter=$(largest_blob_centre "$shot" "$FIGHTER")
    [ -n "$fighter" ] || return 0
    target=$(blobs "$shot" "$CHASER" | awk -v f="$fighter" '
        BEGIN { split(f, p, " ") }
        $1 >= 30 { d = ($2 - p[1]) ^ 2 + ($3 - p[2]) ^ 2
                   if (best == "" || d < best) { best = d; x = $2 - p[1]; y = $3 - p[2] } }
        END { if (best != "") { l = sqrt(best); if (l < 1) l = 1
                                printf "%d %d\n", 12 * x / l, 12 * y / l } }')
    [ -n "$target" ] || return 0
    xdotool mousemove 400 300
    # The game reads the movement of its latest poll only, and polls about
    # twice per step, so the same small movement is repeated.
    local repeat
    for repeat in 1 2 3 4 5 6; do
        sleep 0.02
        xdotool mousemove_relative -- $target
    done
}

status_icon_shown() {
    local x y
    for x in 115 640; do
        for y in 120 195 270; do
            [ "$(pixel "$shot" "$x" "$y")" != "48,48,48" ] && return 0
        done
    done
    return 1
}

start_display
start_game
wait_for_window
title_now() { screenshot "$shot" && [ "$(pixel "$shot" 400 265)" = "$TITLE_BORDER" ]; }
wait_for 5 title_now && save countdown

have_fight=0
have_status=0
xdotool mousedown 1
end=$(( $(date +%s) + ${1:-300} ))
step=0
while [ "$(date +%s)" -lt "$end" ]; do
    screenshot "$shot"
    if [ "$(pixel "$shot" 400 265)" = "$WON_BORDER" ]; then
        save won
        break
    fi
    if [ "$have_fight" -eq 0 ] && [ "$(count_blobs "$shot" "$ORBITER" 40)" -ge 3 ] &&
        [ "$(count_blobs "$shot" "$BOLT" 3)" -ge 2 ]; then
        save fight
        have_fight=1
    fi
    if [ "$have_status" -eq 0 ] && status_icon_shown &&
        [ "$(count_blobs "$shot" "$FIGHTER" 100)" -ge 1 ]; then
        save status
        have_status=1
    fi
    aim_at_nearest_chaser
    step=$((step + 1))
    if [ $((step % 12)) -eq 0 ]; then click_button 3; fi
done
xdotool mouseup 1
xdotool keydown Escape
expect_exit_code 0
xdotool keyup Escape
