#!/bin/bash
# One system test: the real corvane.exe on a simulated machine with the real
# razuDov driver. Message boxes are real; msgprobe reads and answers them.
#
# usage: system_test.sh CASE   (BUILD_DIR names the build)
set -uo pipefail
source "$(dirname "$0")/harness.sh"

tray_is() { # red|green: the quality icon in the tray shows that colour only
    local i out red green
    for i in $(seq 20); do
        out=$(wine "$msgprobe" tray | tr -d '\r')
        red=$(echo "$out" | awk '{print $2}')
        green=$(echo "$out" | awk '{print $4}')
        if [ "$1" = red ] && [ "${red:-0}" -gt 20 ] && [ "${green:-1}" -eq 0 ]; then return 0; fi
        if [ "$1" = green ] && [ "${green:-0}" -gt 20 ] && [ "${red:-1}" -eq 0 ]; then return 0; fi
        sleep 0.5
    done
    echo "  tray shows: ${out:-no tray}"
    return 1
}
state_has() { state | grep -q -- "$1" || { echo "  card state lacks: $1"; state | sed 's/^/  /'; return 1; }; }
requests_field() { state | sed -n 's/.* '"$1"'=\([0-9]*\).*/\1/p'; }
used() { [ "$(requests_field "$1")" -gt 0 ] || { echo "  no $1 requests"; return 1; }; }
unused() { [ "$(requests_field "$1")" -eq 0 ] || { echo "  $1 requests made"; return 1; }; }
product_requests_none() {
    local f
    for f in "read byte" "read word" "write byte" "write word" "block read" "block write" "set base"; do
        [ "$(state | sed -n 's/.*'"$f"'=\([0-9]*\).*/\1/p')" -eq 0 ] || { echo "  $f made"; return 1; }
    done
}

item_is() { # control-id expected: the text of a control of the property sheet
    local got
    got=$(wine "$msgprobe" item "Corvane Properties" "$1" 15000 | tr -d '\r')
    [ "$got" = "$2" ] || { echo "  control $1 expected: $2"; echo "  got: $got"; return 1; }
}
card_setting_is() { # text: one of the card's settings in the troubleshooting report
    local report
    report=$(wine "$msgprobe" item "Corvane Properties" 202 15000 | tr -d '\r')
    echo "$report" | sed -n '/^\[Current Card Settings\]/,/^-----------/p' | grep -q -- "$1" ||
        { echo "  the report's card settings lack $1:"; echo "$report" | sed -n '/^\[Current Card Settings\]/,/^-----------/p' | sed 's/^/  /'; return 1; }
}
reg_value() { # key value: the data of a registry value of the machine
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v n="$2" '$1 == n { $1 = ""; $2 = ""; sub(/^  */, ""); print }'
}
reg_is() { # key value expected
    local got
    got=$(reg_value "$1" "$2")
    [ "$got" = "$3" ] || { echo "  $1 $2 expected: $3"; echo "  got: $got"; return 1; }
}
program_ended() { # waits up to 10 s for the started program to end
    local i
    for i in $(seq 100); do kill -0 "$PROGRAM_PID" 2>/dev/null || return 0; sleep 0.1; done
    return 1
}

one_window() {
    local n
    n=$(wine "$msgprobe" count "$1" | tr -d '\r')
    [ "$n" = 1 ] || { echo "  $n windows titled $1"; return 1; }
}
one_of_two_ended() { # pid pid: exactly one has ended within 40 s
    local i alive
    for i in $(seq 400); do
        alive=0
        kill -0 "$1" 2>/dev/null && alive=$((alive + 1))
        kill -0 "$2" 2>/dev/null && alive=$((alive + 1))
        [ "$alive" -eq 1 ] && return 0
        sleep 0.1
    done
    echo "  $alive copies running"
    return 1
}

TITLE="Corvane Utility"
ERR_BAD_INSTALL="Error|The Corvane driver has not been installed properly."
RESTART="Corvane|You must restart your computer before the new setting take effect.\n\nDo you want to restart your computer now ?\n\n"
NOT_WORKING="Corvane|The Corvane adapter is not working properly.\n\nDo you want to continue running this program ?"

case "$case_name" in
nt40-workstation)
    machine nt40-workstation
    start
    check "tool window opens" window "$TITLE"
    check "no message" no_box
    check "the driver is told the base from the resource map" state_has "driver told 0x240"
    check "the driver path carries the mailbox" used "block read"
    check "no port instruction trapped" unused "raw read"
    ;;
nt40-server)
    machine nt40-server-isa
    start
    check "tool window opens" window "$TITLE"
    check "no message" no_box
    check "the ISA card's base reaches the driver" state_has "driver told 0x300"
    check "a server uses the driver" used "block read"
    check "no port instruction trapped" unused "raw read"
    ;;
win98-pcmcia)
    machine win98-pcmcia
    start
    check "tool window opens" window "$TITLE"
    check "no message" no_box
    check "no driver request" product_requests_none
    check "port instructions trapped" used "raw read"
    ;;
win98-isa)
    machine win98-isa
    start
    check "tool window opens" window "$TITLE"
    check "no message" no_box
    check "port instructions trapped" used "raw read"
    check "no driver request" product_requests_none
    ;;
