# Helpers for the real-window tests: a private Xvfb display, the game started
# in a fresh run folder, and waits that always have a deadline.
# Sourced by the *Test.sh scripts with: brox binary, picData.dat, broxConfig.txt;
# the sounds are taken from beside the pictures.

set -u

BROX_BIN=$1
PIC_DATA=$2
CONFIG=$3
SND_DATA=
[ -n "$PIC_DATA" ] && SND_DATA="$(dirname "$PIC_DATA")/sndData.dat"
WORK=$(mktemp -d /tmp/broxwin.XXXXXX)
XVFB_PID=
GAME_PID=

fail() {
    echo "FAIL: $*" >&2
    [ -f "$WORK/game.out" ] && sed 's/^/  game: /' "$WORK/game.out" >&2
    [ -f "$WORK/xvfb.log" ] && sed 's/^/  Xvfb: /' "$WORK/xvfb.log" >&2
    exit 1
}

cleanup() {
    local job
    for job in $(jobs -p); do kill "$job" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

# A sanitized game leaks only in Allegro's sound driver; see tools/lsan.supp.
export LSAN_OPTIONS=${LSAN_OPTIONS:-fast_unwind_on_malloc=0:print_suppressions=0:suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../tools" && pwd)/lsan.supp}

# ALSA plays the game's sound on the device this file names: nowhere, as on a
# machine with a sound card that nobody listens to.
export ALSA_CONFIG_PATH="$WORK/asound.conf"
echo 'pcm.!default { type null }' >"$ALSA_CONFIG_PATH"

# From the next start on, ALSA writes what the game plays into the file.
sound_to_file() {
    printf 'pcm.!default {\n type file\n slave.pcm { type null }\n file "%s"\n format "raw"\n}\n' \
        "$1" >"$ALSA_CONFIG_PATH"
}

# Repeats a command until it succeeds or the deadline (seconds) passes.
wait_for() {
    local deadline=$(( $(date +%s) + $1 ))
    shift
    until "$@"; do
        [ "$(date +%s)" -ge "$deadline" ] && return 1
        sleep 0.1
    done
}

start_display() {
    local n
    for n in $(seq 90 140); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
        XVFB_PID=$!
        export DISPLAY=":$n"
        if wait_for 10 xdpyinfo_ok; then return 0; fi
        kill "$XVFB_PID" 2>/dev/null
    done
    fail "no Xvfb display could be started"
}

xdpyinfo_ok() {
    xdotool getmouselocation >/dev/null 2>&1
}

# Starts the game in a run folder holding the picture file and configuration.
start_game() {
    mkdir -p "$WORK/run"
    [ -n "$PIC_DATA" ] && cp "$PIC_DATA" "$WORK/run/picData.dat"
    [ -n "$SND_DATA" ] && cp "$SND_DATA" "$WORK/run/sndData.dat"
    [ -n "$CONFIG" ] && cp "$CONFIG" "$WORK/run/broxConfig.txt"
    (cd "$WORK/run" && exec "$BROX_BIN") >"$WORK/game.out" 2>&1 &
    GAME_PID=$!
}

game_window() {
    xdotool search --onlyvisible --name '^Brox$' 2>/dev/null | head -n 1
}

window_shown() {
    [ -n "$(game_window)" ]
}

window_shown_or_game_ended() {
    window_shown || game_stopped
}

# Now and then the game library cannot reach a display that has just been
# started; the game then ends at once with its message, and is started again.
wait_for_window() {
    local attempt
    for attempt in 1 2 3; do
        wait_for 20 window_shown_or_game_ended || fail "the game window did not appear"
        window_shown && break
        grep -q 'Unable to start the Allegro game library' "$WORK/game.out" || break
        echo "the game could not reach the display (attempt $attempt); starting it again" >&2
        wait "$GAME_PID" 2>/dev/null
        sleep 1
        start_game
    done
    window_shown || fail "the game window did not appear"
    WINDOW=$(game_window)
    xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
}

# An ended child stays a zombie until waited for, so kill -0 cannot tell.
game_running() {
    ps -o stat= -p "$GAME_PID" 2>/dev/null | grep -qv '^Z'
}

game_stopped() {
    ! game_running
}

# Waits for the game to end and checks its exit code.
expect_exit_code() {
    wait_for 20 game_stopped || fail "the game did not end"
    wait "$GAME_PID"
    local code=$?
    GAME_PID=
    [ "$code" -eq "$1" ] || fail "exit code $code, expected $1"
}

screenshot() {
    import -window root "$1"
}

# Prints "r,g,b" of one pixel of a screenshot.
pixel() {
    convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | tail -n 1 |
        sed -E 's/.*\(([0-9]+),([0-9]+),([0-9]+).*/\1,\2,\3/'
}

# Prints "r,g,b" of one screen pixel, read straight from the display.
pixel_now() {
    import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | tail -n 1 |
        sed -E 's/.*\(([0-9]+),([0-9]+),([0-9]+).*/\1,\2,\3/'
}

pixel_is() {
    [ "$(pixel_now "$1" "$2")" = "$3" ]
}

pixel_is_not() {
    ! pixel_is "$@"
}

# The blobs of one exact colour in a screenshot: "area x y" a line, x and y
# the blob's centre.
blobs() {
    convert "$1" -fill black +opaque "rgb($2)" -fill white -opaque "rgb($2)" \
        -define connected-components:verbose=true -connected-components 8 null: |
        awk '$NF == "srgb(255,255,255)" { split($3, c, ","); printf "%d %d %d\n", $4, c[1], c[2] }'
}

# How many blobs of the colour cover at least the given area.
count_blobs() {
    blobs "$1" "$2" | awk -v min="$3" '$1 >= min { n++ } END { print n + 0 }'
}

# "x y" of the centre of the largest blob of the colour.
largest_blob_centre() {
    blobs "$1" "$2" | sort -n | tail -n 1 | cut -d' ' -f2-
}

# How many blobs of the colour, of at least the given area, lie farther than
# the given distance from a point.
count_blobs_away() {
    blobs "$1" "$2" | awk -v min="$3" -v x="$4" -v y="$5" -v r="$6" \
        '$1 >= min && ($2 - x) ^ 2 + ($3 - y) ^ 2 > r * r { n++ } END { print n + 0 }'
}

# A player's key press: held long enough for the game to see it.
tap() {
    xdotool keydown "$1"
    sleep 0.12
    xdotool keyup "$1"
}

click_button() {
    xdotool mousedown "$1"
    sleep 0.12
    xdotool mouseup "$1"
}
