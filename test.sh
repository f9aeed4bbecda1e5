#!/usr/bin/env bash
# Sets everything up on a fresh Debian machine and runs the whole test suite:
# the normal build, the Windows build of everything below the window tested under Wine, then
# the same tests built with the address and undefined-behaviour sanitizers, then the fuzz
# harnesses for a short while each when clang is present.
set -euo pipefail
cd "$(dirname "$0")"

tools/install-deps.sh --windows

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

echo "== Build"
# Unity builds (the sources of a target compiled a batch at a time) halve the build time.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELKOR_BENCH=ON -DCMAKE_UNITY_BUILD=ON \
    >/dev/null
cmake --build build -j"$jobs"

echo "== Tests"
(cd build && ctest --output-on-failure -j"$jobs" --timeout 600)

if [ "${VELKOR_SKIP_WINDOWS:-0}" != 1 ] && command -v x86_64-w64-mingw32-g++-posix >/dev/null &&
    [ -x /usr/lib/wine/wine64 ]; then
    echo "== Windows build (mingw-w64) and tests under Wine"
    tools/windows-check.sh build
fi

if [ "${VELKOR_SKIP_SANITIZE:-0}" != 1 ]; then
    echo "== Sanitizer build"
    cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DVELKOR_SANITIZE=ON \
        -DVELKOR_BENCH=OFF -DCMAKE_UNITY_BUILD=ON >/dev/null
    cmake --build build-sanitize -j"$jobs"
    echo "== Tests under the sanitizers"
    export ASAN_OPTIONS=detect_leaks=0
    (cd build-sanitize && ctest --output-on-failure -j"$jobs" --timeout 900)
fi

if command -v clang++ >/dev/null && [ "${VELKOR_SKIP_FUZZ:-0}" != 1 ]; then
    echo "== Fuzzing (about 20 s a harness)"
    fuzz/run.sh
fi
