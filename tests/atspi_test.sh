#!/usr/bin/env bash
# atspi_test.sh PROGRAM: runs PROGRAM under Xvfb with a private session bus
# and the AT-SPI registry, and reads it with pyatspi (atspi_read.py). Every
# wait is bounded; nothing is left running.
set -euo pipefail
program=${1:?usage: atspi_test.sh PROGRAM}
here=$(cd "$(dirname "$0")" && pwd)
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
exec timeout 50 xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
    dbus-run-session -- bash -c '
        /usr/libexec/at-spi-bus-launcher --launch-immediately & launcher=$!
        "$1" & app=$!
        trap "kill $app $launcher 2>/dev/null; wait 2>/dev/null || true" EXIT
        /usr/bin/python3 "$2"
    ' _ "$program" "$here/atspi_read.py"
