#!/usr/bin/env bash
# Installs what is needed, builds, and starts Calorix on the built-in demo instrument.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CALORIX_BUILD_DIR:-$root/build}
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
cd "$build/bin"
exec ./calorix
