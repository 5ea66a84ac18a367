#!/usr/bin/env bash
# CI stage: the thread-heavy tests built with ThreadSanitizer. They are chosen by name: every
# test whose name contains one of the words in CALORIX_TSAN_TESTS (a ctest -R regex) runs here,
# so a new test about the file browser, its worker or the devices joins by its name alone.
# Build folder: build-tsan/ (or $CALORIX_CI_BUILD_ROOT/build-tsan).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CALORIX_CI_BUILD_ROOT:-$root}/build-tsan
regex=${CALORIX_TSAN_TESTS:-dossview|thumbnail|stress|hotplug|removable|tethra|hostiletrees}
CALORIX_BUILD_DIR=$build "$root/scripts/build.sh" -DCALORIX_SANITIZE=thread \
    -DCALORIX_BUILD_BENCH=OFF
source "$root/scripts/ci-sanitizer-env.sh"
echo "ThreadSanitizer runs: $(ctest --test-dir "$build" -N -R "$regex" | grep -c 'Test *#') tests matching '$regex'"
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" --no-tests=error -R "$regex"
