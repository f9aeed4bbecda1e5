#!/usr/bin/env bash
# lintian on the Debian package: no error, no warning, and none of the hardening tags. Skipped
# (77) where lintian is not installed. Prints what lintian says.
#   lintian_test.sh BUILD_DIR VERSION
set -uo pipefail
build=$1 version=$2
command -v lintian >/dev/null || { echo "lintian is not installed"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=$work/out/velkor_${version}_$(dpkg --print-architecture).deb
said=$(lintian --info --display-level ">=pedantic" "$deb" 2>&1 | grep -v "running with root privileges")
echo "lintian: ${said:-nothing to say}"
if grep -Eq "^(E|W): |hardening-" <<<"$said"; then
    echo "FAIL: lintian errors, warnings or hardening tags"
    exit 1
fi
