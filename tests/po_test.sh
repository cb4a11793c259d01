#!/usr/bin/env bash
# The catalogue's files: the template is what po/extract.sh makes from the
# sources today, and every language's file is valid for msgfmt (formats,
# access keys), complete (nothing untranslated or fuzzy) and holds every
# message of the template.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failed=0

"$root/po/extract.sh" "$tmp/bitwell.pot"
if ! diff -u "$root/po/bitwell.pot" "$tmp/bitwell.pot" > "$tmp/diff"; then
    echo "po/bitwell.pot is stale: run po/extract.sh --update"
    head -40 "$tmp/diff"
    failed=1
fi

for po in "$root"/po/*.po; do
    name=$(basename "$po")
    if ! stats=$(msgfmt --check --check-accelerators='&' --statistics -o /dev/null "$po" 2>&1); then
        echo "$name: msgfmt refuses it: $stats"
        failed=1
        continue
    fi
    case "$stats" in
        *fuzzy*|*untranslated*) echo "$name: not complete: $stats"; failed=1 ;;
    esac
    if ! msgcmp "$po" "$root/po/bitwell.pot" 2> "$tmp/cmp"; then
        echo "$name: lacks messages of the template:"
        head -20 "$tmp/cmp"
        failed=1
    fi
done

[ $failed -eq 0 ] && echo "catalogue: template current, $(ls "$root"/po/*.po | wc -l) languages complete"
exit $failed
