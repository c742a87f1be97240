#!/usr/bin/env bash
# What the page costs, measured in one run of headless Chromium
# (tests/web/costTest.js): the browser's CPU share of one core for the floor
# of showing the game's frames (a bare page putting a fresh 640 x 480 picture
# on a canvas 30 times a second), for the game fighting and for it paused,
# the given seconds each (10 by default), each split by the part of the
# browser that spent it, with the ratios and what the game's own work leaves
# of the goal; the table is written again into docs/webCost.md. The page must
# be built (scripts/web.sh).
# Usage: webCost.sh [seconds]
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$ROOT/tests/web/pageServer.sh"
DOC="$ROOT/docs/webCost.md"
SECONDS_EACH=${1:-10}

[[ "$SECONDS_EACH" =~ ^[0-9]+$ ]] && [ "$SECONDS_EACH" -ge 1 ] || fail "usage: webCost.sh [seconds]"
require_site "$ROOT/build-web/site"
install_puppeteer
serve_folder "$ROOT" "$(mktemp)"
table=$(mktemp)
load=$(cut -d' ' -f1 /proc/loadavg)
node "$PAGE_TESTS/costTest.js" "http://127.0.0.1:$PORT/build-web/site/" \
    "http://127.0.0.1:$PORT/tests/web/floor.html" "$SECONDS_EACH" "$table"
{
    echo "# What the page costs"
    echo
    echo "Written by \`bash scripts/webCost.sh\` on $(date -u +%Y-%m-%d), $(nproc) cores (load average $load" \
        "as it began), $(/usr/bin/chromium --version 2>/dev/null | head -n 1) headless with" \
        "\`--disable-gpu\`: the CPU time of all of the browser's processes over $SECONDS_EACH s of each page," \
        "as a share of one core. The floor is the least a page can do to show the game's frames; both floors" \
        "and the game show their pictures at the same size, sharp (\`image-rendering: pixelated\`). The parts" \
        "are the threads' shares: the page's main thread (its scripts and wasm), compositing (the renderer's" \
        "compositor and the GPU process), the sound (the renderer's audio output and the audio service), the" \
        "browser's polling for pads, and the rest. The game's own program is the time it ran between its" \
        "turns, without the platform's copies onto the screen."
    echo
    cat "$table"
} >"$DOC"
rm -f "$table"
echo "written to $DOC"
