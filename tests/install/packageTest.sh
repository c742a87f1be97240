#!/usr/bin/env bash
# The Debian package as a player gets it (run as root, by CI): built,
# installed with apt, listed for software centres, started through
# /usr/games/brox, and removed without a trace.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)

bash "$ROOT/scripts/package.sh"
DEB=$(ls "$ROOT"/build-package/brox_*_amd64.deb)
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$DEB" >/dev/null
FILES=$(mktemp)
trap 'rm -f "$FILES"' EXIT
dpkg -L brox >"$FILES"
# Screenshots are named by the game's web address, which is not fetched here.
appstreamcli validate --pedantic --no-net /usr/share/metainfo/*brox*.metainfo.xml ||
    { echo "FAIL: the AppStream metainfo does not validate" >&2; exit 1; }
desktop-file-validate /usr/share/applications/brox.desktop ||
    { echo "FAIL: the desktop entry does not validate" >&2; exit 1; }
bash "$ROOT/tests/install/launcherTest.sh" /usr/games/brox
DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq brox >/dev/null
left=$(while read -r path; do
    if [ -f "$path" ] || [ -L "$path" ]; then echo "$path"; fi
done <"$FILES")
[ -z "$left" ] || { echo "FAIL: left behind after removal: $left" >&2; exit 1; }
echo "package: installed, played and removed without leaving a file"
