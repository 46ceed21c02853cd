#!/bin/sh
# Runs quimbel-demo on a virtual X display with its own D-Bus session and accessibility bus,
# then lets atspi_keys.py read and press its keys from outside the process. Exit 77 (skipped)
# when a tool is missing.
demo=$1
here=$(cd "$(dirname "$0")" && pwd)
launcher=/usr/libexec/at-spi-bus-launcher
for tool in Xvfb dbus-run-session; do
    command -v "$tool" >/dev/null 2>&1 || { echo "no $tool"; exit 77; }
done
[ -x "$launcher" ] || { echo "no at-spi2-core"; exit 77; }
/usr/bin/python3 -c "import pyatspi" 2>/dev/null || { echo "no python3-pyatspi"; exit 77; }
[ -n "${INSIDE_SESSION:-}" ] || exec env INSIDE_SESSION=1 dbus-run-session -- "$0" "$@"

display=:$((90 + $$ % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
"$launcher" --launch-immediately >/dev/null 2>&1 &
bus=$!
export DISPLAY="$display" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
sleep 1
"$demo" --layout us >/dev/null 2>&1 &
app=$!
/usr/bin/python3 "$here/atspi_keys.py"
status=$?
kill "$app" "$bus" "$xvfb" 2>/dev/null
wait "$app" "$bus" "$xvfb" 2>/dev/null
exit $status
