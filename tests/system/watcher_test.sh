#!/bin/bash
# System tests of the Network Watchers: the real corvane.exe on a simulated
# machine with the real razuDov driver, driven from outside through its
# windows (listprobe, msgprobe) and the card (cardctl).
#
# usage: watcher_test.sh CASE   (BUILD_DIR names the build)
set -uo pipefail
NO_BOX_MS=3000
source "$(dirname "$0")/harness.sh"

state_has() { # text: within 10 s
    local i
    for i in $(seq 20); do state | grep -q -- "$1" && return 0; sleep 0.5; done
    echo "  card state lacks: $1"; state | sed 's/^/  /'
    return 1
}

WATCHER="Network Watcher (Infrastructure)"
LIST=220 SCAN=221 JOIN=222 CANCEL=102

names() { wine "$listprobe" cells "$1" "$2" 0 | tr -d '\r' | tr '\n' ' ' | sed 's/ $//'; }
names_are() { # title list expected: within 10 s
    local i got
    for i in $(seq 20); do
        got=$(names "$1" "$2")
        [ "$got" = "$3" ] && return 0
        sleep 0.5
    done
    echo "  expected: $3"; echo "  got:      $got"
    return 1
}
enabled() { wine "$listprobe" enabled "$WATCHER" "$1"; }
disabled() { ! enabled "$1"; }
settles() { # command...: true within 10 s
    local i
    for i in $(seq 20); do "$@" && return 0; sleep 0.5; done
    return 1
}
tray_counts() { wine "$msgprobe" tray | tr -d '\r'; }
tray_is() { # green|grey
    local i out red green
    for i in $(seq 24); do
        out=$(tray_counts)
        red=$(echo "$out" | awk '{print $2}')
        green=$(echo "$out" | awk '{print $4}')
        if [ "$1" = green ] && [ "${green:-0}" -gt 20 ] && [ "${red:-1}" -eq 0 ]; then return 0; fi
        if [ "$1" = grey ] && [ "${green:-1}" -eq 0 ] && [ "${red:-1}" -eq 0 ]; then return 0; fi
        sleep 0.5
    done
    echo "  tray shows: ${out:-no tray}"
    return 1
}

case "$case_name" in
watcher-scan)
    machine nt40-workstation
    start /s
    check "/s opens the watcher" window "$WATCHER"
    check "it lists the configured network's cells" names_are "$WATCHER" $LIST "Lobby Lab Store"
    check "the tray shows the link" tray_is green
    wine "$cardctl" scan-endless on >/dev/null
    wine "$cardctl" signal 1 0 >/dev/null
    wine "$listprobe" command "$WATCHER" $SCAN
    check "Scan empties the list" names_are "$WATCHER" $LIST ""
    check "the card scans" state_has "scanning          yes"
    check "while it scans the tray shows no quality" tray_is grey
    check "only Cancel is enabled" settles disabled $SCAN
    check "Cancel is enabled" enabled $CANCEL
    wine "$cardctl" scan-endless off >/dev/null
    check "the finished scan refreshes the list" names_are "$WATCHER" $LIST "Lobby Store"
    check "Scan is enabled again" settles enabled $SCAN
    check "the tray shows the link again" tray_is green
    check "no message" no_box
    ;;
watcher-cancel)
    machine nt40-workstation
    start /s
    check "/s opens the watcher" window "$WATCHER"
    wine "$cardctl" scan-endless on >/dev/null
    wine "$listprobe" command "$WATCHER" $SCAN
    check "the card scans" state_has "scanning          yes"
    sleep 5
    check "and the watcher waits" names_are "$WATCHER" $LIST ""
    wine "$listprobe" command "$WATCHER" $CANCEL
    check "Cancel shows the table the card holds" names_are "$WATCHER" $LIST "Lobby Lab Store"
    check "Scan is enabled again" settles enabled $SCAN
    check "Cancel is not" settles disabled $CANCEL
    check "the tool window is still there" window "Corvane Utility"
    # Nothing told the card to stop; once its scan ends the link is back.
    wine "$cardctl" scan-endless off >/dev/null
    check "the program follows the card again: the tray shows the link" tray_is green
    wine "$listprobe" command "$WATCHER" $CANCEL
    check "and the watcher still reads the table" names_are "$WATCHER" $LIST "Lobby Lab Store"
    check "no message" no_box
    ;;
watcher-join)
    machine nt40-workstation
    start /m
    check "the signal window opens" window "Current Signal Quality"
    check "it shows the current cell's quality" quality_settles_between 62 82
    wine "$BUILD_DIR/corvane.exe" /s >/dev/null 2>&1
    check "a second start opens the watcher" window "$WATCHER"
    check "the watcher lists the cells" names_are "$WATCHER" $LIST "Lobby Lab Store"
    wine "$listprobe" click "$WATCHER" $LIST 1
    check "a click on a row enables Join" settles enabled $JOIN
    wine "$listprobe" command "$WATCHER" $JOIN
    check "the card joins the chosen cell" state_has "current cell      1 (00:A0:C5:00:00:02)"
    check "the joined row shows the link state" settles \
        bash -c "[ \"\$(wine '$listprobe' cells '$WATCHER' $LIST 5 | tr -d '\r' | tr '\n' ',')\" = ',Associated,,' ]"
    check "the tool window's quality follows" quality_settles_between 42 54
    check "no message" no_box
    ;;
adhoc-stations)
    machine adhoc
    start /s
    check "/s opens the station watcher with the count" window 'Network Watcher - 7 Connection(s) to \\CORVANE-PC' 20000
    check "it lists the stations heard and silent" names_are "Network Watcher - " 284 \
        "ALPHA BRAVO CHARLIE DELTA ECHO FOXTROT GOLF"
    check "no message" no_box
    ;;
*)
    echo "unknown case $case_name"
    exit 2
    ;;
esac
