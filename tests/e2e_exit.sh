#!/usr/bin/env bash
# End to end on a real X server: start the program, open File with its
# access key, choose Exit, answer Yes with Enter, and expect the process to
# end with status 0. Every wait is bounded; nothing is left running.
set -uo pipefail
program=${1:?usage: e2e_exit.sh PATH_TO_BITWELL}

if [ -z "${BITWELL_IN_XVFB:-}" ]; then
    export BITWELL_IN_XVFB=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$0" "$@"
fi
unset QT_QPA_PLATFORM

# wait_for_window TITLE: prints the window id, or fails after 10 s.
wait_for_window() {
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    echo "no window titled '$1'" >&2
    return 1
}

"$program" &
pid=$!
trap 'kill -9 $pid 2>/dev/null' EXIT

main=$(wait_for_window "Quorin Bitwell") || exit 1
xdotool windowfocus --sync "$main"
sleep 0.3
xdotool key --clearmodifiers alt+f
sleep 0.3
xdotool key e
box=$(wait_for_window "Exit Confirmation") || exit 1
xdotool windowfocus --sync "$box"
sleep 0.2
xdotool key Return

for _ in $(seq 50); do
    if ! kill -0 $pid 2>/dev/null; then
        wait $pid
        status=$?
        trap - EXIT
        echo "bitwell exited with status $status"
        exit $status
    fi
    sleep 0.1
done
echo "bitwell still running 5 s after Yes" >&2
exit 1
