#!/usr/bin/env bash
# course_test.sh BITWELL EXERCISES_DIR [SCHEMAS_DIR]: exporting for a course
# site and grading attempt files, from the command line with no display.
# The exact output and status of each case; the package opened by unzip and
# by Python's zipfile, its manifest checked against ADL's schema files (when
# SCHEMAS_DIR, the packager's definitionFiles folder, is given), the same
# bytes twice and from a page that was itself exported; then --grade over
# solved, hand-edited and broken attempts.
set -uo pipefail
bitwell=${1:?usage: course_test.sh BITWELL EXERCISES_DIR [SCHEMAS_DIR]}
course=${2:?usage: course_test.sh BITWELL EXERCISES_DIR [SCHEMAS_DIR]}
schemas=${3:-}
bitwell=$(realpath "$bitwell") course=$(realpath "$course")
[ -z "$schemas" ] || schemas=$(realpath "$schemas")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME=$scratch/config LANG=de_DE.UTF-8 LANGUAGE=de
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
cd "$scratch" || exit 1
failed=0
fail() { echo "FAIL $*"; failed=1; }
read1=$course/01-read.bwx

# STATUS STDOUT-or-"usage" ARGS…: one export; "usage" wants the usage on
# standard error and nothing on standard output.
while IFS='|' read -r status out args; do
    # shellcheck disable=SC2086
    timeout 20 "$bitwell" $args >out 2>err
    got=$?
    if [ "$out" = usage ]; then
        [ $got -eq "$status" ] && [ ! -s out ] && grep -q -- '--scorm <version>' err || fail "$args: $got $(cat out err)"
    else
        [ $got -eq "$status" ] && [ "$(sed 's/, [0-9]* bytes$/, N bytes/' out)" = "$out" ] || fail "$args: $got $(cat out err)"
    fi
done <<ROWS
0|p12.zip: SCORM 1.2 package, N bytes|--export $read1 p12.zip
0|p2004.zip: SCORM 2004 package, N bytes|--export $read1 p2004.zip --scorm 2004
0|again.zip: SCORM 1.2 package, N bytes|--scorm 1.2 --export $read1 again.zip
0|page.html: web page, N bytes|--export $read1 page.html
1|usage|--export $read1 page.htm
1|usage|--export $read1 page.html --scorm 1.2
1|usage|--export $read1 p.zip --scorm 2004.4
1|usage|--scorm 2004 p.zip
1|usage|--export $read1
1|usage|--grade
1|usage|--grade --scorm 2004 a.bwa
ROWS
[ "$(stat -c %s p12.zip)" = "$(sed -n 's/.*, \([0-9]*\) bytes$/\1/p' <(timeout 20 "$bitwell" --export "$read1" p12.zip))" ] ||
    fail "the size printed is not the file's"
timeout 20 "$bitwell" --export "$course/missing.bwx" x.zip >out 2>err
[ $? -eq 1 ] && [ "$(cat err)" = "$course/missing.bwx:0: the file cannot be read" ] && [ ! -e x.zip ] ||
    fail "missing exercise: $(cat err)"

# The same bytes every time, whatever the page was before.
cmp -s p12.zip again.zip || fail "two exports differ"
for p in p12.zip p2004.zip; do
    unzip -tq "$p" >/dev/null || fail "unzip -t $p"
    python3 - "$p" <<'PY' || fail "zipfile $p"
import sys, zipfile
z = zipfile.ZipFile(sys.argv[1])
assert z.testzip() is None
assert [(i.filename, i.compress_type, i.date_time) for i in z.infolist()] == [
    ("imsmanifest.xml", 0, (1980, 1, 1, 0, 0, 0)), ("bitwell.html", 0, (1980, 1, 1, 0, 0, 0))]
page = z.read("bitwell.html").decode()
flag = 'id="bitwell-exercise" data-scorm="%s">' % ("1.2" if "12" in sys.argv[1] else "2004")
assert page.count('id="bitwell-exercise"') == 1 and flag in page
PY
done
grep -q 'id="bitwell-exercise">' page.html || fail "web page block"

# An installed program reads the page beside it; with none it says so.
mkdir -p inst/bin inst/share/bitwell
cp "$bitwell" inst/bin/bitwell
if [ ! -e /usr/share/bitwell/bitwell.html ]; then
    timeout 20 inst/bin/bitwell --export "$read1" none.zip >out 2>err
    [ $? -eq 1 ] && [ "$(cat err)" = "bitwell: no web page found" ] || fail "no page: $(cat err)"
fi
timeout 20 "$bitwell" --export "$course/02-write-word.bwx" inst/share/bitwell/bitwell.html --scorm 2004 >/dev/null 2>&1 ||
    timeout 20 "$bitwell" --export "$course/02-write-word.bwx" inst/share/bitwell/bitwell.html >/dev/null
timeout 20 inst/bin/bitwell --export "$read1" reexported.zip >/dev/null
cmp -s p12.zip reexported.zip || fail "a page that was exported keeps its own exercise"

