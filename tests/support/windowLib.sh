# Helpers for the real-window tests: a private Xvfb display, the game started
# in a fresh run folder, and waits that always have a deadline.
# Sourced by the *Test.sh scripts with: brox binary, picData.dat, broxConfig.txt
# (an empty path leaves that file out); the sounds are taken from beside the
# pictures. Safe under set -euo pipefail.

set -u

BROX_BIN=$1
PIC_DATA=$2
CONFIG=$3
SND_DATA=
if [ -n "$PIC_DATA" ]; then SND_DATA="$(dirname "$PIC_DATA")/sndData.dat"; fi
WORK=$(mktemp -d /tmp/broxwin.XXXXXX)
XVFB_PID=
GAME_PID=

fail() {
    echo "FAIL: $*" >&2
    if [ -f "$WORK/game.out" ]; then sed 's/^/  game: /' "$WORK/game.out" >&2; fi
    if [ -f "$WORK/xvfb.log" ]; then sed 's/^/  Xvfb: /' "$WORK/xvfb.log" >&2; fi
    if [ -f "$WORK/openbox.log" ]; then sed 's/^/  Openbox: /' "$WORK/openbox.log" >&2; fi
    exit 1
}

# Fails at once, with the package to install, when a command is missing.
require_tools() {
    local tool
    local -A package=([Xvfb]=xvfb [xdotool]=xdotool [import]=imagemagick [convert]=imagemagick
        [gdb]=gdb [bc]=bc [xprop]=x11-utils
        [openbox]=openbox)
    for tool in "$@"; do
        command -v "$tool" >/dev/null ||
            fail "$tool is missing: apt-get install ${package[$tool]:-$tool}"
    done
}

# Ends a background process: asked first, then, since Allegro's own handler
# of TERM can hang once its display is gone, killed outright after 3 seconds.
stop_process() {
    local waited
    kill "$1" 2>/dev/null || return 0
    for ((waited = 0; waited < 30; waited++)); do
        process_running "$1" || return 0
        sleep 0.1
    done
    kill -KILL "$1" 2>/dev/null || true
}

# Ends the game (first, while its display is still there), Xvfb and any
# other background job, and removes the work folder, however the script
# ends: normally, on failure, or interrupted.
cleanup() {
    local pids=() pid
    mapfile -t pids <<<"$(jobs -p)"
    if [ -n "$GAME_PID" ]; then stop_process "$GAME_PID"; fi
    for pid in "${pids[@]}"; do
        if [ -n "$pid" ]; then stop_process "$pid"; fi
    done
    wait 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# A sanitized game leaks only in Allegro's sound driver; see tests/support/lsan.supp.
export LSAN_OPTIONS=${LSAN_OPTIONS:-fast_unwind_on_malloc=0:print_suppressions=0:suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/lsan.supp}

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
        if [ "$(date +%s)" -ge "$deadline" ]; then return 1; fi
        sleep 0.1
    done
}

# The display's size is the argument, 1024x768 without one.
start_display() {
    require_tools Xvfb xdotool
    local n
    for ((n = 90; n <= 140; n++)); do
        if [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; then continue; fi
        Xvfb ":$n" -screen 0 "${1:-1024x768}x24" -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
        XVFB_PID=$!
        export DISPLAY=":$n"
        if wait_for 10 xdpyinfo_ok; then return 0; fi
        kill "$XVFB_PID" 2>/dev/null || true
    done
    fail "no Xvfb display could be started"
}

xdpyinfo_ok() {
    xdotool getmouselocation >/dev/null 2>&1
}

# A window manager on the display, as on a desktop: Openbox, which keeps
# full-screen windows at the monitor's size and switches windows on Alt+Tab.
start_window_manager() {
    require_tools openbox xprop
    openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
    wait_for 10 window_manager_running || fail "Openbox did not start"
}

window_manager_running() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

# Starts the game in a run folder holding the picture file and configuration.
start_game() {
    mkdir -p "$WORK/run"
    if [ -n "$PIC_DATA" ]; then cp "$PIC_DATA" "$WORK/run/picData.dat"; fi
    if [ -n "$SND_DATA" ]; then cp "$SND_DATA" "$WORK/run/sndData.dat"; fi
    if [ -n "$CONFIG" ]; then cp "$CONFIG" "$WORK/run/broxConfig.txt"; fi
    (cd "$WORK/run" && exec "$BROX_BIN") >"$WORK/game.out" 2>&1 &
    GAME_PID=$!
}

# The game's window id, or nothing while it has none.
game_window() {
    local windows
    windows=$(xdotool search --onlyvisible --name '^Brox$' 2>/dev/null) || return 0
    echo "${windows%%$'\n'*}"
}

window_shown() {
    [ -n "$(game_window)" ]
}

window_shown_or_game_ended() {
    window_shown || game_stopped
}

# The game itself tries again when the display drops its first connection
# (as Xvfb does while it resets after its last client left), so one start
# must do.
wait_for_window() {
    wait_for 20 window_shown_or_game_ended || fail "the game window did not appear"
    window_shown || fail "the game window did not appear"
    WINDOW=$(game_window)
    xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
}

# An ended child stays a zombie until waited for, so kill -0 cannot tell.
process_running() {
    local stat
    stat=$(ps -o stat= -p "$1" 2>/dev/null) || return 1
    [[ -n $stat && $stat != Z* ]]
}

game_running() {
    process_running "$GAME_PID"
}

game_stopped() {
    ! game_running
}

# Waits for the game to end and checks its exit code.
expect_exit_code() {
    wait_for 20 game_stopped || fail "the game did not end"
    local code=0
    wait "$GAME_PID" || code=$?
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

# Whether a region of the screen ("WxH+X+Y") stays the same for half a second.
region_stands() {
    import -window root -crop "$1" +repage "$WORK/region-a.png"
    sleep 0.5
    import -window root -crop "$1" +repage "$WORK/region-b.png"
    cmp -s "$WORK/region-a.png" "$WORK/region-b.png"
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
