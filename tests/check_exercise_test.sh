#!/usr/bin/env bash
# check_exercise_test.sh BITWELL EXERCISES_DIR: the command line with no
# display at all. "bitwell --check-exercise FILE" for every built-in exercise
# and for files a teacher gets wrong: the exact output, on the right stream,
# and the status, in English whatever the desktop speaks. Then --language:
# the usage in the language asked for (or the desktop's), an unknown code.
set -uo pipefail
bitwell=${1:?usage: check_exercise_test.sh BITWELL EXERCISES_DIR}
course=${2:?usage: check_exercise_test.sh BITWELL EXERCISES_DIR}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME=$scratch/config LANG=de_DE.UTF-8 LANGUAGE=de
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
failed=0

# expect STATUS STDOUT STDERR FILE: runs the check on FILE.
expect() {
    local status=$1 out=$2 err=$3 file=$4
    timeout 20 "$bitwell" --check-exercise "$file" >"$scratch/out" 2>"$scratch/err"
    local got=$?
    if [ $got -ne "$status" ] || [ "$(cat "$scratch/out")" != "$out" ] || [ "$(cat "$scratch/err")" != "$err" ]; then
        echo "FAIL $file: status $got (wanted $status)"
        echo "  stdout: $(cat "$scratch/out")  (wanted: $out)"
        echo "  stderr: $(cat "$scratch/err")  (wanted: $err)"
        failed=1
    fi
}

for f in "$course"/*.bwx; do
    goals=$(grep -c '^goal ' "$f")
    if [ "$goals" = 1 ]; then expect 0 "$f: ok, 1 goal" "" "$f"; else expect 0 "$f: ok, $goals goals" "" "$f"; fi
done

printf 'title: T\ntext: X\n\n# seven\n\n\ngoal memroy 5 = BEEF\n' >"$scratch/typo.bwx"
expect 1 "" "$scratch/typo.bwx:7: unknown goal \"memroy\"; did you mean \"memory\"?" "$scratch/typo.bwx"
# Every problem, one a line, line 0 first.
printf 'text: X\ngoal read == 1234\ngoal memory 10 = 0000\n' >"$scratch/three.bwx"
expect 1 "" "$scratch/three.bwx:0: the file has no title
$scratch/three.bwx:2: use one \"=\" instead of \"==\"
$scratch/three.bwx:3: bad hex address \"10\": an address is one hex digit, 0 to F" "$scratch/three.bwx"
printf 'text: X\r\ngoal read = 1234' >"$scratch/untitled.bwx"
expect 1 "" "$scratch/untitled.bwx:0: the file has no title" "$scratch/untitled.bwx"
printf 'title: caf\xe9\n' >"$scratch/latin1.bwx"
expect 1 "" "$scratch/latin1.bwx:1: the line is not UTF-8 text" "$scratch/latin1.bwx"
head -c 70000 /dev/zero >"$scratch/huge.bwx"
expect 1 "" "$scratch/huge.bwx:0: the file is larger than 64 KiB" "$scratch/huge.bwx"
expect 1 "" "$scratch/missing.bwx:0: the file cannot be read" "$scratch/missing.bwx"
printf 'title: T\ntext: X\ngoal read = 1234\n' >"$scratch/one goal.bwx"
expect 0 "$scratch/one goal.bwx: ok, 1 goal" "" "$scratch/one goal.bwx"

# The usage speaks the desktop's language (German here) unless asked
# otherwise; an unknown code names the ones there are.
usage() { timeout 20 "$bitwell" "$@" --help 2>&1 | sed -n 2p; }
english="Drive a static memory chip by hand and watch it work."
[ "$(usage --language en)" = "$english" ] ||
    { echo "FAIL usage with --language en: $(usage --language en)"; failed=1; }
german=$(usage)
[ -n "$german" ] && [ "$german" != "$english" ] && [ "$(usage --language de)" = "$german" ] ||
    { echo "FAIL usage in the desktop's language: $german"; failed=1; }
timeout 20 "$bitwell" --language pt >"$scratch/out" 2>"$scratch/err"
status=$?
if [ $status -ne 1 ] || ! grep -q "en, de, fr, es, pt_BR" "$scratch/err" || [ -s "$scratch/out" ]; then
    echo "FAIL --language pt: status $status, $(cat "$scratch/err")"
    failed=1
fi
# Nothing was remembered by any of this.
[ ! -e "$XDG_CONFIG_HOME/bitwell" ] || { echo "FAIL settings written"; failed=1; }
exit $failed
