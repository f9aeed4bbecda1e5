#!/usr/bin/env bash
# velkor's command line as a user meets it, without a display unless one is needed:
# --version, --help in both languages and in the environment's, an unknown option, Qt's options,
# and a display that is missing or does not answer.
#   command_line_test.sh VELKOR VERSION
set -uo pipefail
velkor=$1 version=$2
. "$(dirname "$0")/Fail.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs velkor without a display and without a locale, with the variables given first
# (NAME=value ... --); sets $status, $out, $err.
run() {
    local -a vars=()
    if [[ " $* " == *" -- "* ]]; then
        while [ "$1" != -- ]; do vars+=("$1"); shift; done
        shift
    fi
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u LC_ALL -u LC_MESSAGES -u LANG \
        "${vars[@]}" "$velkor" "$@" >"$work/out" 2>"$work/err"
    status=$?
    out=$(cat "$work/out")
    err=$(cat "$work/err")
}

run --version
[ "$status" = 0 ] && [ "$out" = "velkor $version" ] && [ -z "$err" ] ||
    fail "--version: $status '$out' '$err'"

for lang in pl en; do
    run --help --lang $lang
    [ "$status" = 0 ] && [ -z "$err" ] || fail "--help --lang $lang: $status '$err'"
    for option in --help --version --lang; do
        grep -q -- "$option" <<<"$out" || fail "--help --lang $lang does not name $option"
    done
done
run --lang pl --help
grep -q "^Użycie: velkor" <<<"$out" || fail "Polish help: $out"
run --lang en --help
grep -q "^Usage: velkor" <<<"$out" || fail "English help: $out"

# Without --lang, the language of LC_ALL, LC_MESSAGES or LANG; none, C or POSIX give Polish.
for case in "LANG=en_US.UTF-8|Usage" "LANG=pl_PL.UTF-8|Użycie" "LANG=C.UTF-8|Użycie" \
    "LC_ALL=POSIX|Użycie" "LANG=de_DE.UTF-8|Usage" "LANG=en_US.UTF-8 LC_MESSAGES=pl_PL|Użycie" \
    "LANG=pl_PL LC_ALL=en_GB.UTF-8|Usage"; do
    IFS='|' read -r vars expected <<<"$case"
    # shellcheck disable=SC2086 # one word a variable
    run $vars -- --help
    grep -q "^$expected: velkor" <<<"$out" || fail "$vars velkor --help: $out"
done
run LANG=en_US.UTF-8 -- --lang pl --help
grep -q "^Użycie: velkor" <<<"$out" || fail "--lang pl with LANG=en_US: $out"

run --no-such-option
[ "$status" = 1 ] && [ -z "$out" ] && grep -q -- "--no-such-option" <<<"$err" ||
    fail "unknown option: $status '$out' '$err'"
run --lang xx
[ "$status" = 1 ] && grep -q "xx" <<<"$err" || fail "unknown language: $status '$err'"

# No display: one line on stderr saying so and how to use xvfb-run, exit 1, no abort. With
# --lang en the line is English.
for lang in pl en; do
    run --lang $lang
    [ "$status" = 1 ] || fail "no display --lang $lang: exit $status"
    [ -z "$out" ] || fail "no display --lang $lang: printed '$out'"
    [ "$(wc -l <"$work/err")" = 1 ] || fail "no display --lang $lang: not one line: '$err'"
    grep -q "DISPLAY" <<<"$err" && grep -q "xvfb-run velkor" <<<"$err" ||
        fail "no display --lang $lang: '$err'"
done
grep -q "the window needs a display" <<<"$err" || fail "no display --lang en is not English: $err"

# A display that does not answer gets the same line, naming it, within about 2 s: an X display
# with no server, an X server that accepts the connection and never replies (a TCP port nobody
# answers on), a Wayland socket that is not there. Qt's options are let through: -display
# steers the check, -style is taken.
python3 -c 'import socket, time
s = socket.socket()
for n in range(87, 200):
    try:
        s.bind(("127.0.0.1", 6000 + n))
        break
    except OSError:
        pass
s.listen(8)
print(n, flush=True)
time.sleep(60)' >"$work/hung.out" &
hung_pid=$!
for _ in $(seq 50); do [ -s "$work/hung.out" ] && break; sleep 0.1; done
# Its port is taken from now on, so the next display number has neither server nor listener.
hung=127.0.0.1:$(cat "$work/hung.out")
free=$(($(cat "$work/hung.out") + 1))
while [ -e "/tmp/.X11-unix/X$free" ]; do free=$((free + 1)); done
for case in "DISPLAY=:$free|-|DISPLAY=:$free" "DISPLAY=$hung|-|DISPLAY=$hung" \
    "DISPLAY=:$free|-style Fusion -display $hung|-display $hung" \
    "QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=wayland-$free XDG_RUNTIME_DIR=$work|-|WAYLAND_DISPLAY=wayland-$free"; do
    IFS='|' read -r vars options named <<<"$case"
    [ "$options" = - ] && options=
    started=$(date +%s%N)
    # shellcheck disable=SC2086 # words
    run $vars -- --lang en $options
    took=$((($(date +%s%N) - started) / 1000000))
    [ "$status" = 1 ] || fail "$case: exit $status"
    [ "$(wc -l <"$work/err")" = 1 ] || fail "$case: not one line: '$err'"
    grep -qF "the display $named does not answer" <<<"$err" && grep -q "xvfb-run velkor" <<<"$err" ||
        fail "$case: '$err'"
    [ "$took" -lt 4000 ] || fail "$case: took $took ms"
    echo "$case: $took ms"
done
kill "$hung_pid" 2>/dev/null
[ "$failures" -eq 0 ]
