#!/usr/bin/env bash
# A long session of the page in headless Chromium (tests/web/soakTest.js):
# scripted play for the given seconds (600 by default), after which the page's
# memory must not have grown by 5 % since the first minute (a third of a short
# run), the game must have kept 30 steps a second and the sound must never
# have run dry. The page must be built (scripts/web.sh); web.sh --test runs
# a 90-second version.
# Usage: webSoak.sh [seconds]
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$ROOT/tests/web/pageServer.sh"
SECONDS_TO_PLAY=${1:-600}

[[ "$SECONDS_TO_PLAY" =~ ^[0-9]+$ ]] && [ "$SECONDS_TO_PLAY" -ge 60 ] ||
    fail "usage: webSoak.sh [seconds, at least 60]"
require_site "$ROOT/build-web/site"
settle=60
[ "$SECONDS_TO_PLAY" -ge 180 ] || settle=$((SECONDS_TO_PLAY / 3))
install_puppeteer
serve_folder "$ROOT/build-web/site" "$(mktemp)"
timeout $((SECONDS_TO_PLAY + 120)) node "$PAGE_TESTS/soakTest.js" "http://127.0.0.1:$PORT/" "$SECONDS_TO_PLAY" "$settle"
