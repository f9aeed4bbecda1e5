#!/usr/bin/env bash
# Sets everything up on a fresh Debian machine, builds and starts the program.
#   ./run.sh [velkor options]          start the program (./run.sh --lang en, ./run.sh FILE)
#   ./run.sh --demo [velkor options]   also start a simulated logger on a virtual serial port,
#                                      so that Connect ("Połącz") finds it
set -euo pipefail
cd "$(dirname "$0")"

demo=0
if [ "${1:-}" = "--demo" ]; then
    demo=1
    shift
fi

# Before anything is installed or built: without a display the window cannot be shown.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    again=./run.sh
    [ "$demo" = 1 ] && again+=" --demo"
    [ $# -gt 0 ] && again+=" $*"
    cat >&2 <<MSG
There is no display to show the window on (DISPLAY is not set).
Run it on a virtual display instead, for example:
    Xvfb :99 -screen 0 1280x1024x24 &
    DISPLAY=:99 $again
or, in one command:
    xvfb-run -s "-screen 0 1280x1024x24" $again
MSG
    exit 1
fi

tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target velkor loggersim_app

if [ "$demo" = 1 ]; then
    # The simulated logger and the program share a private ports folder, so the demo leaves
    # the user's own ~/.config/velkor/ports alone. It goes when the demo ends, Ctrl+C included.
    demo_home=$(mktemp -d)
    sim=
    cleanup() {
        trap - EXIT INT TERM HUP
        if [ -n "$sim" ]; then
            kill "$sim" 2>/dev/null || true
            wait "$sim" 2>/dev/null || true
        fi
        rm -rf "$demo_home"
    }
    trap cleanup EXIT
    trap 'cleanup; exit 130' INT
    trap 'cleanup; exit 143' TERM HUP
    export XDG_CONFIG_HOME="$demo_home"
    build/tools/loggersim/loggersim --port 3 --generate 2000 &
    sim=$!
    sleep 0.5
    # Ctrl+C ends the program (in the foreground, it takes the signal too), then the trap runs.
    build/app/velkor "$@"
    exit 0
fi

exec build/app/velkor "$@"
