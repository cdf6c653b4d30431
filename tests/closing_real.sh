#!/usr/bin/env bash
# Closes the real program's window in the middle of searches, nested ones included, on a
# private X server with a window manager, and checks that the program exits with status 0 and
# leaves no window behind. The moments of closing are drawn from a fixed seed.
# Usage: closing_real.sh PATH/TO/tamizo
set -u
prog=${1:?program}
for tool in Xvfb openbox xdotool; do
    command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done
# Under the sanitizers: the X keyboard library reads a length-bounded string with strndup, which
# the strict string checks take for an overflow; that check stays on for every other test.
[ -n "${ASAN_OPTIONS:-}" ] && export ASAN_OPTIONS="${ASAN_OPTIONS//strict_string_checks=1/strict_string_checks=0}"
RANDOM=20031207
. "$(dirname "$0")/support/private_x.sh"
start_private_x 300
trap 'kill $private_x_pids 2>/dev/null; wait 2>/dev/null' EXIT
sleep 0.5

failures=0
passed=0
menu=22 # the menu bar's height in pixels, near enough to aim at the controls below it

# windows PID: how many visible windows the program has.
windows() { xdotool search --onlyvisible --pid "$1" 2>/dev/null | wc -l; }

# at WID X Y: click at a point of the window's client area (pixels).
at() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

scenario() { # NAME NESTED(0/1/2)
    local name=$1 nested=$2
    "$prog" >/dev/null 2>&1 &
    local pid=$!
    local wid=""
    for _ in $(seq 100); do
        wid=$(xdotool search --onlyvisible --pid "$pid" --name '^Tamizo$' 2>/dev/null | head -1)
        [ -n "$wid" ] || ! kill -0 "$pid" 2>/dev/null && break
        sleep 0.1
    done
    if [ -z "$wid" ]; then
        echo "FAIL $name: no window"; failures=$((failures + 1)); kill "$pid" 2>/dev/null; return
    fi
    xdotool windowactivate --sync "$wid" 2>/dev/null
    # The limit: the largest accepted, so the search is still running when the window closes.
    at "$wid" 240 $((menu + 16)); xdotool key ctrl+a type 4294967295
    local level
    for level in $(seq 0 "$nested"); do
        local before
        before=$(windows "$pid")
        at "$wid" 50 $((menu + 252))     # "Iniciar el cálculo"
        # The click is taken at a checkpoint of the running search (or at once when idle) and
        # asks for confirmation: a box of its own must show up.
        local shown=0
        for _ in $(seq 40); do
            [ "$(windows "$pid")" -gt "$before" ] && { shown=1; break; }
            sleep 0.1
        done
        if [ "$shown" -ne 1 ]; then
            echo "FAIL $name: no confirmation box at level $level"
            failures=$((failures + 1)); kill -9 "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; return
        fi
        xdotool key Return               # "Sí" in the confirmation box
        sleep "0.$((RANDOM % 6 + 2))"
    done
    xdotool windowactivate --sync "$wid" key alt+F4 2>/dev/null
    local status=124
    for _ in $(seq 100); do
        if ! kill -0 "$pid" 2>/dev/null; then wait "$pid"; status=$?; break; fi
        sleep 0.1
    done
    if [ "$status" -eq 124 ]; then
        local left
        left=$(xdotool search --pid "$pid" --onlyvisible --name '.' 2>/dev/null | while read -r w; do xdotool getwindowname "$w"; done | tr '\n' '|')
        echo "FAIL $name: still running 10 s after the close (windows: $left)"
        kill -9 "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
        failures=$((failures + 1))
    elif [ "$status" -ne 0 ]; then
        echo "FAIL $name: exit status $status"; failures=$((failures + 1))
    else
        echo "PASS $name"; passed=$((passed + 1))
    fi
}

for round in 1 2 3; do
    scenario "close during a search (round $round)" 0
    scenario "close during a nested search (round $round)" 1
done
scenario "close during a search nested twice" 2
echo "$passed passed, $failures failed"
[ "$failures" -eq 0 ]
