#!/usr/bin/env bash
# Installs what is needed, builds into build/ (or $CALORIX_BUILD_DIR) for the /usr prefix and
# makes the Debian package build/calorix_<version>_<arch>.deb. The build folder is the one the
# tests use, so nothing already built is compiled again.
# Install it with: sudo apt install ./build/calorix_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CALORIX_BUILD_DIR:-$root/build}
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" -DCMAKE_INSTALL_PREFIX=/usr
rm -f "$build"/calorix_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/calorix_*.deb
