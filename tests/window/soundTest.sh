#!/usr/bin/env bash
# The game's sound as ALSA's file plugin records it: the music plays through
# a fight in which nothing happens; with musicVolume 0 such a fight is silent,
# while the round's title and the bolts of a held fire button are heard;
# soundVolume 0 with musicVolume 0 opens no sound device at all; without
# sndData.dat the music plays on after the game says so in one line.
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

# The loudest sample while nothing but the music could sound: after the
# title, too soon for a chaser to reach the fighter.
loudest_while_idle() {
    sleep 1
    local from
    from=$(size_of "$1")
    sleep 0.5
    loudest "$1" "$from" "$(size_of "$1")"
}

with_config_line() {
    cp "$CONFIG" "$WORK/$1.txt"
    echo "$2" >>"$WORK/$1.txt"
    CONFIG="$WORK/$1.txt"
}

start_display
DEFAULT_CONFIG=$CONFIG

music="$WORK/music.raw"
sound_to_file "$music"
start_and_fight
idle=$(loudest_while_idle "$music")
quit_game
echo "with music, loudest sample of an idle fight: $idle"
[ "$idle" -gt 200 ] || fail "the music was not heard (loudest sample $idle)"

audio="$WORK/audio.raw"
sound_to_file "$audio"
with_config_line no-music "musicVolume 0"
start_and_fight
title=$(loudest "$audio")
[ "$title" -gt 1000 ] || fail "the round's title was not heard (loudest sample $title)"
quiet=$(loudest_while_idle "$audio")
fire_from=$(size_of "$audio")
hold_fire
fire_to=$(size_of "$audio")
bolts=$(loudest "$audio" "$fire_from" "$fire_to")
quit_game
echo "musicVolume 0, loudest samples: title $title, before firing $quiet, while firing $bolts"
[ "$quiet" -lt 50 ] || fail "sound before anything happened"
[ "$bolts" -gt 500 ] || fail "holding the fire button was not heard"
[ ! -s "$WORK/game.out" ] || fail "the game wrote to its output with a sound device there"

silent="$WORK/silent.raw"
sound_to_file "$silent"
with_config_line quiet "soundVolume 0"
start_and_fight
hold_fire
quit_game
[ "$(size_of "$silent")" -eq 0 ] || fail "soundVolume 0 and musicVolume 0 still opened the sound device"
[ ! -s "$WORK/game.out" ] || fail "soundVolume 0 is not worth a message"
echo "soundVolume 0 and musicVolume 0: no sound device opened"

rm -rf "$WORK/run"
SND_DATA=
CONFIG=$DEFAULT_CONFIG
without="$WORK/without.raw"
sound_to_file "$without"
start_and_fight
idle=$(loudest_while_idle "$without")
quit_game
[ "$(cat "$WORK/game.out")" = "Playing without sound effects: sndData.dat was not found" ] ||
    fail "without sndData.dat the game did not say so in one line"
[ "$idle" -gt 200 ] || fail "without sndData.dat the music stopped too"
echo "no sndData.dat: said so in one line, and the music played on"
echo "PASS"
