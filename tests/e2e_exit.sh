#!/usr/bin/env bash
# End to end on a real X server: start the program, open the first
# built-in exercise by the top row's first key under a French layout, open
# File with its access key, choose Exit, answer Yes with Enter, and expect
# the process to end with status 0. Every wait is bounded; nothing is left
# running.
set -uo pipefail
program=${1:?usage: e2e_exit.sh PATH_TO_BITWELL}

if [ -z "${BITWELL_IN_XVFB:-}" ]; then
    export BITWELL_IN_XVFB=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$0" "$@"
fi
unset QT_QPA_PLATFORM
# Never the user's own settings; English titles, whatever they chose.
export XDG_CONFIG_HOME=$(mktemp -d)

# wait_for_window TITLE [TENTHS]: prints the window id, or fails after
# TENTHS tenths of a second (10 s unless given).
wait_for_window() {
    local id
    for _ in $(seq "${2:-100}"); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    echo "no window titled '$1'" >&2
    return 1
}

"$program" --language en &
pid=$!
trap 'kill -9 $pid 2>/dev/null; rm -rf "$XDG_CONFIG_HOME"' EXIT

main=$(wait_for_window "Quorin Bitwell") || exit 1

# focus_and_wait ID: gives ID the keyboard focus and waits until it has it.
focus_and_wait() {
    for _ in $(seq 50); do
        xdotool windowfocus "$1" 2>/dev/null
        [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && return 0
        sleep 0.1
    done
    echo "window $1 never took the focus" >&2
    return 1
}

# open_with MENU_KEY ITEM_KEY TITLE: opens a menu and chooses an item from
# the main window, and prints the id of the window titled TITLE that opens.
# A busy machine may map the window before Qt listens to keys: if the
# window does not come, close whatever opened and try again.
open_with() {
    local id
    for attempt in 1 2 3 4 5; do
        focus_and_wait "$main" || return 1
        sleep 0.2
        xdotool key --clearmodifiers "$1"
        sleep 0.3
        xdotool key "$2"
        id=$(wait_for_window "$3" 30 2>/dev/null) && { echo "$id"; return 0; }
        echo "attempt $attempt: no '$3' yet" >&2
        xdotool key Escape
        sleep 0.2
    done
    return 1
}

# The course's first item by its key's place on the top row, which types
# "&" on a French keyboard.
setxkbmap fr || exit 1
open_with alt+x ampersand "Exercise" > /dev/null ||
    { echo "the top row's first key under a French layout opened no exercise" >&2; exit 1; }
setxkbmap us

box=$(open_with alt+f e "Exit Confirmation") || { echo "File, Exit never asked" >&2; exit 1; }
focus_and_wait "$box" || exit 1
sleep 0.2
xdotool key Return

for _ in $(seq 50); do
    if ! kill -0 $pid 2>/dev/null; then
        wait $pid
        status=$?
        trap - EXIT
        rm -rf "$XDG_CONFIG_HOME"
        echo "bitwell exited with status $status"
        exit $status
    fi
    sleep 0.1
done
echo "bitwell still running 5 s after Yes" >&2
exit 1
