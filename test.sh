#!/usr/bin/env bash
# Sets everything up on a fresh Debian machine and runs the whole test suite:
# the normal build with its tests (the archive's also against a throwaway PostgreSQL server), the
# Windows build of everything below the window tested under Wine, then the same tests built with
# the address and undefined-behaviour sanitizers, then the fuzz harnesses for a short while each
# when clang is present.
set -euo pipefail
cd "$(dirname "$0")"

tools/install-deps.sh --windows

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

echo "== Format"
# Every tracked C++ source must be as clang-format (with the repository's .clang-format) leaves
# it; the check names each file it would change.
git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

# The tests never write the home folder: ctest runs with HOME and XDG_CONFIG_HOME on an empty
# read-only folder (the tests point them at folders of their own), which must stay empty.
home=$(mktemp -d "${TMPDIR:-/tmp}/velkor-home.XXXXXX")
chmod 555 "$home"
trap 'chmod 755 "$home"; rm -rf "$home"' EXIT
isolated_ctest() {
    HOME=$home XDG_CONFIG_HOME=$home ctest "$@"
    if [ -n "$(ls -A "$home")" ]; then
        echo "The tests wrote into the home folder:" >&2
        ls -AR "$home" >&2
        return 1
    fi
}

echo "== Build"
# Unity builds (the sources of a target compiled a batch at a time) halve the build time.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELKOR_BENCH=ON -DCMAKE_UNITY_BUILD=ON \
    >/dev/null
cmake --build build -j"$jobs"

# The archive tests against a real PostgreSQL server, started for this run and stopped after the
# normal build's tests (also when they fail). The tests skip those cases without the URL, so the
# Windows and sanitizer runs below leave them out.
pgdir=
stop_postgres() {
    if [ -n "$pgdir" ]; then
        tools/test-postgres.sh stop "$pgdir"
        pgdir=
    fi
    unset VELKOR_TEST_PG_URL
}
trap stop_postgres EXIT
if [ "${VELKOR_SKIP_POSTGRES:-0}" != 1 ]; then
    echo "== PostgreSQL test server"
    pgdir=$(mktemp -d)
    VELKOR_TEST_PG_URL=$(tools/test-postgres.sh start "$pgdir")
    export VELKOR_TEST_PG_URL
fi

echo "== Tests"
(cd build && isolated_ctest --output-on-failure -j"$jobs" --timeout 600)
stop_postgres

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
    (cd build-sanitize && isolated_ctest --output-on-failure -j"$jobs" --timeout 900)
fi

if command -v clang++ >/dev/null && [ "${VELKOR_SKIP_FUZZ:-0}" != 1 ]; then
    echo "== Fuzzing (about 20 s a harness)"
    fuzz/run.sh
fi
