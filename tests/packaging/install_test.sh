#!/usr/bin/env bash
# cmake --install into a temporary prefix; every installed file is checked (InstalledTree.sh).
#   install_test.sh BUILD_DIR VERSION
set -uo pipefail
build=$1 version=$2
. "$(dirname "$0")/InstalledTree.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }
check_installed_tree "$work/prefix" "$version"
find "$work/prefix" -type f | sed "s|$work/prefix/||" | sort
[ "$failures" -eq 0 ]
