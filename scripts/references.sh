#!/usr/bin/env bash
# The players' references, written from the game's table of settings
# (src/shell/configTable.cpp) by configdoc: docs/settings.md, the manual
# page's CONFIGURATION section and the Windows README.txt's Configuration
# section. Edit the table, then run this.
#   bash scripts/references.sh                     writes them again
#   bash scripts/references.sh --check [CONFIGDOC] fails when one differs
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
FILES=(docs/settings.md packaging/debian/brox.6 packaging/windows/README.txt)

check=false
if [ "${1:-}" = --check ]; then
    check=true
    shift
fi
TOOL=${1:-}
if [ -z "$TOOL" ]; then
    TOOL="$ROOT/build/assets/configdoc"
    [ -f "$ROOT/build/CMakeCache.txt" ] || (cd "$ROOT" && cmake --preset default >/dev/null)
    cmake --build "$ROOT/build" --target configdoc >/dev/null
fi

generate() {
    case "$1" in
        *.md) "$TOOL" markdown ;;
        *.6) "$TOOL" man "$ROOT/$1" ;;
        *.txt) "$TOOL" text "$ROOT/$1" ;;
    esac
}

status=0
for file in "${FILES[@]}"; do
    written=$(mktemp)
    generate "$file" >"$written"
    if ! $check; then
        cat "$written" >"$ROOT/$file"
    elif ! cmp -s "$written" "$ROOT/$file"; then
        echo "references.sh: $file is not what the table of settings gives; run: bash scripts/references.sh" >&2
        diff "$ROOT/$file" "$written" >&2 || true
        status=1
    fi
    rm -f "$written"
done
exit $status
