#!/usr/bin/env bash
# Configures and builds Calorix into build/ (or $CALORIX_BUILD_DIR). Extra arguments go to cmake.
# CALORIX_BUILD_TARGET names one target to build instead of all of them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CALORIX_BUILD_DIR:-$root/build}

launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$build" -G Ninja "${launcher[@]}" "$@" >/dev/null
cmake --build "$build" --parallel "$(nproc)" ${CALORIX_BUILD_TARGET:+--target "$CALORIX_BUILD_TARGET"}
