#!/usr/bin/env bash
# Writes the catalogue's template from the sources: every Tr, TrN and Msg
# call of the core (the window's description, the listings, the timing
# diagram, the exercises, the command line), the desktop entry's
# GenericName, Comment and Keywords, the exercise file type's comment, and
# the AppStream summary and description.
#   po/extract.sh [OUT]   (default po/bitwell.pot)
# With --update, also merges the template into every po/LANG.po.
set -euo pipefail
cd "$(dirname "$0")/.."
update=0
[ "${1:-}" = "--update" ] && { update=1; shift; }
out=${1:-po/bitwell.pot}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Sorted, so that the template depends on what the sources say, not on the
# order the file system lists them in.
mapfile -t sources < <(ls core/*.cpp core/*.h | LC_ALL=C sort)

common=(--package-name=bitwell --msgid-bugs-address=bitwell@users.noreply.github.com
        --copyright-holder="The Bitwell developers" --from-code=UTF-8 --no-wrap --add-location=file)
xgettext "${common[@]}" -C --qt -k --keyword=Tr:1c,2 --keyword=TrN:1c,2,3 --keyword=Msg:1c,2 \
         --add-comments=TRANSLATORS: -o "$tmp/code.pot" "${sources[@]}"
xgettext "${common[@]}" -L Desktop -k --keyword=GenericName --keyword=Comment --keyword=Keywords \
         --add-comments=TRANSLATORS: -o "$tmp/desktop.pot" packaging/io.github.bitwell.Bitwell.desktop
xgettext "${common[@]}" --its=/usr/share/gettext/its/shared-mime-info.its \
         -o "$tmp/mime.pot" packaging/io.github.bitwell.Bitwell.xml
xgettext "${common[@]}" --its=/usr/share/gettext/its/metainfo.its \
         -o "$tmp/metainfo.pot" packaging/io.github.bitwell.Bitwell.metainfo.xml.in
msgcat --no-wrap --add-location=file --use-first -o "$tmp/all.pot" "$tmp/code.pot" "$tmp/desktop.pot" "$tmp/mime.pot" \
       "$tmp/metainfo.pot"
# The template's own header, filled in: its texts are UTF-8 and their
# plural forms are given in each language's file.
sed -e 's/charset=CHARSET/charset=UTF-8/' -e '/^"POT-Creation-Date:/d' "$tmp/all.pot" > "$out"

if [ $update -eq 1 ]; then
    for po in po/*.po; do
        msgmerge --quiet --no-wrap --backup=none --update "$po" "$out"
    done
fi
