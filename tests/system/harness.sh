# harness.sh - what the system test scripts share: the machine's prefix, the
# probes, check and the pass/fail count reported on exit, a display of the
# machine's own, and the helpers that make a machine, load a card scenario,
# start the program and wait on its windows and boxes. Sourced, not run, by a
# script whose first argument names the case; the script then runs the case.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$ROOT/scripts/env.sh"
case_name=${1:?case}
export MACHINES_DIR=$BUILD_DIR/system-machines
export WINEPREFIX=$MACHINES_DIR/$case_name
msgprobe="$BUILD_DIR/tests/system/msgprobe.exe"
listprobe="$BUILD_DIR/tests/system/listprobe.exe"
cardctl="$BUILD_DIR/sim/cardctl.exe"
scenarios=$ROOT/machines/scenarios
failures=0
checks=0

# Every process of the machine ends with the case, whichever copy of the
# program started it (the machine's logon starts one again after a restart),
# and a case that leaves one running fails.
finish() {
    local left
    checks=$((checks + 1))
    if end_machine "$WINEPREFIX"; then
        echo "ok: every process of the machine ends"
    else
        echo "FAILED: every process of the machine ends; left:"
        for left in $(machine_processes "$WINEPREFIX"); do echo "  $(describe_process "$left")"; done
        failures=$((failures + 1))
    fi
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
    echo "$((checks - failures)) passed, $failures failed"
    [ "$failures" -eq 0 ]
}
trap 'finish; exit $?' EXIT
# The machine has a screen of its own: the tests run side by side, and on a
# shared display one machine's desktop would lie over another's, hiding its
# taskbar from the tray reading and taking the clicks meant for its windows.
start_own_xvfb || exit 1

check() { # description, command...
    local what=$1
    shift
    checks=$((checks + 1))
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAILED: $what"
        failures=$((failures + 1))
    fi
}

# Runs the command again and again until it succeeds, for up to SECONDS:
# for a state that follows from an event the script cannot wait on directly,
# never a fixed pause. The last try's output is shown when it never does.
eventually() { # seconds command...
    local end=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        [ "$SECONDS" -ge "$end" ] && { "$@"; return 1; }
        sleep 0.2
    done
}

machine() { "$ROOT/scripts/machine.sh" "$1" --fresh >/dev/null || { echo "machine $1 failed"; exit 1; }; }
load() { wine "$cardctl" load "$scenarios/$1" >/dev/null || { echo "scenario $1 refused"; exit 1; }; }
run_program() { wine "$BUILD_DIR/corvane.exe" "$@" >/dev/null 2>&1 & PROGRAM_PID=$!; }
start() { run_program "$@"; }
state() { wine "$cardctl" state | tr -d '\r'; }

box_is() { # expected "caption|text"
    local got
    got=$(wine "$msgprobe" box 15000 | tr -d '\r')
    [ "$got" = "$1" ] || { echo "  expected: $1"; echo "  got:      $got"; return 1; }
}
press() { wine "$msgprobe" press "$1" 5000; }
# No message box within the wait (NO_BOX_MS, set before sourcing, or 4 s).
no_box() { wine "$msgprobe" none "${1:-${NO_BOX_MS:-4000}}"; }
window() { wine "$msgprobe" window "$1" "${2:-15000}"; }
gone() { wine "$msgprobe" gone "$1" "${2:-10000}"; }

# The quality the signal window shows in its caption, as a number.
shown_quality() { wine "$msgprobe" title "Current Signal Quality" 5000 | tr -d '\r' | sed -n 's/.*: *\([0-9]*\)%.*/\1/p'; }
quality_settles_between() { # low high: within 12 s
    local i q
    for i in $(seq 24); do
        q=$(shown_quality)
        [ -n "$q" ] && [ "$q" -ge "$1" ] && [ "$q" -le "$2" ] && return 0
        sleep 0.5
    done
    echo "  quality shown: ${q:-none}, wanted $1..$2"
    return 1
}
