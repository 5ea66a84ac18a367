#!/usr/bin/env bash
# CI stage: the whole test suite built with AddressSanitizer + UndefinedBehaviorSanitizer,
# LeakSanitizer on. Build folder: build-asan/ (or $CALORIX_CI_BUILD_ROOT/build-asan).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CALORIX_CI_BUILD_ROOT:-$root}/build-asan
CALORIX_BUILD_DIR=$build "$root/scripts/build.sh" -DCALORIX_SANITIZE=address \
    -DCALORIX_BUILD_BENCH=OFF
source "$root/scripts/ci-sanitizer-env.sh"
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" --no-tests=error
