#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang and runs each for FUZZ_SECONDS (default 20) under
# the address and undefined-behaviour sanitizers, starting from its seed corpus in
# fuzz/corpus/NAME. New inputs go to build-fuzz/runs/NAME, never into the source tree; a
# crashing input is kept in build-fuzz/runs/artifacts/. Prints the executions of each harness
# and fails when any of them crashed.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-20}
harnesses=(axis link loader block rules)

echo "== Fuzz build (clang)"
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELKOR_FUZZ=ON -DVELKOR_TESTS=OFF -DVELKOR_BENCH=OFF -DCMAKE_UNITY_BUILD=ON >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${harnesses[@]/#/fuzz_}"

runs=build-fuzz/runs
rm -rf "$runs"
mkdir -p "$runs/artifacts"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=()
for name in "${harnesses[@]}"; do
    mkdir -p "$runs/$name"
    log="$runs/$name.log"
    status=0
    # -timeout is wall-clock time: on a busy machine one paint of thousands of labels under the
    # sanitizers takes many seconds, which is slow but not a hang.
    "build-fuzz/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=2048 \
        -max_len=4096 -print_final_stats=1 -artifact_prefix="$runs/artifacts/$name-" \
        "$runs/$name" "fuzz/corpus/$name" >"$log" 2>&1 || status=$?
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    if [ "$status" -ne 0 ]; then
        failed+=("$name")
        echo "fuzz_$name: CRASH after ${executions:-?} executions (exit $status)"
        grep -E "ERROR|runtime error|SUMMARY|Test unit written" "$log" | head -20 || true
    else
        echo "fuzz_$name: ${executions:-?} executions in ${seconds} s, no crash"
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "Fuzzing found crashes in: ${failed[*]} (inputs in $runs/artifacts)"
    exit 1
fi
