#!/usr/bin/env bash
# package_test.sh BUILD_DIR: installs the build into a scratch root and
# validates the desktop entry and AppStream metainfo, then builds the .deb
# and checks what it depends on and what it holds.
set -euo pipefail
build=${1:?usage: package_test.sh BUILD_DIR}
id=io.github.bitwell.Bitwell
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cmake --install "$build" --prefix "$scratch/usr" >/dev/null
for f in bin/bitwell share/applications/$id.desktop share/icons/hicolor/scalable/apps/$id.svg \
         share/metainfo/$id.metainfo.xml; do
    test -f "$scratch/usr/$f" || { echo "not installed: $f" >&2; exit 1; }
done
desktop-file-validate "$scratch/usr/share/applications/$id.desktop"
appstreamcli validate --no-net --pedantic "$scratch/usr/share/metainfo/$id.metainfo.xml"

(cd "$build" && cpack -G DEB -B "$scratch/deb" >/dev/null)
deb=$(ls "$scratch"/deb/bitwell_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
grep -q 'libqt6widgets6' <<<"$depends" || { echo "no Qt 6 widgets library in Depends" >&2; exit 1; }
contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/bitwell ./usr/share/applications/$id.desktop \
         ./usr/share/icons/hicolor/scalable/apps/$id.svg ./usr/share/metainfo/$id.metainfo.xml; do
    grep -q " $f\$" <<<"$contents" || { echo "not in the package: $f" >&2; exit 1; }
done
echo "package ok: $(basename "$deb")"
