#!/bin/bash
# scripts_test.sh CASE - checks of the shell helpers that scripts/bench.sh and
# the machines' end rely on (scripts/figures.sh, scripts/env.sh), with canned
# figure lines and throwaway processes instead of a machine.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$ROOT/scripts/env.sh"
source "$ROOT/scripts/figures.sh"
failures=0
check() { # description, command...
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else
        echo "FAILED: $what"
        failures=$((failures + 1))
    fi
}
same() { # expected got
    [ "$1" = "$2" ] || { echo "  expected: $1"; echo "  got:      $2"; return 1; }
}

case ${1:?case} in
bench-judges)
    # Each figure against the target docs/performance.md gives it.
    load_targets "$ROOT/docs/performance.md"
    floor="(floor: f, 100 us)"
    while IFS='|' read -r line verdict; do
        check "$line" same "$line$verdict" "$(judge_figure "$line")"
    done <<EOT
driver block transfer: 110 us, ratio 1.10 $floor|, target 1.2: ok
trapped block transfer: 120 us, ratio 1.20 $floor|, target 1.2: ok
firmware command (driver path): 121 us, ratio 1.21 $floor|, target 1.2: over
firmware command (trapped path): 300 us, ratio 3.00 $floor|, target 1.2: over
monitor tick CPU: 400 us, ratio 4.00 $floor|, target 4.0: ok
chart Advance at 100000 calls: 20 us, ratio 0.20 $floor|, target 2.5: ok
ApplyLayout stations table: 900 us, ratio 9.00 $floor|, target 1.5: over
idle CPU share: 0.05 %, ratio 1.00 (floor: notepad, 0.05 %)|, target 2.0: ok
program size (stripped): 666 KiB, ratio 1.60 $floor|, target 1.65: ok
a figure nobody listed: 1 us, ratio 1.00 $floor|, target: not in docs/performance.md
EOT
    # judge_figure ran in subshells above: count in this shell.
    FIGURES_OVER=0 FIGURES_JUDGED=0 FIGURES_UNLISTED=0
    for ratio in 0.90 1.30 2.00; do judge_figure "driver block transfer: 1 us, ratio $ratio $floor" >/dev/null; done
    judge_figure "nobody's: 1 us, ratio 1.00 $floor" >/dev/null
    check "the last line counts the figures over their target" \
        same "2 of 3 figures with a target over it; 1 not in docs/performance.md" "$(figures_summary)"
    # A figure the table lists without a target yet (the document's table
    # is left behind from here on).
    table=$(mktemp)
    printf '## The figures\n\n| Figure | What | Floor | Target | By |\n|---|---|---|---|---|\n| `new figure` | w | f | none yet | b |\n' >"$table"
    load_targets "$table"
    rm -f "$table"
    check "a figure without a target says so" same \
        "new figure: 1 us, ratio 1.00 $floor, target: none yet" \
        "$(judge_figure "new figure: 1 us, ratio 1.00 $floor")"
    check "the figure lines are what the measuring programs print" \
        eval '[[ "driver block transfer: 1 us, ratio 1.00 $floor" =~ $FIGURE_LINE ]]'
    ;;
bench-samples)
    # A program that ended gives no sample: gone from /proc once its parent
    # reaped it, or a zombie still waiting to be reaped.
    sleep 30 &
    alive=$!
    sleep 0 &
    reaped=$!
    wait $reaped
    # Its parent lives on without reaping it: the child ends only once its
    # parent has become a sleep (a shell would reap a child that ended
    # before its exec). The parent's output goes elsewhere, so the reading
    # here does not wait for the parent's end, after which the system would
    # reap the zombie at once.
    read -r zombie parent < <(bash -c 'sh -c "while [ -e /proc/\$1 ] && ! grep -qx sleep /proc/\$1/comm 2>/dev/null; do sleep 0.01; done" _ $$ & echo $! $$; exec sleep 30 >/dev/null 2>&1')
    for _ in $(seq 50); do
        grep -q ') Z ' "/proc/$zombie/stat" 2>/dev/null && break
        sleep 0.1
    done
    check "the zombie waits to be reaped" grep -q ') Z ' "/proc/$zombie/stat"
    check "a reaped process gives no sample" eval '! proc_sample $reaped'
    check "a zombie gives no sample" eval '! proc_sample $zombie'
    check "a running one gives its jiffies, resident and private KiB" \
        eval '[[ "$(proc_sample $alive)" =~ ^[0-9]+\ [0-9]+\ [0-9]+$ ]]'
    kill "$alive" "$parent"
    wait 2>/dev/null
    ;;
machine-ends)
    # A machine of sleeping processes, one of them a loop that starts its
    # sleep again when it is killed (as the session watcher boots the machine
    # again); another machine beside it is left alone.
    work=$(mktemp -d /tmp/corvane-scripts-test.XXXXXX)
    mkdir -p "$work/machines/one" "$work/machines/two" "$work/other"
    start() { (WINEPREFIX=$1 setsid "${@:2}" </dev/null >/dev/null 2>&1 &); }
    start "$work/machines/one" sleep 300
    start "$work/machines/one" bash -c 'while :; do sleep 300; done'
    start "$work/machines/two" sleep 300
    start "$work/other" sleep 300
    for _ in $(seq 50); do
        [ "$(machine_processes "$work/*" | wc -l)" -ge 5 ] && break
        sleep 0.1
    done
    check "the machines' processes are found by their prefix" \
        same "3 1 5" "$(machine_processes "$work/machines/one" | wc -l) $(machine_processes "$work/other" | wc -l) $(machine_processes "$work/*" | wc -l)"
    check "ending a machine ends every process of it" end_machine "$work/machines/one"
    check "none is left" same "" "$(machine_processes "$work/machines/one")"
    check "the other machines run on" same "2" "$(machine_processes "$work/*" | wc -l)"
    # The display the caller started for the machine stays: a machine may be
    # started again on it, and the caller ends it.
    XVFB_PID=$(machine_processes "$work/machines/two")
    start "$work/machines/two" sleep 300
    for _ in $(seq 50); do
        [ "$(machine_processes "$work/machines/two" | wc -l)" -ge 2 ] && break
        sleep 0.1
    done
    check "a machine ends around the caller's display" end_machine "$work/machines/two"
    check "which runs on" same "$XVFB_PID" "$(machine_processes "$work/machines/two")"
    unset XVFB_PID
    # The harness names the machine's prefix in its own environment: every
    # command it starts carries it, so ending the machine must start none
    # that it would then wait on as the machine's own.
    check "a machine ends from a shell that names its prefix" bash -c '
        source "$1/scripts/env.sh"
        export WINEPREFIX=$2
        (setsid sleep 300 </dev/null >/dev/null 2>&1 &)
        for _ in $(seq 50); do [ -n "$(machine_processes "$2")" ] && break; sleep 0.1; done
        for _ in $(seq 20); do end_machine "$2" || exit 1; done' _ "$ROOT" "$work/machines/three"
    check "a leftover is named with its machine" \
        eval 'describe_process "$(machine_processes "$work/other")" | grep -q "sleep 300 (machine $work/other)"'
    end_machine "$work/machines/two"
    end_machine "$work/other"
    rm -rf "$work"
    ;;
*)
    echo "no case $1"
    exit 2
    ;;
esac
[ "$failures" -eq 0 ]
