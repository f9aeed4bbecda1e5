#!/usr/bin/env bash
# The bash completion of velkor-cli, as bash calls it for the words typed so far.
#   completion_test.sh COMPLETION_FILE VELKOR_CLI
set -uo pipefail
completion=$1 cli=$2
. "$(dirname "$0")/Fail.sh"
export PATH=$(dirname "$cli"):$PATH
# shellcheck source=/dev/null
. "$completion"

# The words typed (the last one, possibly empty, being completed) | words every one offered
cases=(
    "velkor-cli |ports download export summary archive"
    "velkor-cli ex|export"
    "velkor-cli -|--help --lang --version"
    "velkor-cli --lang |en pl"
    "velkor-cli download -|--port --output -o --quiet -q --json --help"
    "velkor-cli export --dialect |pl rfc"
    "velkor-cli export --dia|--dialect"
    "velkor-cli --lang pl export -|--dialect --quiet --json --output"
    "velkor-cli ports --|--json"
    "velkor-cli archive |list export import label"
)
for case in "${cases[@]}"; do
    typed=${case%%|*} expected=${case#*|}
    read -ra COMP_WORDS <<<"$typed"
    [[ $typed == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _velkor_cli
    for word in $expected; do
        printf '%s\n' "${COMPREPLY[@]}" | grep -qxF -- "$word" ||
            fail "'$typed' does not offer $word: ${COMPREPLY[*]}"
    done
done
[ "$failures" -eq 0 ]