# The manifests against ADL's schema files; a wrong SCO type must fail.
if [ -n "$schemas" ]; then
    printf '<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema">%s</xs:schema>\n' \
        "<xs:import namespace=\"http://www.imsproject.org/xsd/imscp_rootv1p1p2\" schemaLocation=\"$schemas/scorm12edition/imscp_rootv1p1p2.xsd\"/>
         <xs:import namespace=\"http://www.adlnet.org/xsd/adlcp_rootv1p2\" schemaLocation=\"$schemas/scorm12edition/adlcp_rootv1p2.xsd\"/>" >s12.xsd
    imports=""
    for ns in imsglobal.org/xsd/imscp_v1p1:imscp_v1p1 adlnet.org/xsd/adlcp_v1p3:adlcp_v1p3 \
              adlnet.org/xsd/adlseq_v1p3:adlseq_v1p3 adlnet.org/xsd/adlnav_v1p3:adlnav_v1p3 imsglobal.org/xsd/imsss:imsss_v1p0; do
        imports+="<xs:import namespace=\"http://www.${ns%:*}\" schemaLocation=\"$schemas/scorm20044thedition/${ns#*:}.xsd\"/>"
    done
    printf '<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema">%s</xs:schema>\n' "$imports" >s2004.xsd
    # A title of markup characters, longer than 1.2 allows.
    { printf 'title: %s' "R&D <1> \"x\" "; printf 'é%.0s' $(seq 300); printf '\ntext: X\ngoal read = 1234\n'; } >long.bwx
    timeout 20 "$bitwell" --export long.bwx long12.zip >/dev/null
    timeout 20 "$bitwell" --export long.bwx long2004.zip --scorm 2004 >/dev/null
    for p in p12 p2004 long12 long2004; do
        v=${p#long} && v=${v#p}
        unzip -p "$p.zip" imsmanifest.xml >"$p.xml"
        xmllint --nonet --noout --schema "s$v.xsd" "$p.xml" 2>/dev/null || fail "manifest $p does not validate"
        sed 's/\(scorm[tT]ype\)="sco"/\1="lesson"/' "$p.xml" >"bad-$p.xml"
        xmllint --nonet --noout --schema "s$v.xsd" "bad-$p.xml" 2>/dev/null && fail "a bad SCO type validates ($p)"
        ! grep -qiE 'masteryscore|completionThreshold|scaledPassingScore' "$p.xml" || fail "manifest $p has a mastery score"
    done
fi

# Grading: each file replayed. NAME LEARNER EXERCISE ACTIONS (";" between).
attempt() {
    { echo "bitwell-attempt 1"; echo "learner: $2"
      echo "exercise: $(basenc --base64url -w0 <"$3" | tr -d =)"; tr ';' '\n' <<<"$4"; } >"$1"
}
solve1="A0 1;A1 1;LB 0;UB 0;CE 0;OE 0"
attempt solved.bwa "Ana" "$read1" "$solve1"
{ printf '\xEF\xBB\xBF'; cat solved.bwa; } >bom && mv bom solved.bwa  # as some editors save it
attempt "comma, quote.bwa" 'Doe, "J"' "$read1" "D3 1;$solve1"
attempt restarted.bwa "Ben" "$read1" "$solve1;restart;A2 1"
attempt typed.bwa "Cy" "$course/02-write-word.bwx" "A0 1;A2 1;data beef;LB 0;UB 0;CE 0;WE 0"
attempt overwritten.bwa "Di" "$course/02-write-word.bwx" "A0 1;A2 1;data BEEF;LB 0;UB 0;CE 0;WE 0;D0 0;order little"
attempt unknown.bwa "Ed" "$read1" "CE 0;A4 1"
printf 'bitwell-attempt 2\n' >version.bwa
printf 'bitwell-attempt 1\nlearner Fay\n' >learner.bwa
printf 'bitwell-attempt 1\nlearner: Gil\r\nexercise: ???\n' >link.bwa
attempt exercise.bwa "Hal" <(printf 'title: T\n') ""
printf 'bitwell-attempt 1\nlearner: Ida\n' >short.bwa
timeout 20 "$bitwell" --grade solved.bwa "comma, quote.bwa" missing.bwa restarted.bwa typed.bwa overwritten.bwa \
    unknown.bwa version.bwa learner.bwa link.bwa exercise.bwa short.bwa >out 2>err
status=$?
printf '%s\r\n' "file,learner,exercise,done,actions,goals_held,goals,first_unmet" \
    "solved.bwa,Ana,Read a word,1,6,2,2," '"comma, quote.bwa","Doe, ""J""",Read a word,1,7,2,2,' \
    "restarted.bwa,Ben,Read a word,0,1,0,2,32" "typed.bwa,Cy,Write one word,1,7,2,2," \
    "overwritten.bwa,Di,Write one word,1,9,0,2,30" >want
cat >want.err <<'ERR'
missing.bwa:0: the file cannot be read
unknown.bwa:5: unknown action "A4 1"
version.bwa:1: this is not a Bitwell attempt file
learner.bwa:2: the second line must be "learner:" and the learner's name
link.bwa:3: the link does not hold an exercise in base64url
exercise.bwa:3: the exercise does not open: 0: the file has no text
short.bwa:3: the file ends before the exercise
ERR
[ $status -eq 1 ] || fail "--grade status $status"
cmp -s out want || { fail "--grade output"; diff <(cat -A want) <(cat -A out); }
cmp -s err want.err || { fail "--grade messages"; diff want.err err; }
[ ! -e "$XDG_CONFIG_HOME/bitwell" ] || fail "settings written"
exit $failed
