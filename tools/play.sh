#!/usr/bin/env bash
# Sets everything up and starts the game in the run folder.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
cd "$RUN"
exec "$BUILD/brox"
