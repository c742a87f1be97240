#!/usr/bin/env bash
# The long soak: the whole game played by a seeded random player for STEPS
# simulation steps (default 100,000) under AddressSanitizer, LeakSanitizer
# and UBSan, in a build of its own (build-soak).
set -euo pipefail

STEPS=${1:-100000}
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build-soak"

cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBROX_SANITIZE=ON >/dev/null
cmake --build "$BUILD" -j "$(nproc)" --target brox_tests

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:halt_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1:suppressions=$ROOT/tools/ubsan.supp}
BROX_SOAK_STEPS="$STEPS" "$BUILD/tests/brox_tests" --gtest_filter='SoakTest.*'
