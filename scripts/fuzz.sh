#!/usr/bin/env bash
# Fuzzes the configuration reader and the picture-file check with libFuzzer,
# each for SECONDS (default 30), in a clang build with AddressSanitizer and
# UBSan of its own (build-fuzz). Fails when either target finds a fault; the
# input that caused it is left in build-fuzz/findings/.
set -euo pipefail

SECONDS_EACH=${1:-30}
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build-fuzz"

(cd "$ROOT" && cmake --preset fuzz >/dev/null)
cmake --build "$BUILD" -j "$(nproc)" --target configFuzz datafileFuzz datafileSeeds

mkdir -p "$BUILD/corpus/config" "$BUILD/corpus/datafile" "$BUILD/findings"
cp "$ROOT/broxConfig.txt" "$BUILD/corpus/config/shipped"
"$BUILD/tests/fuzz/datafileSeeds" "$BUILD/corpus/datafile"

status=0
run() {
    local target=$1
    shift
    echo "== $target for ${SECONDS_EACH}s"
    "$BUILD/tests/fuzz/$target" -max_total_time="$SECONDS_EACH" -timeout=10 \
        -artifact_prefix="$BUILD/findings/$target-" -print_final_stats=1 "$@" ||
        status=1
}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
run configFuzz -dict="$ROOT/tests/fuzz/config.dict" "$BUILD/corpus/config"
run datafileFuzz -max_len=16384 "$BUILD/corpus/datafile"
exit $status
