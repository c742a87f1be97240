#!/usr/bin/env bash
# Benchmarks of the simulation step and the drawn frame, in a Release build
# of their own (build-bench). Each result also shows its CPU time as a share
# of the 33.3 ms frame budget (budget%). Extra arguments go to Google
# Benchmark, e.g. --benchmark_filter=Step or --benchmark_repetitions=5.
# With --markdown first it prints the results as the table in
# docs/performance.md instead.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build-bench"

(cd "$ROOT" && cmake --preset bench >/dev/null)
# CMake adds the benchmarks only where it finds Google Benchmark.
if grep -q '^benchmark_DIR:PATH=.*NOTFOUND' "$BUILD/CMakeCache.txt"; then
    echo "Google Benchmark is missing: apt-get install libbenchmark-dev" >&2
    exit 1
fi
# The table alone goes to standard output with --markdown.
cmake --build "$BUILD" -j "$(nproc)" --target battleBench >&2
if [ "${1:-}" != --markdown ]; then
    "$BUILD/bench/battleBench" "$@"
    exit
fi
shift
results=$(mktemp)
trap 'rm -f "$results"' EXIT
"$BUILD/bench/battleBench" --benchmark_out="$results" --benchmark_out_format=csv "$@" >/dev/null
# The CSV's columns: name, iterations, real_time, cpu_time, time_unit, ...
awk -F, '
    /^name,/ { table = 1; print "| benchmark | CPU time | budget% |"; print "|---|---|---|"; next }
    table {
        name = $1; gsub(/"/, "", name)
        seconds = $4 * ($5 == "ns" ? 1e-9 : $5 == "us" ? 1e-6 : $5 == "ms" ? 1e-3 : 1)
        if (seconds >= 1e-3) { shown = seconds * 1e3; unit = "ms" } else { shown = seconds * 1e6; unit = "µs" }
        printf "| `%s` | %.3g %s | %.2f %% |\n", name, shown, unit, seconds * 30 * 100
    }' "$results"
