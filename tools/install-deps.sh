#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, when any is missing.
set -euo pipefail

packages=(
    g++ cmake make pkg-config
    qt6-base-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-liberation2 fontconfig poppler-utils
    xvfb xauth
)
for flag in "$@"; do
    case "$flag" in
    --extra)
        # Tools for looking at what the program shows: screenshots, PDF pages, scripted mouse.
        packages+=(imagemagick xdotool x11-utils) ;;
    --windows)
        # The Windows build below the window (mingw-w64, GoogleTest's sources) and Wine to
        # run its tests.
        packages+=(g++-mingw-w64-x86-64-posix googletest wine64) ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
fi
