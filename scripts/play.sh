#!/usr/bin/env bash
# Installs what the game needs, builds the game and its pictures, and starts
# it in the run folder.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh" play
cd "$RUN"
exec "$BUILD/brox"
