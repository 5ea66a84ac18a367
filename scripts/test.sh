#!/usr/bin/env bash
# Installs what is needed, builds, and runs the whole test suite headless.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${CALORIX_BUILD_DIR:-$root/build}" --output-on-failure --parallel "$(nproc)"
