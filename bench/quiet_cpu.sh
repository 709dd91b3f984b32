#!/usr/bin/env bash
# How much of one core the running console takes while the plant is quiet
# (nothing commanded, no route running), measured over 30 s on a virtual X
# server; also how long the window takes to appear after the process starts.
# Passes when the window appears within 0.5 s and the share stays under 2 %.
#
#   bench/quiet_cpu.sh [build-dir]        (default: build)
#   QUIET_SECONDS=10 bench/quiet_cpu.sh   (a shorter measurement)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
case "$build" in /*) ;; *) build="$root/$build" ;; esac
exe="$build/app/GrainTerminal"
[ -x "$exe" ] || { echo "no console program at $exe" >&2; exit 2; }

if [ -z "${QUIET_CPU_INSIDE_X:-}" ]; then
    export QUIET_CPU_INSIDE_X=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build"
fi

seconds=${QUIET_SECONDS:-30}
startup_wait=7  # the console's own start-up takes five seconds
share_limit=2.0
show_limit_ms=500

# A copy of the program in a scratch folder, so no saved state starts a route.
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$exe" "$work/GrainTerminal"
cd "$work"

start_ns=$(date +%s%N)
./GrainTerminal >/dev/null 2>&1 &
pid=$!
until xdotool search --onlyvisible --class GrainTerminal >/dev/null 2>&1; do
    kill -0 "$pid" 2>/dev/null || { echo "the console exited early" >&2; exit 1; }
    sleep 0.01
done
shown_ms=$(( ($(date +%s%N) - start_ns) / 1000000 ))

sleep "$startup_wait"
ticks_per_second=$(getconf CLK_TCK)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
before=$(cpu_ticks)
sleep "$seconds"
after=$(cpu_ticks)

share=$(awk -v d=$((after - before)) -v hz="$ticks_per_second" -v s="$seconds" \
    'BEGIN { printf "%.2f", d / hz / s * 100 }')
echo "window shown after ${shown_ms} ms (limit ${show_limit_ms} ms)"
echo "quiet console used ${share} % of one core over ${seconds} s (limit ${share_limit} %)"

status=0
[ "$shown_ms" -le "$show_limit_ms" ] || { echo "FAIL: window too slow to appear"; status=1; }
awk -v s="$share" -v l="$share_limit" 'BEGIN { exit !(s < l) }' || {
    echo "FAIL: quiet console too busy"
    status=1
}
exit "$status"
