#!/usr/bin/env bash
# Installs what the game needs, builds it, and opens the settings window on
# the run folder's broxConfig.txt, the one scripts/play.sh starts the game
# with; arguments (--show, --set KEY=VALUE ...) go to brox-settings.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh" play
cd "$RUN"
exec "$BUILD/brox-settings" "$@"
