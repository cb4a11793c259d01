#!/usr/bin/env bash
# atspi_test.sh PROGRAM: runs PROGRAM under Xvfb with a private session bus
# and the AT-SPI registry, and reads it with pyatspi (atspi_read.py). The
# program starts only once the accessibility bus and its registry answer;
# when a check fails, the program's own output and how it ended follow the
# reason. Every wait is bounded; nothing is left running.
set -euo pipefail
program=${1:?usage: atspi_test.sh PROGRAM}
here=$(cd "$(dirname "$0")" && pwd)
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
# Never the user's own settings; English names, whatever they chose.
export XDG_CONFIG_HOME=$(mktemp -d)
exec timeout 50 xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
    dbus-run-session -- bash -c '
        set -u
        log=$(mktemp)
        /usr/libexec/at-spi-bus-launcher --launch-immediately & launcher=$!
        app=
        trap "kill \$app \$launcher 2>/dev/null; wait 2>/dev/null; rm -rf \"\$log\" \"\$XDG_CONFIG_HOME\"" EXIT

        # The launcher takes its name on the session bus and then hands out
        # the address of the accessibility bus (asked before that, the
        # session bus would start a second launcher); a ping to the registry
        # starts it and answers once it is ready. 10 s at most.
        ready=
        for _ in $(seq 100); do
            address=
            if dbus-send --session --print-reply=literal --reply-timeout=1000 \
                   --dest=org.freedesktop.DBus /org/freedesktop/DBus \
                   org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null |
                   grep -q true; then
                address=$(dbus-send --session --print-reply=literal --reply-timeout=1000 \
                              --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
                              2>/dev/null | tr -d " ") || address=
            fi
            if [ -n "$address" ] &&
               dbus-send --bus="$address" --print-reply --reply-timeout=1000 \
                   --dest=org.a11y.atspi.Registry /org/a11y/atspi/accessible/root \
                   org.freedesktop.DBus.Peer.Ping >/dev/null 2>&1; then
                ready=1
                break
            fi
            sleep 0.1
        done
        if [ -z "$ready" ]; then
            echo "atspi: the accessibility bus never answered; the program was not started" >&2
            exit 1
        fi

        "$1" --language en >"$log" 2>&1 & app=$!
        status=0
        BITWELL_PID=$app /usr/bin/python3 "$2" || status=$?
        if [ "$status" -ne 0 ]; then
            if kill -0 "$app" 2>/dev/null; then
                echo "atspi: the program was still running" >&2
            else
                code=0
                wait "$app" || code=$?
                echo "atspi: the program had ended with status $code" >&2
            fi
            echo "atspi: the program'"'"'s output:" >&2
            sed "s/^/  | /" "$log" >&2
        fi
        exit "$status"
    ' _ "$program" "$here/atspi_read.py"
