#!/bin/bash
# CPU share and memory of the program with the throughput monitor open for a
# while (default ten minutes) on the default machine with steady traffic.
# Samples the program's own process every 30 seconds and prints a line per
# sample and a summary; the card's driver host and the wineserver are shown
# beside it for scale.
#
# usage: measure_throughput.sh [seconds]   (BUILD_DIR names the build;
#        CORVANE_EXE may name another copy of the program)
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$ROOT/scripts/env.sh"
duration=${1:-600}
exe=${CORVANE_EXE:-$BUILD_DIR/corvane.exe}
export MACHINES_DIR=$BUILD_DIR/measure-machines
export WINEPREFIX=$MACHINES_DIR/nt40-workstation
hz=$(getconf CLK_TCK)

cleanup() {
    end_machine "$WINEPREFIX"
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
}
trap cleanup EXIT

start_xvfb 160 || exit 1
"$ROOT/scripts/machine.sh" nt40-workstation --fresh >/dev/null || { echo "machine failed"; exit 1; }
wine "$exe" /v >/dev/null 2>&1 &
sleep 15
pid=""
for p in $(pgrep -f 'corvane\.exe'); do
    [ "$(tr '\0' ' ' </proc/$p/environ 2>/dev/null | grep -c "WINEPREFIX=$WINEPREFIX")" -gt 0 ] && pid=$p
done
[ -n "$pid" ] || { echo "program not found"; exit 1; }
host=""
for p in $(pgrep -f 'winedevice\.exe'); do
    [ "$(tr '\0' ' ' </proc/$p/environ 2>/dev/null | grep -c "WINEPREFIX=$WINEPREFIX")" -gt 0 ] && host=$p
done

ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }
rss() { awk '/VmRSS/ {print $2}' "/proc/$1/status" 2>/dev/null || echo 0; }
handles() { ls "/proc/$1/fd" 2>/dev/null | wc -l; }

t0=$(date +%s.%N); c0=$(ticks "$pid"); h0=$( [ -n "$host" ] && ticks "$host" || echo 0 )
r0=$(rss "$pid")
echo "elapsed_s  cpu_ticks  rss_kib  fds"
elapsed=0
while [ "$elapsed" -lt "$duration" ]; do
    sleep 30
    elapsed=$((elapsed + 30))
    kill -0 "$pid" 2>/dev/null || { echo "program ended early"; exit 1; }
    echo "$elapsed  $(( $(ticks "$pid") - c0 ))  $(rss "$pid")  $(handles "$pid")"
done
t1=$(date +%s.%N); c1=$(ticks "$pid"); h1=$( [ -n "$host" ] && ticks "$host" || echo 0 )
r1=$(rss "$pid")
awk -v c="$((c1 - c0))" -v h="$((h1 - h0))" -v hz="$hz" -v t0="$t0" -v t1="$t1" \
    -v r0="$r0" -v r1="$r1" 'BEGIN {
    t = t1 - t0
    printf "over %.0f s: program CPU %.2f %% of one core, driver host %.2f %%\n", t, 100 * c / hz / t, 100 * h / hz / t
    printf "program resident memory %d KiB at start, %d KiB at end (%+d KiB)\n", r0, r1, r1 - r0
}'
