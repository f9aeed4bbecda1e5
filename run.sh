#!/usr/bin/env bash
# Sets everything up on a fresh Debian machine, builds and starts the program.
#   ./run.sh          start the program
#   ./run.sh --demo   also start a simulated logger on a virtual serial port, so that
#                     Connect ("Polącz") finds it
set -euo pipefail
cd "$(dirname "$0")"

demo=0
[ "${1:-}" = "--demo" ] && demo=1

tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target velkor loggersim_app

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    cat >&2 <<MSG
There is no display to show the window on (DISPLAY is not set).
Run it on a virtual display instead, for example:
    Xvfb :99 -screen 0 1280x1024x24 &
    DISPLAY=:99 ./run.sh $*
or, in one command:
    xvfb-run -s "-screen 0 1280x1024x24" ./run.sh $*
MSG
    exit 1
fi

if [ "$demo" = 1 ]; then
    # The simulated logger and the program share a private ports folder, so the demo leaves
    # the user's own ~/.config/velkor/ports alone.
    demo_home=$(mktemp -d)
    export XDG_CONFIG_HOME="$demo_home"
    build/tools/loggersim/loggersim --port 3 --generate 2000 &
    sim=$!
    trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null; rm -rf "$demo_home"' EXIT
    sleep 0.5
fi

build/app/velkor
