#!/usr/bin/env bash
# Measures the real game under Xvfb while it fights round 0 with the fire
# button held: CPU share of one core, resident memory, and the simulation
# rate (steps a second, read from the game's step counter with gdb), printed
# as the table in docs/performance.md.
# Usage: bash scripts/measure.sh [seconds]   (after scripts/play.sh or scripts/test.sh)
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
SECONDS_TO_RUN=${1:-20}
source "$ROOT/tests/support/windowLib.sh" "$ROOT/build/brox" "$ROOT/build/picData.dat" ""
require_tools gdb bc

cpu_ticks() {
    awk '{ print $14 + $15 }' "/proc/$GAME_PID/stat"
}

# Reads the game's step counter and its round clock (timer ticks) into the
# array named by $1.
read_counters() {
    local -n into=$1
    read -r -a into < <(gdb -p "$GAME_PID" -batch -ex 'print frameCount' \
        -ex 'print (int)frameInRound._M_i' 2>/dev/null | awk '/^\$/ { printf "%s ", $3 } END { print "" }')
    [ "${#into[@]}" -eq 2 ] || fail "gdb could not read the game's counters"
}

measure_at() {
    printf 'resolution %s\ncolorDepth 32\nwindowed 1\n' "$1" >"$WORK/broxConfig.txt"
    CONFIG="$WORK/broxConfig.txt"
    start_game
    wait_for_window
    sleep 1.5
    xdotool mousedown 1
    local ticks_before start steps=0 ticks=0 window a=() b=()
    ticks_before=$(cpu_ticks)
    start=$(date +%s.%N)
    # Steps against timer ticks over 4-second windows; a window in which the
    # round restarted (the counters went back to 0) is left out.
    for ((window = 0; window < SECONDS_TO_RUN / 4; window++)); do
        read_counters a
        sleep 4
        read_counters b
        if [ "${b[0]}" -ge "${a[0]}" ] && [ "${b[1]}" -gt "${a[1]}" ]; then
            steps=$((steps + b[0] - a[0]))
            ticks=$((ticks + b[1] - a[1]))
        fi
    done
    local ticks_after elapsed rss
    ticks_after=$(cpu_ticks)
    elapsed=$(echo "$(date +%s.%N) - $start" | bc)
    rss=$(awk '/VmRSS/ { print $2 }' "/proc/$GAME_PID/status")
    xdotool mouseup 1
    echo "| $1 × $2" \
         "| $(echo "scale=1; 100 * ($ticks_after - $ticks_before) / $(getconf CLK_TCK) / $elapsed" | bc) %" \
         "| $((rss / 1024)) MiB" \
         "| $(echo "scale=1; 30 * $steps / $ticks" | bc) ($steps steps in $ticks ticks) |"
    xdotool keydown Escape
    expect_exit_code 0
    xdotool keyup Escape
}

start_display
echo "| resolution | CPU (share of one core) | resident memory | simulation steps a second |"
echo "|---|---|---|---|"
measure_at 640 480
measure_at 1024 768
