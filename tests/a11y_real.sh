#!/usr/bin/env bash
# Runs the real program on a private X server with its own session bus and accessibility bus,
# and drives it only through that bus, as a screen reader would (a11y_real.py says what it
# does). Every wait is bounded.
# Usage: a11y_real.sh PATH/TO/tamizo
set -u
prog=${1:?program}
here=$(cd "$(dirname "$0")" && pwd)
launcher=/usr/libexec/at-spi-bus-launcher

if [ -z "${TAMIZO_A11Y_SESSION:-}" ]; then
    for tool in Xvfb dbus-run-session dbus-send "$launcher"; do
        command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
    done
    /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "missing python3-pyatspi"; exit 1; }
    # A session bus of our own, gone when this run ends. What the buses and their services
    # say shows only when the run fails.
    log=$(mktemp)
    TAMIZO_A11Y_SESSION=1 dbus-run-session -- bash "$0" "$prog" 2>"$log"
    status=$?
    [ "$status" -ne 0 ] && { echo "--- the session's messages:"; cat "$log"; }
    rm -f "$log"
    exit "$status"
fi

export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset WAYLAND_DISPLAY
# Under the sanitizers: the X keyboard library reads a length-bounded string with strndup, which
# the strict string checks take for an overflow; that check stays on for every other test.
[ -n "${ASAN_OPTIONS:-}" ] && export ASAN_OPTIONS="${ASAN_OPTIONS//strict_string_checks=1/strict_string_checks=0}"
tmp=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$tmp"' EXIT

# poll SECONDS COMMAND...: runs COMMAND every 0.1 s until it succeeds; fails after SECONDS.
poll() {
    local tries=$(($1 * 10))
    shift
    for _ in $(seq "$tries"); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
    return 1
}

# The X server picks a free display and writes its number once it takes connections.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/display" >/dev/null 2>&1 &
pids+=($!)
poll 20 test -s "$tmp/display" || { echo "FAIL: the X server did not start"; exit 1; }
export DISPLAY=":$(head -n1 "$tmp/display")"

"$launcher" --launch-immediately >/dev/null 2>&1 &
pids+=($!)
# Asked without starting it, so that the bus does not start a second one.
bus_up() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus | grep -q 'boolean true'
}
poll 20 bus_up || { echo "FAIL: no accessibility bus"; exit 1; }

"$prog" >"$tmp/program.log" 2>&1 &
pids+=($!)
timeout 180 /usr/bin/python3 "$here/a11y_real.py"
status=$?
if [ "$status" -ne 0 ]; then
    echo "--- the program's output:"
    cat "$tmp/program.log"
fi
exit "$status"
