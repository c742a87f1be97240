#!/usr/bin/env bash
# The headless tests (unit, render, soak, replay and fuzz) built with
# AddressSanitizer, LeakSanitizer and UBSan, in a build of their own
# (build-sanitize). Extra arguments go to ctest, e.g. -L replay (a second
# -L narrows the first).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build-sanitize"

(cd "$ROOT" && cmake --preset sanitize >/dev/null)
cmake --build "$BUILD" -j "$(nproc)" --target headless_tests

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:halt_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1:suppressions=$ROOT/tests/support/ubsan.supp}
cd "$BUILD"
ctest --output-on-failure -j "$(nproc)" -L '^(unit|render|soak|replay|fuzz)$' "$@"
