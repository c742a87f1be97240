#!/usr/bin/env bash
# The whole-game replay on its own: builds the tests (build/) and plays the
# scripted game against tests/replay/expected.txt. With --rewrite it records
# the game as it now plays instead; do that only for an intended change of
# behaviour, and say in the commit why the game changed.
# Usage: bash scripts/replay.sh [--rewrite]
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build"

case "${1:-}" in
    "") rewrite=0 ;;
    --rewrite) rewrite=1 ;;
    *) echo "usage: bash scripts/replay.sh [--rewrite]" >&2; exit 2 ;;
esac

(cd "$ROOT" && cmake --preset default >/dev/null)
cmake --build "$BUILD" -j 2 --target brox_replay_tests
BROX_REPLAY_REWRITE=$rewrite "$BUILD/tests/brox_replay_tests"
