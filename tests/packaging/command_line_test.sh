#!/usr/bin/env bash
# velkor's command line as a user meets it, without a display unless one is needed:
# --version, --help in both languages, an unknown option, and the missing display.
#   command_line_test.sh VELKOR VERSION
set -uo pipefail
velkor=$1 version=$2
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs velkor without a display; sets $status, $out, $err.
run() {
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$velkor" "$@" >"$work/out" 2>"$work/err"
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
[ "$failures" -eq 0 ]
