#!/usr/bin/env bash
# Installs what is needed, builds what the program and the demo need (the tests, benchmarks and
# other tools are left to scripts/test.sh), and starts Calorix on the built-in demo instrument:
# its SD card (generated once under the build folder) as a removable disk, and its thermal camera.
# Extra TETHRA_ variables in the caller's environment win (see docs/devices.md).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CALORIX_BUILD_DIR:-$root/build}
"$root/scripts/install-deps.sh"
CALORIX_BUILD_TARGET=calorix_run "$root/scripts/build.sh"

card=${TETHRA_DEMO_CARD:-$build/demo-card}
"$build/bin/democard" "$card"

export TETHRA_BACKENDS=${TETHRA_BACKENDS:-demo}
export TETHRA_DEMO_CARD=$card
cd "$build/bin"
exec ./calorix
