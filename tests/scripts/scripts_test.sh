#!/bin/bash
# scripts_test.sh CASE - checks of the shell helpers that the machines' end
# relies on (scripts/env.sh), with throwaway processes instead of a machine.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$ROOT/scripts/env.sh"
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
