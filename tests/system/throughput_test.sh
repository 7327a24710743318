#!/bin/bash
# System tests of the throughput monitor and the statistics dialog: the real
# corvane.exe on the default machine with a card whose traffic is known
# exactly; msgprobe answers message boxes, thruprobe reads the dialogs.
#
# usage: throughput_test.sh CASE   (BUILD_DIR names the build)
set -uo pipefail
source "$(dirname "$0")/harness.sh"
thru="$BUILD_DIR/tests/system/thruprobe.exe"

item() { wine "$thru" item "$1" "$2" | tr -d '\r'; }
item_is() { # window control expected
    local got
    got=$(item "$1" "$2")
    [ "$got" = "$3" ] || { echo "  control $2 of \"$1\": expected \"$3\", got \"$got\""; return 1; }
}
between() { # window control low high: the control's number lies in [low, high]
    local got
    got=$(item "$1" "$2")
    awk -v v="$got" -v lo="$3" -v hi="$4" 'BEGIN { exit !(v != "" && v + 0 >= lo && v + 0 <= hi) }' ||
        { echo "  control $2 of \"$1\": \"$got\" not within $3..$4"; return 1; }
}
chart_drew_both() {
    local out green cyan
    out=$(wine "$thru" colors "$MONITOR" CorvaneLineChart | tr -d '\r')
    green=$(echo "$out" | awk '{print $2}')
    cyan=$(echo "$out" | awk '{print $4}')
    [ "${green:-0}" -gt 20 ] && [ "${cyan:-0}" -gt 20 ] || { echo "  chart shows: ${out:-nothing}"; return 1; }
}

# No notification icon: the tray windows of machines that run side by side
# would cover each other's.
start() {
    wine reg add 'HKCU\Software\KVR\corvane\Preferences' /v EnableTrayIcon /t REG_DWORD /d 0 /f \
        >/dev/null
    run_program "$@"
}

MONITOR="Station Throughput Monitor"
STATS="Adapter Statistics"
# Statistics mode, then "N": the statistics dialog of the running monitor.
open_statistics() {
    # Typed again while the button does not show: right after the start the
    # program may still move the keyboard to another of its windows.
    local try
    for try in 1 2 3 4 5; do
        wine "$thru" ctrl-alt "$MONITOR" S
        eventually 5 wine "$thru" visible "$MONITOR" 277 && break
    done
    check "Ctrl+Alt+S shows the button N" wine "$thru" visible "$MONITOR" 277
    check "its caption adds the link state" eventually 15 sh -c \
        "wine '$msgprobe' title '$MONITOR' 5000 | grep -q ', Associated'"
    wine "$thru" command "$MONITOR" 277
    check "N opens \"$STATS\"" window "$STATS"
}

case "$case_name" in
steady)
    machine nt40-workstation
    load steady-traffic.txt
    start /v
    check "the command line opens the monitor" window "$MONITOR"
    check "its caption names the station and address" sh -c \
        "wine '$msgprobe' title '$MONITOR' | tr -d '\r' | grep -qx '$MONITOR: CORVANE-PC (00:A0:C5:12:34:56)'"
    # 20 and 50 Kbytes a second, over 12 samples at least 1024 ms apart
    # (later on a busy machine) measured by the card's whole seconds:
    # 12.288 s of traffic or a little more over 12 or 13 seconds, once the
    # window has filled.
    check "sent shows the card's 20 Kbytes a second" eventually 90 between "$MONITOR" 337 18.5 22.0
    check "received shows the card's 50 Kbytes a second" eventually 30 between "$MONITOR" 338 46.5 55.0
    check "the chart drew both series" chart_drew_both
    check "no message" no_box 1000
    ;;
statistics)
    machine nt40-workstation
    load steady-traffic.txt
    start /v
    check "the monitor opens" window "$MONITOR"
    open_statistics
    check "the card's transmitted multicast frames" item_is "$STATS" 196 "1,234,567"
    check "the card's received broadcast frames" item_is "$STATS" 193 "7,654,321"
    check "the card's processor usage" item_is "$STATS" 199 "30"
    wine "$thru" command "$STATS" 213   # Update
    check "a run shows the received rate" eventually 90 between "$STATS" 210 46.5 55.0
    check "and its average" eventually 30 between "$STATS" 208 46.5 55.0
    wine "$thru" command "$STATS" 189   # Reset
    check "Reset asks first" box_is "Corvane|Do you really want to reset statistics?"
    press 1
    # The dialog reads the card again once the box has gone.
    check "OK clears the card's multicast count" eventually 15 item_is "$STATS" 196 "0"
    check "and its broadcast count" item_is "$STATS" 193 "0"
    check "the period starts again" between "$STATS" 188 0 2
    check "the bytes counted since the reset" between "$STATS" 180 0 61440
    check "no other message" no_box 1000
    ;;
silent)
    machine nt40-workstation
    load silent-during-run.txt   # no answer 30 s after this
    start /v
    check "the monitor opens" window "$MONITOR"
    open_statistics
    wine "$thru" command "$STATS" 213
    check "the statistics dialog closes when the card falls silent" gone "$STATS" 40000
    check "and so does the monitor" gone "$MONITOR" 5000
    # The two dialogs close without a word of their own; the tool window
    # says it, once.
    check "the silent card is reported" box_is "Error|The Corvane adapter has no response."
    press 1
    check "the answered box goes" gone "Error" 5000
    check "no further message" no_box 5000
    ;;
driver-stopped)
    # The stopped driver fails the first request of whichever dialog reads
    # first; after that the card counts as failed and no tick asks again.
    machine nt40-workstation
    load steady-traffic.txt
    start /v
    check "the monitor opens" window "$MONITOR"
    open_statistics
    wine "$thru" command "$STATS" 213
    wine sc stop razuDov >/dev/null 2>&1
    check "the stopped driver is reported" box_is "|Unable to open the device.\n"
    press 1
    check "then the silent card" box_is "Error|The Corvane adapter has no response."
    press 1
    check "and nothing more" no_box 7000
    ;;
*)
    echo "unknown case $case_name"
    exit 2
    ;;
esac
