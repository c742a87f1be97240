#!/usr/bin/env bash
# A scripted gamepad, fed to Allegro's own joystick driver through a FIFO
# that a preloaded library opens for /dev/input/js0: the left stick held
# right moves the fighter right, the right trigger held fires bolts, Start
# stops the round clock. With "joystick 0" the same script does nothing.
# 800 x 600: the round clock is drawn at (130, 523).
source "$(dirname "$0")/../support/windowLib.sh"
[ -n "${BROX_PAD_SHIM:-}" ] || fail "BROX_PAD_SHIM names no library"

TITLE_BORDER="255,195,60"
FIGHTER="70,170,255"
BOLT="120,55,0"   # the bolt's outline
JS_BUTTON=1
JS_AXIS=2
JS_INIT=128
FULL=32767

# One js_event record: time (u32), value (s16), type (u8), number (u8).
pad_event() {
    local type=$1 number=$2 value=$(($3 & 0xffff))
    printf "$(printf '\\x00\\x00\\x00\\x00\\x%02x\\x%02x\\x%02x\\x%02x' \
        $((value & 255)) $((value >> 8)) "$type" "$number")" >&3
}

# What the kernel reports on opening: every axis centred but the triggers
# (2 and 5) at rest, every button up.
pad_at_rest() {
    local number
    for number in 0 1 3 4 6 7; do pad_event $((JS_INIT | JS_AXIS)) $number 0; done
    pad_event $((JS_INIT | JS_AXIS)) 2 -$FULL
    pad_event $((JS_INIT | JS_AXIS)) 5 -$FULL
    for number in $(seq 0 10); do pad_event $((JS_INIT | JS_BUTTON)) "$number" 0; done
}

clock() {
    import -window root -crop 80x10+125+523 +repage "$1"
}
clock_stands() {
    clock "$WORK/a.png"
    sleep 0.5
    clock "$WORK/b.png"
    cmp -s "$WORK/a.png" "$WORK/b.png"
}
clock_runs() {
    ! clock_stands
}
# A busy machine can hold the game up for a moment: stopped means stopped twice.
clock_stopped() {
    clock_stands && clock_stands
}
shot="$WORK/shot.png"
fighter_x() {
    screenshot "$shot"
    largest_blob_centre "$shot" "$FIGHTER" | cut -d' ' -f1
}
# The fighter's engine flame shares the bolt's outline colour; bolts are
# told apart by flying away from the fighter.
bolts_flying() {
    screenshot "$shot" || return 1
    local centre
    centre=$(largest_blob_centre "$shot" "$FIGHTER")
    [ -n "$centre" ] && [ "$(count_blobs_away "$shot" "$BOLT" 3 $centre 40)" -ge 1 ]
}

# Starts the game on a fresh FIFO, held open for reading and writing so that
# neither side waits for the other, and waits for the fight.
start_with_pad() {
    rm -f "$WORK/pad"
    mkfifo "$WORK/pad"
    exec 3<>"$WORK/pad"
    LD_PRELOAD="$BROX_PAD_SHIM" BROX_PAD_FIFO="$WORK/pad" start_game
    wait_for_window
    xdotool mousemove --sync 20 580
    pad_at_rest
    wait_for 5 pixel_is 400 265 "$TITLE_BORDER" || fail "round 0's title banner was not shown"
    wait_for 5 pixel_is_not 400 265 "$TITLE_BORDER" || fail "the fight did not begin"
    wait_for 5 clock_runs || fail "the round clock does not run"
}

# Left stick right for 0.6 s, then the right trigger, then Start; prints
# "moved", "fired" and "paused" for what the game did.
play_script() {
    local before after
    before=$(fighter_x)
    pad_event $JS_AXIS 0 $FULL
    sleep 0.6
    after=$(fighter_x)
    pad_event $JS_AXIS 0 0
    echo "fighter x: $before -> $after" >&2
    if [ -n "$before" ] && [ -n "$after" ] && [ "$after" -gt $((before + 20)) ]; then echo moved; fi
    pad_event $JS_AXIS 5 $FULL
    if wait_for 3 bolts_flying; then echo fired; fi
    pad_event $JS_AXIS 5 -$FULL
    pad_event $JS_BUTTON 7 1
    sleep 0.15
    pad_event $JS_BUTTON 7 0
    sleep 0.3
    if clock_stopped; then echo paused; fi
}

quit_game() {
    tap Escape
    expect_exit_code 0
    exec 3>&-
}

start_display
start_with_pad
did=$(play_script | tr '\n' ' ')
echo "with the pad: $did"
[ "$did" = "moved fired paused " ] || fail "the pad did not play: '$did'"
# Start again resumes the round.
pad_event $JS_BUTTON 7 1
sleep 0.15
pad_event $JS_BUTTON 7 0
sleep 0.3
wait_for 5 clock_runs || fail "Start did not resume the round clock"
quit_game

{ cat "$CONFIG"; echo "joystick 0"; } >"$WORK/noPad.txt"
CONFIG="$WORK/noPad.txt"
start_with_pad
did=$(play_script | tr '\n' ' ')
echo "with joystick 0: '$did'"
[ -z "$did" ] || fail "the pad played although the configuration turns pads off: '$did'"
quit_game
echo "PASS"
