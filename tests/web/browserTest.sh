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

fail() {
    echo "browserTest.sh: $*" >&2
    exit 1
}

[ -f "$SITE/index.html" ] || fail "no page in $SITE: build it with scripts/web.sh"
command -v npm >/dev/null || fail "npm is missing"
[ -x /usr/bin/chromium ] || fail "Debian's chromium is missing: apt-get install chromium"

# The whole site, as a host serves it and as it goes over the wire compressed.
SITE_BUDGET=3000000
raw=$(cat "$SITE"/* | wc -c)
packed=$(for file in "$SITE"/*; do gzip -9c "$file"; done | wc -c)
echo "site: $raw bytes, $packed compressed with gzip -9"
[ "$raw" -le "$SITE_BUDGET" ] || fail "the site is over its budget of $SITE_BUDGET bytes"

# puppeteer-core only drives a browser; it cannot download one here.
if [ ! -d "$HERE/node_modules/puppeteer-core" ] ||
    [ "$HERE/package-lock.json" -nt "$HERE/node_modules/.package-lock.json" ]; then
    (cd "$HERE" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
fi

# A port the system picks, so that tests running side by side do not meet.
PORT=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
rm -rf "$SHOTS"
mkdir -p "$SHOTS"
python3 -m http.server "$PORT" --bind 127.0.0.1 --directory "$SITE" >"$SHOTS/server.log" 2>&1 &
SERVER=$!
trap 'kill "$SERVER" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    python3 -c "import socket; socket.create_connection(('127.0.0.1', $PORT))" 2>/dev/null && break
    sleep 0.1
done

timeout 180 node "$HERE/browserTest.js" "http://127.0.0.1:$PORT/" "$SHOTS"
timeout 180 node "$HERE/touchTest.js" "http://127.0.0.1:$PORT/" "$SHOTS/touch"
