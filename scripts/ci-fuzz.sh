#!/usr/bin/env bash
# CI stage: builds the libFuzzer targets with clang, ASan and UBSan, and runs each for
# CALORIX_FUZZ_SECONDS (default 60) from its generated seed corpus. Any crash, hang (one input
# over 10 s), leak or sanitizer report fails the stage; the input is kept in
# build-fuzz/fuzz/artifacts/. Build folder: build-fuzz/ (or $CALORIX_CI_BUILD_ROOT/build-fuzz).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CALORIX_CI_BUILD_ROOT:-$root}/build-fuzz
seconds=${CALORIX_FUZZ_SECONDS:-60}

launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$build" -G Ninja "${launcher[@]}" -DCMAKE_CXX_COMPILER=clang++ \
    -DCALORIX_BUILD_FUZZ=ON -DCALORIX_SANITIZE=address -DCALORIX_BUILD_TESTS=OFF \
    -DCALORIX_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target fuzzers

source "$root/scripts/ci-sanitizer-env.sh"
# Fuzzing wants speed: fast stack unwinding, and libFuzzer's own leak check after each input
# instead of the one at exit (Qt's platform plugin stays allocated at exit, see lsan.supp).
export ASAN_OPTIONS="detect_leaks=1:leak_check_at_exit=0"

artifacts=$build/fuzz/artifacts
mkdir -p "$artifacts"
summary=()
while read -r name corpus dict; do
    work=$build/fuzz/run/$name
    mkdir -p "$work"
    args=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
          -artifact_prefix="$artifacts/$name-")
    [ "$dict" != "-" ] && args+=(-dict="$dict")
    log=$build/fuzz/$name.log
    echo "--- $name for ${seconds}s"
    if ! "$build/bin/$name" "${args[@]}" "$work" "$corpus" >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "$name FAILED; inputs in $artifacts"
        exit 1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    summary+=("$name: $runs executions in ${seconds}s, 0 crashes")
done <"$build/fuzz/targets.txt"
printf '%s\n' "${summary[@]}"