nt50)
    machine nt50
    start
    check "NT 5.0 refused" box_is "Error|This version does not support NT 5.0."
    press 1
    check "then the driver message" box_is "$ERR_BAD_INSTALL"
    press 1
    check "the program carries on" window "$TITLE"
    ;;
no-adapter)
    machine no-adapter
    start
    check "adapter not found" box_is "Error|Cannot find the Corvane adapter."
    press 1
    check "the program carries on" window "$TITLE"
    ;;
bad-install)
    machine bad-install
    start
    check "driver not installed" box_is "$ERR_BAD_INSTALL"
    press 1
    check "the program carries on" window "$TITLE"
    ;;
card-problem)
    machine card-problem
    start
    check "unwell card asks" box_is "$NOT_WORKING"
    press 1
    check "OK continues" window "$TITLE"
    wineserver -k
    wineserver -w
    "$ROOT/scripts/machine.sh" card-problem >/dev/null
    start
    check "asks again" box_is "$NOT_WORKING"
    press 2
    check "Cancel ends the program" program_ended
    ;;
bad-mailbox)
    machine bad-mailbox
    start
    check "invalid mailbox pointer" box_is "$NOT_WORKING"
    press 1
    check "OK continues" window "$TITLE"
    ;;
no-response)
    machine nt40-workstation
    start
    check "tool window opens" window "$TITLE"
    check "the tray shows good quality in green" tray_is green
    wine "$cardctl" stop >/dev/null
    check "the silent card is reported" box_is "Error|The Corvane adapter has no response."
    press 1
    check "and only once" no_box 7000
    check "the tray icon turns red" tray_is red
    ;;
driver-stopped)
    machine nt40-workstation
    start
    check "tool window opens" window "$TITLE"
    wine sc stop razuDov >/dev/null 2>&1
    check "the stopped driver is reported" box_is "|Unable to open the device.\n"
    press 1
    check "then the silent card, at once" box_is "Error|The Corvane adapter has no response."
    press 1
    check "and nothing more" no_box 7000
    ;;
second-start)
    machine nt40-workstation
    start
    check "tool window opens" window "$TITLE"
    first=$PROGRAM_PID
    start /m
    check "the second copy ends" program_ended
    check "the running copy opens the signal window" window "Current Signal Quality"
    PROGRAM_PID=$first
    ;;
two-at-once)
    machine nt40-workstation
    start
    first=$PROGRAM_PID
    start
    second=$PROGRAM_PID
    check "a tool window opens" window "$TITLE"
    sleep 4 # time for a second window, should a copy make one
    check "only one tool window" one_window "$TITLE"
    check "one of the two copies ends" one_of_two_ended "$first" "$second"
    ;;
signal-follows)
    machine nt40-workstation
    start /m
    check "the command line opens the signal window" window "Current Signal Quality"
    check "it shows the current cell's signal" quality_settles_between 62 82
    wine "$cardctl" signal 0 50 >/dev/null
    check "and follows a change of the signal" quality_settles_between 40 60
    ;;
setting-road)
    # The whole road of a setting: changed on the Configuration page, written
    # to the driver's parameters, taken by the card when the machine restarts.
    machine nt40-workstation
    start /p
    check "the sheet opens on the Configuration page" item_is 133 "Corvane"
    wine "$msgprobe" set-item "Corvane Properties" 133 "Harbour" >/dev/null
    wine "$msgprobe" command "Corvane Properties" 1 >/dev/null
    check "a restart is asked for" box_is "$RESTART"
    press 1
    check "the restart ends the program" program_ended
    check "the driver's parameter holds the new name" \
        reg_is 'HKLM\SYSTEM\CurrentControlSet\Services\zorbNT1\Parameters' ESSID Harbour
    wineserver -k
    wineserver -w
    "$ROOT/scripts/machine.sh" nt40-workstation >/dev/null
    start /p
    check "the utility shows it again" item_is 133 "Harbour"
    wine "$msgprobe" page "Corvane Properties" 2 >/dev/null
    check "the card started with it" card_setting_is "Harbour"
    ;;
win98-computer-name)
    machine win98-pcmcia
    start /p
    check "the computer name is shown" item_is 345 "CORVANE-PC"
    check "and may be edited" wine "$msgprobe" enabled "Corvane Properties" 345
    wine "$msgprobe" set-item "Corvane Properties" 345 "LAB-98" >/dev/null
    wine "$msgprobe" command "Corvane Properties" 1 >/dev/null
    # Written, although the driver describes no StationName parameter.
    check "a restart is asked for" box_is "$RESTART"
    press 2
    check "the sheet closes" gone "Corvane Properties"
    check "the driver's parameter holds it" \
        reg_is 'HKLM\System\CurrentControlSet\Services\Class\Net\0000' StationName LAB-98
    check "the system's computer name key holds it" \
        reg_is 'HKLM\System\CurrentControlSet\control\ComputerName\ComputerName' ComputerName LAB-98
    check "the network client's key holds it" \
        reg_is 'HKLM\System\CurrentControlSet\Services\VxD\VNETSUP' ComputerName LAB-98
    ;;
*)
    echo "unknown case $case_name"
    exit 2
    ;;
esac
