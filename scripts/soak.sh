#!/usr/bin/env bash
# The long soak: the whole game played by a seeded random player for STEPS
# simulation steps (default 100,000) under AddressSanitizer, LeakSanitizer
# and UBSan, in the sanitizer build of scripts/sanitize.sh (build-sanitize).
set -euo pipefail

STEPS=${1:-100000}
BROX_SOAK_STEPS="$STEPS" exec bash "$(dirname "${BASH_SOURCE[0]}")/sanitize.sh" -L '^soak$' --verbose
