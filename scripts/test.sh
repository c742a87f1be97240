#!/usr/bin/env bash
# Sets everything up and runs every test: unit, rendering and real-window.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh" test
cd "$BUILD"
ctest --output-on-failure --no-tests=error -j "$(nproc)"
