#!/usr/bin/env bash
# fuzz_smoke.sh FUZZER CORPUS SECONDS: a short fuzzing run that starts from
# the kept corpus and writes what it finds to a scratch folder only.
set -uo pipefail
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/new"
"$1" -max_total_time="$3" -print_final_stats=1 "$scratch/new" "$2" >"$scratch/log" 2>&1
status=$?
# The summary, or the whole report when something failed.
if [ $status -eq 0 ]; then
    grep -E '^(stat::|INFO: seed)' "$scratch/log"
else
    cat "$scratch/log"
fi
exit $status
