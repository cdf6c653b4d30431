#!/usr/bin/env bash
# The search measured from outside, as a user sees it: the real program on a private X server
# with a window manager, the limit typed into the field, "Iniciar el cálculo" clicked and the
# question answered "Sí"; then the time until the summary box shows up and the program's peak
# memory at that moment. Prints one JSON object, like tamizo-bench.
# Usage: bench/blackbox.sh PATH/TO/tamizo [LIMIT, default 4294967295]
# Needs Xvfb, openbox and xdotool (the test command installs them).
set -u
prog=${1:?program}
limit=${2:-4294967295}
. "$(dirname "$0")/../tests/support/private_x.sh"
start_private_x 600
"$prog" >/dev/null 2>&1 &
pid=$!
trap 'kill $pid $private_x_pids 2>/dev/null; wait 2>/dev/null' EXIT
wid=""
for _ in $(seq 300); do
    wid=$(xdotool search --onlyvisible --pid "$pid" --name '^Tamizo$' 2>/dev/null | head -1)
    [ -n "$wid" ] && break
    sleep 0.1
done
[ -n "$wid" ] || { echo '{"case":"blackbox","error":"no window"}'; exit 1; }
menu=22 # the menu bar's height in pixels
xdotool windowactivate --sync "$wid"
xdotool mousemove --window "$wid" 240 $((menu + 16)) click 1 key ctrl+a type "$limit"
xdotool mousemove --window "$wid" 50 $((menu + 252)) click 1 # "Iniciar el cálculo"
for _ in $(seq 100); do
    [ "$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l)" -gt 1 ] && break
    sleep 0.05
done
start=$(date +%s.%N)
xdotool key Return # "Sí"
summary=""
while kill -0 "$pid" 2>/dev/null; do
    summary=$(xdotool search --onlyvisible --name '^Estadística de cálculo$' 2>/dev/null | head -1)
    [ -n "$summary" ] && break
    sleep 0.02
done
end=$(date +%s.%N)
[ -n "$summary" ] || { echo '{"case":"blackbox","error":"no summary box"}'; exit 1; }
peak_kb=$(awk '/^VmHWM:/ {print $2}' "/proc/$pid/status")
awk -v l="$limit" -v s="$start" -v e="$end" -v k="$peak_kb" \
    'BEGIN { printf "{\"case\":\"blackbox-%s\",\"seconds\":%.2f,\"peak_rss_mb\":%.0f}\n", l, e - s, k / 1024 }'
