#!/usr/bin/env bash
# Plays the real game under Xvfb with a scripted player and saves the
# README's screenshots in docs/: the round title, a fight with orbiters and
# bolts, the HUD with status icons, the lost banner and, when the scripted
# player manages to win round 0 in time, the won banner. The player stands
# near the middle, turns toward the nearest chaser with the mouse, keeps the
# fire button held, steps away from chasers that come close and calls
# orbiters now and then. Then the settings window, as it refuses Tab for Up.
# Usage: bash scripts/screenshots.sh [settings]   (after scripts/play.sh or
#        scripts/test.sh has built the game; "settings" takes only the last)
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
OUT="$ROOT/docs"
mkdir -p "$OUT"
source "$ROOT/tests/support/windowLib.sh" "$ROOT/build/brox" "$ROOT/build/picData.dat" \
    "$ROOT/tests/window/broxConfig.txt"
require_tools import convert

# Colours and places at 800 x 600 in round 0 (arena 420 x 420 at 190, 90).
TITLE_BORDER="255,195,60"
WON_BORDER="80,225,90"
LOST_BORDER="235,60,50"
FIGHTER="70,170,255"
CHASER="225,50,45"
ORBITER="70,220,255"
BOLT="120,55,0"
shot="$WORK/shot.png"

save() {
    convert "$shot" -crop "${2:-800x600}+0+0" +repage "$OUT/$1.png"
    echo "saved docs/$1.png"
}

# The settings window of the run folder, Up chosen and Tab pressed for it.
settings_screenshot() {
    mkdir -p "$WORK/run"
    cp "$PIC_DATA" "$SND_DATA" "$CONFIG" "$WORK/run/"
    (cd "$WORK/run" && exec "$ROOT/build/brox-settings") >"$WORK/game.out" 2>&1 &
    GAME_PID=$!
    wait_for 20 pixel_is 5 5 "28,32,48" || fail "the settings window was not drawn"
    xdotool mousemove --sync 320 240
    sleep 0.3
    xdotool mousemove --sync 454 65
    click_button 1
    sleep 0.3
    tap Tab
    xdotool mousemove --sync 620 470
    sleep 0.5
    screenshot "$shot"
    save settings 640x480
    tap Escape
    expect_exit_code 0
}

# "dx dy" from the fighter to the nearest chaser on the screenshot, if any.
nearest_chaser() {
    local fighter
    fighter=$(largest_blob_centre "$shot" "$FIGHTER")
    [ -n "$fighter" ] || return 0
    blobs "$shot" "$CHASER" | awk -v f="$fighter" '
        BEGIN { split(f, p, " ") }
        $1 >= 30 { d = ($2 - p[1]) ^ 2 + ($3 - p[2]) ^ 2
                   if (best == "" || d < best) { best = d; x = $2 - p[1]; y = $3 - p[2] } }
        END { if (best != "") printf "%d %d\n", x, y }'
}

# Turns the fighter toward the chaser: the aiming marker points along the
# mouse's latest movement. The game reads the movement of its latest poll
# only, and polls about twice per step, so the movement is repeated.
aim_at() {
    local step=()
    read -r -a step < <(awk -v x="$1" -v y="$2" 'BEGIN { l = sqrt(x * x + y * y); if (l < 1) l = 1
                                                       printf "%d %d\n", 12 * x / l, 12 * y / l }')
    xdotool mousemove 400 300
    local repeat
    for repeat in 1 2 3 4 5 6; do
        sleep 0.02
        xdotool mousemove_relative -- "${step[@]}"
    done
}

# Steps away from a chaser that came close.
dodge() {
    [ $(( $1 * $1 + $2 * $2 )) -lt $((90 * 90)) ] || return 0
    local keys=()
    if [ "$1" -gt 20 ]; then keys+=(a); fi
    if [ "$1" -lt -20 ]; then keys+=(d); fi
    if [ "$2" -gt 20 ]; then keys+=(w); fi
    if [ "$2" -lt -20 ]; then keys+=(s); fi
    [ ${#keys[@]} -gt 0 ] || return 0
    xdotool keydown "${keys[@]}"
    sleep 0.25
    xdotool keyup "${keys[@]}"
}

status_icon_shown() {
    local x y
    for x in 115 640; do
        for y in 120 195 270; do
            if [ "$(pixel "$shot" "$x" "$y")" != "48,48,48" ]; then return 0; fi
        done
    done
    return 1
}

start_display
if [ "${1:-}" = settings ]; then
    settings_screenshot
    exit 0
fi
start_game
wait_for_window
title_now() { screenshot "$shot" && [ "$(pixel "$shot" 400 265)" = "$TITLE_BORDER" ]; }
wait_for 5 title_now && save countdown

have_fight=0
have_lost=0
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
    if [ "$have_lost" -eq 0 ] && [ "$(pixel "$shot" 400 265)" = "$LOST_BORDER" ]; then
        save lost
        have_lost=1
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
    read -r -a target <<<"$(nearest_chaser)"
    if [ "${#target[@]}" -eq 2 ]; then
        aim_at "${target[@]}"
        dodge "${target[@]}"
    fi
    step=$((step + 1))
    if [ $((step % 12)) -eq 0 ]; then click_button 3; fi
done
xdotool mouseup 1
xdotool keydown Escape
expect_exit_code 0
xdotool keyup Escape
settings_screenshot
