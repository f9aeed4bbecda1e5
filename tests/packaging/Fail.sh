# Sourced by the packaging tests: fail says what failed and counts it in $failures; the test
# ends with [ "$failures" -eq 0 ].

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
