#!/usr/bin/env bash
# Benchmarks of the simulation step and the drawn frame, in a Release build
# of their own (build-bench). Each result also shows its CPU time as a share
# of the 33.3 ms frame budget (budget%). Extra arguments go to Google
# Benchmark, e.g. --benchmark_filter=Step or --benchmark_repetitions=5.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build-bench"

(cd "$ROOT" && cmake --preset bench >/dev/null)
# CMake adds the benchmarks only where it finds Google Benchmark.
if grep -q '^benchmark_DIR:PATH=.*NOTFOUND' "$BUILD/CMakeCache.txt"; then
    echo "Google Benchmark is missing: apt-get install libbenchmark-dev" >&2
    exit 1
fi
cmake --build "$BUILD" -j "$(nproc)" --target battleBench
"$BUILD/bench/battleBench" "$@"
