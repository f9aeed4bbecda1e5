#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, when any is missing.
set -euo pipefail

packages=(
    g++ cmake make pkg-config
    qt6-base-dev qt6-translations-l10n qt6-svg-dev libqt6svg6
    libgtest-dev libgmock-dev libbenchmark-dev
    libsqlite3-dev # the archive
    fonts-liberation2 fontconfig poppler-utils
    libpq-dev postgresql # the PostgreSQL archive and the throwaway server of its tests
    xvfb xauth
    # The checks of the installed program and of the Debian package.
    desktop-file-utils appstream man-db dpkg-dev lintian
    # The MIME type as the desktop sees it (gio, update-mime-database).
    libglib2.0-bin shared-mime-info
    clang libclang-rt-dev # the fuzz harnesses: clang with its libFuzzer and sanitizer runtimes
    clang-format          # the format check of ./test.sh
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

# Installed, also while dpkg still has triggers of it to run (man-db and others defer theirs).
installed() {
    case "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" in
    "install ok installed" | "install ok triggers-pending" | "install ok triggers-awaited") return 0 ;;
    *) return 1 ;;
    esac
}

missing=()
for p in "${packages[@]}"; do
    installed "$p" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
# Another apt or dpkg (an update, unattended-upgrades) holds the lock: wait for it to finish
# instead of failing. apt waits for dpkg's lock itself; the loop covers the lists' lock too.
apt_get() {
    local log
    log=$(mktemp)
    for _ in $(seq 1 120); do
        if DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=300 \
            "$@" 2>"$log"; then
            cat "$log" >&2
            rm -f "$log"
            return 0
        fi
        if ! grep -qiE "could not get lock|unable to lock|is another process using it" "$log"; then
            cat "$log" >&2
            rm -f "$log"
            return 1
        fi
        echo "Waiting for another package manager to finish..." >&2
        sleep 5
    done
    cat "$log" >&2
    rm -f "$log"
    return 1
}

echo "Installing: ${missing[*]}"
apt_get update -qq
apt_get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
