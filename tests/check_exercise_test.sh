#!/usr/bin/env bash
# check_exercise_test.sh BITWELL EXERCISES_DIR: "bitwell --check-exercise
# FILE" with no display at all, for every built-in exercise and for files a
# teacher gets wrong: the exact output, on the right stream, and the status.
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
    expect 0 "$f: ok, $goals goals" "" "$f"
done

printf 'title: T\ntext: X\n\n# seven\n\n\ngoal memroy 5 = BEEF\n' >"$scratch/typo.bwx"
expect 1 "" "$scratch/typo.bwx:7: unknown goal \"memroy\"" "$scratch/typo.bwx"
printf 'text: X\r\ngoal read = 1234' >"$scratch/untitled.bwx"
expect 1 "" "$scratch/untitled.bwx:0: the file has no title" "$scratch/untitled.bwx"
printf 'title: caf\xe9\n' >"$scratch/latin1.bwx"
expect 1 "" "$scratch/latin1.bwx:1: the line is not UTF-8 text" "$scratch/latin1.bwx"
head -c 70000 /dev/zero >"$scratch/huge.bwx"
expect 1 "" "$scratch/huge.bwx:0: the file is larger than 64 KiB" "$scratch/huge.bwx"
expect 1 "" "$scratch/missing.bwx:0: the file cannot be read" "$scratch/missing.bwx"
printf 'title: T\ntext: X\ngoal read = 1234\n' >"$scratch/one goal.bwx"
expect 0 "$scratch/one goal.bwx: ok, 1 goals" "" "$scratch/one goal.bwx"
exit $failed
