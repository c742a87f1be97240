# Sourced by the page's test and measuring scripts: puppeteer-core installed
# from the lock file (it only drives a browser and cannot download one here),
# and a folder served on a free localhost port. serve_folder <folder> <log>
# sets PORT and stops the server when the script exits.

PAGE_TESTS=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

fail() {
    echo "$(basename "$0"): $*" >&2
    exit 1
}

require_site() {
    [ -f "$1/index.html" ] || fail "no page in $1: build it with scripts/web.sh"
}

install_puppeteer() {
    command -v npm >/dev/null || fail "npm is missing"
    [ -x /usr/bin/chromium ] || fail "Debian's chromium is missing: apt-get install chromium"
    if [ ! -d "$PAGE_TESTS/node_modules/puppeteer-core" ] ||
        [ "$PAGE_TESTS/package-lock.json" -nt "$PAGE_TESTS/node_modules/.package-lock.json" ]; then
        (cd "$PAGE_TESTS" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
    fi
}

# A port the system picks, so that runs side by side do not meet.
serve_folder() {
    local folder=$1 log=$2
    PORT=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    python3 -m http.server "$PORT" --bind 127.0.0.1 --directory "$folder" >"$log" 2>&1 &
    SERVER=$!
    trap 'kill "$SERVER" 2>/dev/null || true' EXIT
    for _ in $(seq 50); do
        python3 -c "import socket; socket.create_connection(('127.0.0.1', $PORT))" 2>/dev/null && return
        sleep 0.1
    done
    fail "the server on port $PORT did not start"
}
