#!/usr/bin/env bash
# The Windows check: builds the libraries below the window, their unit tests and velkor-cli
# for 64-bit Windows with mingw-w64 into build-windows/, runs the tests under Wine, runs
# velkor-cli.exe against the simulated logger, and packs velkor-cli.exe into a .zip.
#
#   tools/windows-check.sh [LINUX_BUILD_DIR]
#
# LINUX_BUILD_DIR (default: build) holds a finished Linux build: the simulated logger and the
# loopback device run there on pseudo-terminals that the Wine prefix maps as COM ports, and
# the Linux velkor-cli downloads the same log for comparison.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
linux=$(cd "${1:-build}" && pwd)
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
jobs=$(nproc)
started=$SECONDS

stamp() { echo "   ($((SECONDS - started)) s)"; }

work=$(mktemp -d "${TMPDIR:-/tmp}/velkor-windows.XXXXXX")
# One prefix for the whole run; nothing of the user's own Wine setup is used or changed.
export WINEPREFIX=$work/prefix WINEDEBUG=-all
# Wine maps Windows file names to Unix ones through the locale's character set: UTF-8, so that
# names beyond ASCII survive.
export LC_ALL=C.UTF-8
# No Mono and no Gecko: their installers would be offered at the first start.
export WINEDLLOVERRIDES="mscoree,mshtml="
children=()
cleanup() {
    for pid in "${children[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    "$wineserver" -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Wine's first start builds the prefix, which takes a while: it runs beside the build.
"$wine" wineboot --init >"$work/wineboot.log" 2>&1 &
boot=$!

echo "-- Windows build (mingw-w64) in build-windows/"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_UNITY_BUILD=ON \
    "${launcher[@]}" >/dev/null
cmake --build build-windows -j"$jobs"
stamp

if ! wait "$boot"; then
    cat "$work/wineboot.log"
    echo "windows-check: the Wine prefix could not be created" >&2
    exit 1
fi

# Starts a Linux helper in the background; its first output line (or its link) tells the
# pseudo-terminal it serves.
wait_for() { # file, seconds
    for _ in $(seq 1 $(($2 * 10))); do
        [ -s "$1" ] && return 0
        sleep 0.1
    done
    echo "windows-check: $1 did not appear" >&2
    return 1
}
map_com() { # COMn device: the prefix's COMn is that pseudo-terminal
    ln -sfn "$2" "$WINEPREFIX/dosdevices/$(echo "$1" | tr 'A-Z' 'a-z')"
}

echo "-- Unit tests under Wine"
"$linux/tools/loggersim/ptyloop" >"$work/loop.txt" &
children+=($!)
wait_for "$work/loop.txt" 10
map_com COM6 "$(head -n 1 "$work/loop.txt")"
export VELKOR_LOOPBACK_PORT=COM6
passed_total=0
for test in build-windows/tests/*/*_tests.exe; do
    name=$(basename "$test" .exe)
    # Windows programs end their lines with CR LF.
    if ! "$wine" "$test" 2>&1 | tr -d '\r' >"$work/$name.log"; then
        cat "$work/$name.log"
        echo "windows-check: $name failed under Wine" >&2
        exit 1
    fi
    passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\.$/\1/p' "$work/$name.log")
    skipped=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\{0,1\}, listed below:$/\1/p' \
        "$work/$name.log")
    echo "   $name: ${passed:-0} passed${skipped:+, $skipped skipped}"
    passed_total=$((passed_total + ${passed:-0}))
done
echo "   $passed_total tests passed under Wine"
stamp

echo "-- velkor-cli.exe under Wine against the simulated logger on COM5"
mkdir -p "$work/config/velkor/ports" "$work/windows" "$work/linux"
"$linux/tools/loggersim/loggersim" --port 5 --ports-folder "$work/config/velkor/ports" \
    --generate 300 --seed 14 >"$work/sim.log" 2>&1 &
children+=($!)
for _ in $(seq 1 100); do
    [ -L "$work/config/velkor/ports/COM5" ] && break
    sleep 0.1
done
map_com COM5 "$(readlink "$work/config/velkor/ports/COM5")"
cli_exe=$root/build-windows/cli/velkor-cli.exe
(cd "$work/windows" && "$wine" "$cli_exe" info --port COM5) | tee "$work/info.txt"
(cd "$work/windows" && "$wine" "$cli_exe" download --port COM5 -o dl.txt) 2>&1 |
    tee "$work/download.txt"
# The Windows build has no archive: the download says nothing of it, the archive command says
# so with exit 1.
if grep -q "Archive" "$work/download.txt"; then
    echo "windows-check: the Windows download speaks of an archive it does not have" >&2
    exit 1
fi
code=0
(cd "$work/windows" && "$wine" "$cli_exe" archive list) >"$work/archive.txt" 2>&1 || code=$?
if [ "$code" -ne 1 ] || ! grep -q "has no archive" "$work/archive.txt"; then
    cat "$work/archive.txt"
    echo "windows-check: velkor-cli.exe archive list gave exit $code" >&2
    exit 1
fi
(cd "$work/linux" && XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data \
    "$linux/cli/velkor-cli" download --port COM5 -o dl.txt)
if ! cmp "$work/windows/dl.txt" "$work/linux/dl.txt"; then
    echo "windows-check: the Windows download differs from the Linux one" >&2
    exit 1
fi
echo "   dl.txt: $(wc -l <"$work/windows/dl.txt") lines, byte-identical to the Linux download"
# A file name beyond ASCII reaches the program and the file system unchanged.
polish=$'pomiary-\xc5\xbc\xc3\xb3\xc5\x82w' # UTF-8, whatever the locale
cp "$work/windows/dl.txt" "$work/windows/$polish.txt"
cp "$work/linux/dl.txt" "$work/linux/$polish.txt"
(cd "$work/windows" && "$wine" "$cli_exe" export "$polish.txt")
(cd "$work/linux" && "$linux/cli/velkor-cli" export "$polish.txt")
if ! cmp "$work/windows/$polish.csv" "$work/linux/$polish.csv"; then
    echo "windows-check: the Windows CSV export differs from the Linux one" >&2
    exit 1
fi
echo "   $polish.csv: byte-identical to the Linux export"
stamp

echo "-- Package"
(cd build-windows && cpack -G ZIP >/dev/null)
for zip in build-windows/*.zip; do
    echo "   $zip: $(cmake -E tar tf "$zip" | tr '\n' ' ')"
done
stamp
