# Checks of an installed tree, shared by the install and the package tests. Source it, then call
# check_installed_tree PREFIX VERSION: every file under PREFIX is checked, and a file no check
# knows fails the test (Fail.sh counts the failures).

. "$(dirname "${BASH_SOURCE[0]}")/Fail.sh"

# The width and height of a PNG, from its header.
png_size() {
    od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }'
}

check_installed_tree() {
    local prefix=$1 version=$2
    local id=org.velkor.Velkor
    local -a checked=()

    # Programs: each one runs, has a man page and is listed in the metainfo.
    local metainfo=$prefix/share/metainfo/$id.metainfo.xml
    [ -x "$prefix/bin/velkor" ] || fail "bin/velkor missing"
    for program in "$prefix"/bin/*; do
        local name
        name=$(basename "$program")
        checked+=("$program")
        [ -x "$program" ] || fail "bin/$name is not executable"
        [ -f "$prefix/share/man/man1/$name.1.gz" ] || fail "no man page for $name"
        grep -q "<binary>$name</binary>" "$metainfo" 2>/dev/null ||
            fail "metainfo does not provide $name"
    done

    # Man pages render without a warning; they and the changelog are compressed as gzip -9n
    # does it: no file name and no time stamp in the header.
    for page in "$prefix"/share/man/man1/* "$prefix/share/doc/velkor/changelog.gz"; do
        checked+=("$page")
        [ "$(od -An -tx1 -N8 "$page" | tr -d ' ')" = 1f8b080000000000 ] ||
            fail "$(basename "$page") is not gzip -9n"
        [[ $page == */man1/* ]] || continue
        local warnings
        warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "man $(basename "$page"): $warnings"
        [ -n "$(MANWIDTH=80 man -l "$page" 2>/dev/null)" ] || fail "man $(basename "$page") is empty"
    done

    # The desktop entry.
    local desktop=$prefix/share/applications/$id.desktop
    checked+=("$desktop")
    if [ -f "$desktop" ]; then
        local said
        said=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $said"
        if grep -Eq "error|warning" <<<"$said"; then fail "desktop-file-validate: $said"; fi
        for line in "Exec=velkor %f" "Icon=$id" "MimeType=application/x-velkor-data;" \
            "Categories=Science;DataVisualization;"; do
            grep -qxF "$line" "$desktop" || fail "desktop entry lacks $line"
        done
        # English keys, translated to Polish.
        for key in GenericName Comment Keywords; do
            grep -q "^$key=" "$desktop" || fail "desktop entry lacks $key"
            grep -q "^$key\[pl\]=" "$desktop" || fail "desktop entry lacks $key[pl]"
        done
        if grep -q "^[A-Za-z]*\[en\]=" "$desktop"; then fail "desktop entry has [en] keys"; fi
    else
        fail "desktop entry missing"
    fi

    # The icons.
    local svg=$prefix/share/icons/hicolor/scalable/apps/$id.svg
    checked+=("$svg")
    grep -q "<svg" "$svg" 2>/dev/null || fail "scalable icon missing or not SVG"
    for size in 48 128 256; do
        local png=$prefix/share/icons/hicolor/${size}x$size/apps/$id.png
        checked+=("$png")
        [ "$(png_size "$png" 2>/dev/null)" = "${size}x$size" ] || fail "icon $png is not ${size}x$size"
    done

    # The AppStream metainfo.
    checked+=("$metainfo")
    if [ -f "$metainfo" ]; then
        local said
        said=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli: $said"
        grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo has no release $version"
        grep -q "<project_license>MIT</project_license>" "$metainfo" || fail "metainfo licence"
        grep -q "<content_rating" "$metainfo" || fail "metainfo has no content rating"
        grep -q "<mediatype>application/x-velkor-data</mediatype>" "$metainfo" ||
            fail "metainfo does not provide the data file type"
    else
        fail "metainfo missing"
    fi

    # The MIME type (its recognition: mime_test.sh).
    local mime=$prefix/share/mime/packages/$id.xml
    checked+=("$mime")
    grep -q '<mime-type type="application/x-velkor-data">' "$mime" 2>/dev/null ||
        fail "MIME type missing"

    # velkor-cli's bash completion (its behaviour: completion_test.sh).
    local completion=$prefix/share/bash-completion/completions/velkor-cli
    checked+=("$completion")
    bash -n "$completion" 2>/dev/null && grep -q "complete .*velkor-cli" "$completion" ||
        fail "bash completion missing or broken"

    # The documents; the copyright file in Debian's machine-readable format.
    for doc in README.md LICENSE copyright; do
        checked+=("$prefix/share/doc/velkor/$doc")
        [ -s "$prefix/share/doc/velkor/$doc" ] || fail "share/doc/velkor/$doc missing"
    done
    grep -q "^MIT License" "$prefix/share/doc/velkor/LICENSE" 2>/dev/null || fail "LICENSE is not MIT"
    grep -qx "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
        "$prefix/share/doc/velkor/copyright" 2>/dev/null || fail "copyright is not machine-readable"
    zcat "$prefix/share/doc/velkor/changelog.gz" 2>/dev/null | head -1 |
        grep -qF "velkor ($version) " || fail "changelog.gz does not start with $version"

    # Nothing else.
    local known
    known=$(printf '%s\n' "${checked[@]}" | sort -u)
    while IFS= read -r file; do
        grep -qxF "$file" <<<"$known" || fail "unchecked file installed: ${file#"$prefix"/}"
    done < <(find "$prefix" -type f -o -type l | sort)
}
