#!/usr/bin/env bash
# package_test.sh BUILD_DIR: installs the build into a scratch root and
# validates the desktop entry and AppStream metainfo, then builds the .deb
# and checks what it depends on and what it holds, that Debian's lintian
# finds neither an error nor a warning in it, and that the command line
# answers --version with the release number.
set -euo pipefail
build=${1:?usage: package_test.sh BUILD_DIR}
id=io.github.bitwell.Bitwell
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cmake --install "$build" --prefix "$scratch/usr" >/dev/null
for f in bin/bitwell share/applications/$id.desktop share/icons/hicolor/scalable/apps/$id.svg \
         share/metainfo/$id.metainfo.xml share/doc/bitwell/copyright share/doc/bitwell/changelog.gz \
         share/man/man1/bitwell.1.gz share/mime/packages/$id.xml; do
    test -f "$scratch/usr/$f" || { echo "not installed: $f" >&2; exit 1; }
done
desktop-file-validate "$scratch/usr/share/applications/$id.desktop"
# The exercise file type: the desktop entry opens what the MIME package names.
xmllint --noout "$scratch/usr/share/mime/packages/$id.xml"
update-mime-database "$scratch/usr/share/mime"
for glob in bwx bwa; do
    grep -q ":\\*\\.$glob\$" "$scratch/usr/share/mime/globs" || { echo "*.$glob is not registered" >&2; exit 1; }
done
mime=$(sed -n 's/.*mime-type type="\([^"]*-exercise\)".*/\1/p' "$scratch/usr/share/mime/packages/$id.xml")
grep -q "^MimeType=$mime;\$" "$scratch/usr/share/applications/$id.desktop" ||
    { echo "the desktop entry does not open $mime" >&2; exit 1; }
appstreamcli validate --no-net --pedantic "$scratch/usr/share/metainfo/$id.metainfo.xml"
if grep -q 'https\?://' "$scratch/usr/share/metainfo/$id.metainfo.xml"; then
    echo "the metainfo names a web address" >&2; exit 1
fi

# Every language of the catalogue in the desktop entry, the file type and the metainfo;
# the name stays the same in all of them.
for lang in de fr es pt_BR; do
    for key in GenericName Comment Keywords; do
        grep -q "^$key\[$lang\]=" "$scratch/usr/share/applications/$id.desktop" ||
            { echo "the desktop entry has no $key[$lang]" >&2; exit 1; }
    done
    grep -q "<summary xml:lang=\"$lang\">" "$scratch/usr/share/metainfo/$id.metainfo.xml" ||
        { echo "the metainfo has no $lang summary" >&2; exit 1; }
    grep -q "<comment xml:lang=\"$lang\">" "$scratch/usr/share/mime/packages/$id.xml" ||
        { echo "the exercise file type has no $lang comment" >&2; exit 1; }
done
if grep -q '^Name\[' "$scratch/usr/share/applications/$id.desktop" ||
   grep -q '<name xml:lang' "$scratch/usr/share/metainfo/$id.metainfo.xml"; then
    echo "the name is translated" >&2; exit 1
fi

# One version number: the program, its metainfo and the package agree.
version=$("$scratch/usr/bin/bitwell" --version)
[ "${version#bitwell }" != "$version" ] || { echo "--version said: $version" >&2; exit 1; }
version=${version#bitwell }
grep -q "<release version=\"$version\"" "$scratch/usr/share/metainfo/$id.metainfo.xml" ||
    { echo "the metainfo release is not $version" >&2; exit 1; }
set +e
"$scratch/usr/bin/bitwell" --no-such-option >/dev/null 2>"$scratch/usage"
status=$?
set -e
[ $status -eq 1 ] && grep -q '^Usage:' "$scratch/usage" ||
    { echo "an unknown option gave status $status" >&2; exit 1; }
# With the page installed beside it, the program exports from that page.
if [ -f "$scratch/usr/share/bitwell/bitwell.html" ]; then
    "$scratch/usr/bin/bitwell" --export "$(dirname "$0")/../exercises/01-read.bwx" "$scratch/x.zip" >/dev/null &&
        unzip -tq "$scratch/x.zip" >/dev/null || { echo "the installed program cannot export" >&2; exit 1; }
    rm "$scratch/x.zip"
fi

(cd "$build" && cpack -G DEB -B "$scratch/deb" >/dev/null)
deb=$(ls "$scratch"/deb/bitwell_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || { echo "package version differs" >&2; exit 1; }
# Debian's own checker: no error and no warning at its default level.
report=$(lintian --allow-root --no-tag-display-limit "$deb" 2>&1 | grep -E '^[EW]: ' || true)
[ -z "$report" ] || { echo "$report" >&2; exit 1; }
grep -q 'libqt6widgets6' <<<"$depends" || { echo "no Qt 6 widgets library in Depends" >&2; exit 1; }
contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/bitwell ./usr/share/applications/$id.desktop \
         ./usr/share/icons/hicolor/scalable/apps/$id.svg ./usr/share/metainfo/$id.metainfo.xml; do
    grep -q " $f\$" <<<"$contents" || { echo "not in the package: $f" >&2; exit 1; }
done
echo "package ok: $(basename "$deb")"
