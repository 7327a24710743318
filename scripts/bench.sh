#!/bin/bash
# Prints every measured figure of the program and its simulated machine, one
# a line, each against its floor measured in the same run:
#   name: value unit, ratio R (floor: what, value unit)
# Builds what it needs, starts a throwaway machine (the nt40-workstation
# profile, with the razuDov driver and the default card) on a display of its
# own, and switches it off again. docs/performance.md lists the figures.
#   scripts/bench.sh            every figure
#   scripts/bench.sh -v         also the measuring programs' detail lines
# Adding a figure: one line in the list at the end, calling a program that
# prints lines in the form above (or `figure` with the numbers).
set -euo pipefail
source "$(dirname "$0")/env.sh"

verbose=0
[ "${1:-}" = "-v" ] && verbose=1

"$ROOT/scripts/setup.sh"
build_all >/dev/null
cmake --build "$BUILD_DIR" --target monitor_bench widgets_bench >/dev/null

work=$(mktemp -d /tmp/corvane-bench.XXXXXX)
export MACHINES_DIR=$work WINEPREFIX=$work/nt40-workstation
cleanup() {
    wineserver -k 2>/dev/null || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
start_xvfb 150
"$ROOT/scripts/machine.sh" nt40-workstation >/dev/null

# Lines of a measuring program: the figures always, the rest with -v.
figures() {
    local out
    out=$("$@" 2>&1 | tr -d '\r') || { echo "bench: '$*' failed:" >&2; echo "$out" >&2; return 1; }
    if [ $verbose = 1 ]; then echo "$out"; else
        echo "$out" | grep -E '^[a-zA-Z][^:]*: [0-9.]+ [^,]+, ratio [0-9.]+ \(floor: .*\)$' || true
    fi
}

# figure NAME VALUE UNIT FLOOR FLOOR_WHAT: one line from two numbers.
figure() {
    awk -v n="$1" -v v="$2" -v u="$3" -v f="$4" -v w="$5" \
        'BEGIN { printf "%s: %.6g %s, ratio %.2f (floor: %s, %.6g %s)\n", n, v, u, (f > 0 ? v / f : 0), w, f, u }'
}

# A firmware command's own time on both paths, against the three block
# transfers it needs (DriverCostTest prints its medians).
firmware_commands() {
    local out
    out=$(wine "$BUILD_DIR/tests/adapter/adapter_driver_tests.exe" --gtest_filter='DriverCost.*' 2>&1 | tr -d '\r')
    [ $verbose = 1 ] && echo "$out" | grep -E 'medians|least'
    echo "$out" | sed -n 's/^\(driver\|direct\) path, medians: 3 block transfers \([0-9.]*\) us; GetParam \([0-9.]*\) us.*/\1 \2 \3/p' |
        while read -r path floor value; do
            [ "$path" = direct ] && path=trapped
            figure "firmware command ($path path)" "$value" us "$floor" "its three block transfers"
        done
}

# /proc figures of a running Wine program: CPU jiffies and resident KiB.
jiffies() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
rss_kib() { awk '/^VmRSS/ { print $2 }' "/proc/$1/status"; }

# The running program left alone for a while against an idle Wine program
# (notepad) beside it: processor share and resident memory.
running_program() {
    local seconds=20 hz ours theirs a0 b0 a1 b1
    hz=$(getconf CLK_TCK)
    wine "$BUILD_DIR/corvane.exe" >/dev/null 2>&1 &
    ours=$!
    wine notepad >/dev/null 2>&1 &
    theirs=$!
    sleep 8 # started, discovered the card, monitoring
    a0=$(jiffies $ours); b0=$(jiffies $theirs)
    sleep $seconds
    a1=$(jiffies $ours); b1=$(jiffies $theirs)
    # The floor's share is never taken below one clock tick in the window.
    figure "idle CPU share" "$(awk -v d=$((a1 - a0)) -v s=$seconds -v hz="$hz" 'BEGIN { print 100 * d / hz / s }')" % \
        "$(awk -v d=$((b1 - b0)) -v s=$seconds -v hz="$hz" 'BEGIN { if (d < 1) d = 1; print 100 * d / hz / s }')" \
        "an idle Wine program (notepad) beside it"
    figure "memory of the running program" "$(rss_kib $ours)" KiB "$(rss_kib $theirs)" \
        "resident memory of an idle Wine program (notepad)"
    kill "$ours" "$theirs" 2>/dev/null || true
}

cardctl="$BUILD_DIR/sim/cardctl.exe"
# --- the figures, one a line --------------------------------------------
figures wine "$cardctl" bench 500                        # driver block transfer, trapped block transfer
firmware_commands                                         # firmware command (driver path, trapped path)
figures wine "$BUILD_DIR/tests/app/monitor_bench.exe" 2000   # monitor tick CPU
running_program                                           # idle CPU share, memory of the running program
figures wine "$BUILD_DIR/tests/widgets/widgets_bench.exe" # chart Advance at 10/1000/100000 calls, ApplyLayout of each table
