#!/usr/bin/env bash
# The data file's MIME type as the desktop sees it, from a cmake --install prefix: which files
# gio calls application/x-velkor-data, and that velkor handles that type and never text/plain.
#   mime_test.sh BUILD_DIR
set -uo pipefail
build=$1
. "$(dirname "$0")/Fail.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }

# The desktop's databases as the package's triggers make them, in a copy of the prefix's share/
# placed before the system's (whose text/plain and *.txt the rules are up against).
share=$work/share
mkdir -p "$share"
cp -r "$work/prefix/share/mime" "$work/prefix/share/applications" "$share/"
update-mime-database "$share/mime" || fail "update-mime-database"
update-desktop-database "$share/applications" || fail "update-desktop-database"
export XDG_DATA_DIRS=$share:/usr/share XDG_DATA_HOME=$work/home XDG_CONFIG_HOME=$work/config
export XDG_CONFIG_DIRS=$work/config HOME=$work/home
# gio offers only applications whose program is on the PATH.
export PATH=$work/prefix/bin:$PATH

line=$'1\t2024-03-05 08:30:00\t+021.5\t45.3\r\n2\t2024-03-05 08:45:00\t+021.6\t45.1\r\n'
long=$'123456789\t2024-03-05 08:30:00\t-005.2\t0.5\r\n'
note=$'Shopping: 2 kg of flour\n'
# name | content | type
cases=(
    "logger.txt|$line|application/x-velkor-data"
    "data|$line|application/x-velkor-data"
    "data-long|$long|application/x-velkor-data"
    "logger-2024-03-05.txt|$line|text/plain"
    "note.txt|$note|text/plain"
    "note|$note|text/plain"
)
mkdir "$work/files"
for case in "${cases[@]}"; do
    name=${case%%|*} expected=${case##*|} content=${case#*|}
    content=${content%|*}
    printf '%s' "$content" >"$work/files/$name"
    type=$(gio info -a standard::content-type "$work/files/$name" | sed -n 's/.*content-type: //p')
    [ "$type" = "$expected" ] || fail "$name is '$type', not $expected"
done

mime_handlers() { gio mime "$1" 2>&1; }
grep -q "org.velkor.Velkor.desktop" <(mime_handlers application/x-velkor-data) ||
    fail "velkor does not handle application/x-velkor-data: $(mime_handlers application/x-velkor-data)"
if grep -q "org.velkor.Velkor.desktop" <(mime_handlers text/plain); then
    fail "velkor handles text/plain: $(mime_handlers text/plain)"
fi
[ "$failures" -eq 0 ]
