#!/usr/bin/env bash
# The page in a real browser: checks the site's size, serves it on localhost
# and plays it in headless Chromium with browserTest.js, then on a phone's
# touch screen with touchTest.js; they leave their screenshots in the given
# folder (the phone's in touch/).
# Usage: browserTest.sh <site folder> <screenshot folder>
set -euo pipefail

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
SITE=$(cd "${1:?usage: browserTest.sh <site folder> <screenshot folder>}" && pwd)
SHOTS=${2:?usage: browserTest.sh <site folder> <screenshot folder>}

source "$HERE/pageServer.sh"
require_site "$SITE"

# The whole site, as a host serves it and as it goes over the wire compressed.
SITE_BUDGET=3000000
raw=$(cat "$SITE"/* | wc -c)
packed=$(for file in "$SITE"/*; do gzip -9c "$file"; done | wc -c)
echo "site: $raw bytes, $packed compressed with gzip -9"
[ "$raw" -le "$SITE_BUDGET" ] || fail "the site is over its budget of $SITE_BUDGET bytes"

install_puppeteer
rm -rf "$SHOTS"
mkdir -p "$SHOTS"
serve_folder "$SITE" "$SHOTS/server.log"

timeout 180 node "$HERE/browserTest.js" "http://127.0.0.1:$PORT/" "$SHOTS"
timeout 180 node "$HERE/touchTest.js" "http://127.0.0.1:$PORT/" "$SHOTS/touch"
