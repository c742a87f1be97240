#!/usr/bin/env bash
# The game's sound as ALSA's file plugin records it: the round's title and the
# bolts of a held fire button are heard; soundVolume 0 plays nothing at all;
# without sndData.dat the game plays silently after saying so in one line.
source "$(dirname "$0")/../support/windowLib.sh"

TITLE_BORDER="255,195,60"

# The loudest sample of a recording, between two byte offsets (to its end
# without the second). Allegro mixes 16-bit unsigned stereo, silence at 32768.
loudest() {
    python3 - "$@" <<'PYTHON'
import os, struct, sys
path = sys.argv[1]
data = open(path, 'rb').read() if os.path.exists(path) else b''
start = int(sys.argv[2]) if len(sys.argv) > 2 else 0
end = int(sys.argv[3]) if len(sys.argv) > 3 else len(data)
data = data[start // 4 * 4:end // 4 * 4]
values = struct.unpack('<%dH' % (len(data) // 2), data)
print(max((abs(v - 32768) for v in values), default=0))
PYTHON
}

size_of() {
    stat -c %s "$1" 2>/dev/null || echo 0
}

start_and_fight() {
    start_game
    wait_for_window
    wait_for 5 pixel_is 400 265 "$TITLE_BORDER" || fail "round 0's title banner was not shown"
    wait_for 5 pixel_is_not 400 265 "$TITLE_BORDER" || fail "the fight did not begin"
    xdotool mousemove --sync 20 580
}

quit_game() {
    xdotool keydown Escape
    expect_exit_code 0
    xdotool keyup Escape
}

hold_fire() {
    xdotool mousedown 1
    sleep 1
    xdotool mouseup 1
    sleep 0.3
}

start_display

audio="$WORK/audio.raw"
sound_to_file "$audio"
start_and_fight
title=$(loudest "$audio")
[ "$title" -gt 1000 ] || fail "the round's title was not heard (loudest sample $title)"
# Long enough for the title to end, too short for a chaser to reach the fighter.
sleep 1
quiet_from=$(size_of "$audio")
sleep 0.5
fire_from=$(size_of "$audio")
quiet=$(loudest "$audio" "$quiet_from" "$fire_from")
hold_fire
fire_to=$(size_of "$audio")
bolts=$(loudest "$audio" "$fire_from" "$fire_to")
quit_game
echo "loudest samples: title $title, before firing $quiet, while firing $bolts"
[ "$quiet" -lt 50 ] || fail "sound before anything happened"
[ "$bolts" -gt 500 ] || fail "holding the fire button was not heard"
[ ! -s "$WORK/game.out" ] || fail "the game wrote to its output with a sound device there"

silent="$WORK/silent.raw"
sound_to_file "$silent"
cp "$CONFIG" "$WORK/quiet.txt"
echo "soundVolume 0" >>"$WORK/quiet.txt"
CONFIG="$WORK/quiet.txt"
start_and_fight
hold_fire
quit_game
[ "$(size_of "$silent")" -eq 0 ] || fail "soundVolume 0 still opened the sound device"
[ ! -s "$WORK/game.out" ] || fail "soundVolume 0 is not worth a message"
echo "soundVolume 0: no sound device opened"

rm -rf "$WORK/run"
SND_DATA=
CONFIG=$3
start_and_fight
hold_fire
quit_game
[ "$(size_of "$silent")" -eq 0 ] || fail "the game without sndData.dat played sound"
[ "$(cat "$WORK/game.out")" = "Playing without sound: sndData.dat was not found" ] ||
    fail "without sndData.dat the game did not say so in one line"
echo "no sndData.dat: played silently after one line"
echo "PASS"
