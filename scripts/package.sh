#!/usr/bin/env bash
# Builds the Debian package build-package/brox_<version>_amd64.deb, with
# Debian's hardening flags, and checks it with lintian.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build-package"
source "$ROOT/scripts/packages.sh"
install_missing_packages "${GAME_PACKAGES[@]}" dpkg-dev lintian desktop-file-utils appstream

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
BROX_DEB_CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
BROX_DEB_LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export BROX_DEB_CXXFLAGS BROX_DEB_LDFLAGS
(cd "$ROOT" && cmake --preset package >/dev/null)
cmake --build "$BUILD" -j "$(nproc)" --target brox brox-settings picdata snddata installables
(cd "$BUILD" && cpack -G DEB >/dev/null)
DEB=$(ls "$BUILD"/brox_*_amd64.deb)
echo "Built $DEB"
lintian --fail-on error --display-info "$DEB"
