#!/bin/bash
# Prints every measured figure of the program and its simulated machine, one
# a line, each against its floor measured in the same run and judged against
# its target from docs/performance.md:
#   name: value unit, ratio R (floor: what, value unit), target T: ok|over
# (", target: none yet" where the document sets none), then a last line
# counting the figures over their target. Builds what it needs, starts a
# throwaway machine (the nt40-workstation profile, with the razuDov driver
# and the default card) on a display of its own, and switches it off again.
#   scripts/bench.sh            every figure
#   scripts/bench.sh -v         also the measuring programs' detail lines
# The status is not zero only when a measuring program failed (a figure over
# its target is a finding, not a failure of the run).
# Adding a figure: one line in the list at the end, calling a program that
# prints lines in the form above (or `figure` with the numbers), and its row
# in docs/performance.md.
set -euo pipefail
source "$(dirname "$0")/env.sh"
source "$ROOT/scripts/figures.sh"
load_targets "$ROOT/docs/performance.md"

verbose=0
[ "${1:-}" = "-v" ] && verbose=1

"$ROOT/scripts/setup.sh"
build_all >/dev/null
# Every program of bench/, so that none of them stops building unnoticed.
cmake --build "$BUILD_DIR" --target benches >/dev/null

work=$(mktemp -d /tmp/corvane-bench.XXXXXX)
export MACHINES_DIR=$work WINEPREFIX=$work/nt40-workstation
cleanup() {
    end_machine "$WINEPREFIX" || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
start_xvfb 150
"$ROOT/scripts/machine.sh" nt40-workstation >/dev/null

# Lines of a measuring program: the figures always, judged, the rest with
# -v. A program that fails still has its figures printed, and the run goes on
# to the next; the script's status then tells that something failed.
failed=0
figures() {
    local out status=0 line
    out=$("$@" 2>&1 | tr -d '\r') || status=$?
    while IFS= read -r line; do
        if [[ $line =~ $FIGURE_LINE ]]; then
            judge_figure "$line"
        elif [ $verbose = 1 ]; then
            echo "$line"
        fi
    done <<<"$out"
    if [ $status -ne 0 ]; then
        failed=1
        echo "bench: '$*' ended with status $status" >&2
        [ $verbose = 1 ] || echo "$out" | grep -vE "$FIGURE_LINE" | tail -5 >&2
    fi
    return 0
}

# figure NAME VALUE UNIT FLOOR FLOOR_WHAT: one judged line from two numbers.
# A floor of nothing is no measurement: the figure is not printed and the
# run fails, rather than a ratio of 0 passing as ok.
figure() {
    if ! awk -v f="$4" 'BEGIN { exit !(f > 0) }'; then
        echo "bench: $1: its floor ($5) measured nothing" >&2
        failed=1
        return 0
    fi
    judge_figure "$(awk -v n="$1" -v v="$2" -v u="$3" -v f="$4" -v w="$5" \
        'BEGIN { printf "%s: %.6g %s, ratio %.2f (floor: %s, %.6g %s)\n", n, v, u, (f > 0 ? v / f : 0), w, f, u }')"
}

# The machine's process whose command line matches the pattern (grep -i),
# waited for up to 10 s: `wine notepad` is a start.exe that starts notepad.exe.
machine_process() { # pattern
    local pid
    for _ in $(seq 100); do
        for pid in $(machine_processes "$WINEPREFIX"); do
            tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline" | grep -qi -- "$1" && {
                echo "$pid"
                return 0
            }
        done
        sleep 0.1
    done
    return 1
}

# The running program left alone for a while against an idle Wine program
# (notepad) beside it: processor share, resident and private memory. Both
# must run from the first sample to the last: one that ended gives no figure.
running_program() {
    local seconds=20 hz ours theirs a0 b0 a1 b1 rss_ours rss_theirs own_ours own_theirs
    hz=$(getconf CLK_TCK)
    wine "$BUILD_DIR/corvane.exe" >/dev/null 2>&1 &
    ours=$!
    wine notepad >/dev/null 2>&1 &
    theirs=$(machine_process 'notepad\.exe') || {
        echo "bench: notepad.exe did not start" >&2
        kill "$ours" 2>/dev/null
        return 1
    }
    sleep 8 # started, discovered the card, monitoring
    if ! read -r a0 _ < <(proc_sample $ours) || ! read -r b0 _ < <(proc_sample $theirs); then
        echo "bench: $(proc_sample $ours >/dev/null && echo notepad || echo corvane.exe) ended before it could be measured" >&2
        kill "$ours" "$theirs" 2>/dev/null || true
        return 1
    fi
    sleep $seconds
    if ! read -r a1 rss_ours own_ours < <(proc_sample $ours) ||
        ! read -r b1 rss_theirs own_theirs < <(proc_sample $theirs); then
        echo "bench: $(proc_sample $ours >/dev/null && echo notepad || echo corvane.exe) ended while it was measured" >&2
        kill "$ours" "$theirs" 2>/dev/null || true
        return 1
    fi
    # The floor's share is never taken below one clock tick in the window.
    figure "idle CPU share" "$(awk -v d=$((a1 - a0)) -v s=$seconds -v hz="$hz" 'BEGIN { print 100 * d / hz / s }')" % \
        "$(awk -v d=$((b1 - b0)) -v s=$seconds -v hz="$hz" 'BEGIN { if (d < 1) d = 1; print 100 * d / hz / s }')" \
        "an idle Wine program (notepad) beside it"
    figure "memory of the running program" "$rss_ours" KiB "$rss_theirs" \
        "resident memory of an idle Wine program (notepad)"
    figure "private memory of the running program" "$own_ours" KiB "$own_theirs" \
        "private memory of an idle Wine program (notepad)"
    kill "$ours" "$theirs" 2>/dev/null || true
    # The next figure starts the program afresh: this copy must be gone.
    wait "$ours" 2>/dev/null || true
}

cardctl="$BUILD_DIR/sim/cardctl.exe"
# --- the figures, one a line --------------------------------------------
figures wine "$cardctl" bench 500                        # driver block transfer, trapped block transfer
figures wine "$BUILD_DIR/bench/adapter_bench.exe" # firmware command (driver, trapped path, in process), card item
figures wine "$BUILD_DIR/bench/monitor_bench.exe" 2000   # monitor tick CPU
figures wine "$BUILD_DIR/bench/history_bench.exe" 5000   # tick with a survey log, history memory
figures wine "$BUILD_DIR/bench/startup_bench.exe" "$(winepath -w "$BUILD_DIR/corvane.exe")" \
    "$(winepath -w "$BUILD_DIR/bench/minimal_window.exe")" 15 # start-up, before any copy runs
running_program || { failed=1; echo "bench: the running program could not be measured" >&2; } # idle CPU share, memory
figures wine "$BUILD_DIR/bench/widgets_bench.exe" # chart Advance at 10/1000/100000 calls, ApplyLayout of each table
figures python3 "$ROOT/scripts/size-figure.py" "$BUILD_DIR/corvane.exe" "$BUILD_DIR/corvane.map" \
    "$BUILD_DIR/Kerfo.hlp" # program size (stripped)
figures_summary
exit $failed
