#!/usr/bin/env bash
# cpack -G DEB makes velkor_<version>_<arch>.deb; its control fields are checked and its files,
# extracted with dpkg-deb -x into a temporary root, are checked as an install is.
#   deb_test.sh BUILD_DIR VERSION
set -uo pipefail
build=$1 version=$2
. "$(dirname "$0")/InstalledTree.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=$work/out/velkor_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { ls "$work/out"; echo "FAIL: no $(basename "$deb")"; exit 1; }

[ "$(dpkg-deb -f "$deb" Package)" = velkor ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version"
# A synopsis, then a description whose lines start with one space (more would show verbatim).
description=$(dpkg-deb -f "$deb" Description)
[ "$(wc -l <<<"$description")" -ge 2 ] || fail "no long description"
tail -n +2 <<<"$description" | grep -qv "^ [^ ]" && fail "description lines: $description"
grep -qF "$(head -1 <<<"$description")" <(tail -n +2 <<<"$description") && fail "synopsis repeated"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# The fonts and Qt's translations, and what the binaries link (found by dpkg-shlibdeps).
names=$(tr ',|' '\n\n' <<<"$depends" | awk '{ print $1 }')
for package in fonts-liberation2 qt6-translations-l10n libc6 libstdc++6 libqt6core6 \
    libqt6gui6 libqt6widgets6 libqt6printsupport6; do
    grep -qxF "$package" <<<"$names" || fail "Depends lacks $package"
done

dpkg-deb -x "$deb" "$work/root" || { echo "FAIL: dpkg-deb -x"; exit 1; }
check_installed_tree "$work/root/usr" "$version"
[ "$(find "$work/root" -mindepth 1 -maxdepth 1)" = "$work/root/usr" ] || fail "files outside /usr"
[ "$("$work/root/usr/bin/velkor" --version)" = "velkor $version" ] || fail "packaged velkor --version"
[ "$failures" -eq 0 ]
