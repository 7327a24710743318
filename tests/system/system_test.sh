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
run_entry_is_ours() { # the Run value starts this build's corvane.exe
    reg_value 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' Corvane | grep -qi 'corvane\.exe'
}
program_ended() { # waits up to 10 s for the started program to end
    local i
    for i in $(seq 100); do kill -0 "$PROGRAM_PID" 2>/dev/null || return 0; sleep 0.1; done
    return 1
}

# Within 15 s (or the wait given): no message box, or the box given, then
# answered.
box_or_none() { # expected "caption|text" [ms]
    local got
    got=$(wine "$msgprobe" box "${2:-15000}" | tr -d '\r')
    [ -z "$got" ] && return 0
    [ "$got" = "$1" ] || { echo "  expected none or: $1"; echo "  got: $got"; return 1; }
    press 1 >/dev/null
}
# The window answers a message within 5 s (a frozen window does not).
window_answers() {
    wine "$msgprobe" answers "$1" 5000
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

# Network profiles: a profile written into the user's key as the program
# stores one, and the notification icon's menu opened as the shell opens it.
PROFILES='HKCU\Software\KVR\Corvane\Profiles'
add_profile() { # name value=data...: every value as text, which the reader takes on both systems
    local name=$1 pair
    shift
    for pair in "$@"; do
        wine reg add "$PROFILES\\$name" /v "${pair%%=*}" /t REG_SZ /d "${pair#*=}" /f >/dev/null 2>&1 || return 1
    done
}
# Opens the icon's menu (the tool window's callback, a right button let go
# on icon 1) and chooses the n-th item (from 1) of its Profiles popup, the
# sixth item of the menu, after the four tools and Link History.
choose_profile() {
    local keys=(down down down down down down right) i
    for ((i = 1; i < $1; i++)); do keys+=(down); done
    wine "$msgprobe" post "$TITLE" 2215 1 0x205 >/dev/null &&
        wine "$msgprobe" keys "${keys[@]}" enter >/dev/null
}
# The driver's parameters as a profile: the values of both systems' forms.
settings_are() { # key: then value=data pairs; a number compares as written on 98 or as 0x.. on NT
    local key=$1 pair want got
    shift
    for pair in "$@"; do
        want=${pair#*=}
        got=$(reg_value "$key" "${pair%%=*}")
        [[ "$want" =~ ^[0-9]+$ && "$got" =~ ^0x ]] && got=$((got))
        [ "$got" = "$want" ] || { echo "  ${pair%%=*}: '$got', wanted '$want'"; return 1; }
    done
}
profiles_case() { # machine, driver key
    local home=(NetworkType=0 ESSID=Home CarrierSet=0 Roaming=0 Security=0 SecurityID=
                DataRate=0 PSmode=0 PreferBSSID=000000000000 TxRetry=3 RoamingThreshold=60)
    local office=(NetworkType=1 ESSID=Corvane CarrierSet=0 Roaming=1 Security=0
                  PSmode=0 PreferBSSID=000000000000 TxRetry=7 RoamingThreshold=40)
    machine "$1"
    check "a profile is stored in the user's key" add_profile Home "${home[@]}"
    start
    check "tool window opens" window "$TITLE"
    check "Home is chosen from the menu" choose_profile 1
    check "a restart is asked for (the network changes)" box_is "$RESTART"
    press 2
    check "the driver's parameters hold Home" settings_are "$2" "${home[@]}"
    check "the settings before are kept" settings_are "$PROFILES\\Previous settings" ESSID=Corvane
    check "Previous settings is chosen from the menu" choose_profile 2
    check "a restart is asked for again" box_is "$RESTART"
    press 2
    check "the driver's parameters are as before" settings_are "$2" "${office[@]}"
    check "no other message" no_box
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
    end_machine "$WINEPREFIX"
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
    check "one of the two copies ends" one_of_two_ended "$first" "$second"
    check "only one tool window" one_window "$TITLE"
    ;;
signal-follows)
    machine nt40-workstation
    start /m
    check "the command line opens the signal window" window "Current Signal Quality"
    check "it shows the current cell's signal" quality_settles_between 62 82
    wine "$cardctl" signal 0 50 >/dev/null
    check "and follows a change of the signal" quality_settles_between 40 60
    ;;
profiles-nt40)
    profiles_case nt40-workstation 'HKLM\SYSTEM\CurrentControlSet\Services\zorbNT1\Parameters'
    ;;
profiles-win98)
    profiles_case win98-pcmcia 'HKLM\System\CurrentControlSet\Services\Class\Net\0000'
    ;;
setting-road)
    # The whole road of a setting, with no hand on the machine: the utility
    # set to start with the system, a new ESSID on the Configuration page,
    # written to the driver's parameters; the restart answered, the machine
    # goes down and comes back by itself, the driver starts the card with
    # the new setting, the card associates to a cell of that network, and
    # the utility starts again from its Run entry.
    machine nt40-workstation
    start
    check "tool window opens" window "$TITLE"
    wine "$msgprobe" command "$TITLE" 40018 >/dev/null # Preferences
    check "Preferences opens" window "Preferences"
    wine "$msgprobe" command "Preferences" 1 >/dev/null # OK, "start with the system" as it is (on)
    check "the utility is set to start with the system" eventually 15 run_entry_is_ours
    kill "$PROGRAM_PID"
    check "that copy ends" program_ended
    start /p
    check "the sheet opens on the Configuration page" item_is 133 "Corvane"
    wine "$msgprobe" set-item "Corvane Properties" 133 "Guests" >/dev/null
    wine "$msgprobe" command "Corvane Properties" 1 >/dev/null
    check "a restart is asked for" box_is "$RESTART"
    press 1
    check "the restart ends the program" program_ended
    check "the machine comes back by itself" eventually 300 grep -q "is up" "$WINEPREFIX/machine.log"
    check "the utility starts again from its Run entry" window "$TITLE" 60000
    check "the driver's parameter holds the new name" \
        reg_is 'HKLM\SYSTEM\CurrentControlSet\Services\zorbNT1\Parameters' ESSID Guests
    check "the card started with it and is in a cell of that network" \
        state_has "current cell      3 (00:A0:C5:00:00:04)"
    check "no message" no_box
    ;;
driver-restart)
    # razuDov stopped and started again under the running utility on Windows
    # 98 finds the machine's own card (the ISA card at 0x300), not the
    # built-in default at 0x240, and the utility goes on with it.
    machine win98-isa
    start
    check "tool window opens" window "$TITLE"
    wine sc stop razuDov >/dev/null 2>&1
    check "the driver stops" eventually 60 sh -c "wine sc query razuDov | grep -q STOPPED"
    wine sc start razuDov >/dev/null 2>&1
    check "and starts again" eventually 60 sh -c "wine sc query razuDov | grep -q RUNNING"
    check "with the machine's card" state_has "card base         0x300"
    check "the utility goes on without a message" no_box 7000
    check "its window answers" window_answers "$TITLE"
    ;;
driver-restart-nt40)
    # On NT no program maps the card's section: razuDov stopped and started
    # again still finds the machine's own card (the ISA card at 0x300, with
    # the fault it was given), and the utility started then works with it.
    machine nt40-server-isa
    wine "$cardctl" unavailable 30 >/dev/null
    wine sc stop razuDov >/dev/null 2>&1
    check "the driver stops" eventually 60 sh -c "wine sc query razuDov | grep -q STOPPED"
    wine sc start razuDov >/dev/null 2>&1
    check "and starts again" eventually 60 sh -c "wine sc query razuDov | grep -q RUNNING"
    check "with the machine's card" state_has "card base         0x300"
    check "and the fault it was given" state_has "unavailable(30)"
    start
    check "tool window opens" window "$TITLE"
    check "no message" no_box
    check "the ISA card's base reaches the driver" state_has "driver told 0x300"
    ;;
scribble-nt40 | scribble-win98)
    # A stray program writes over the card's section while the utility runs:
    # the program, the driver and cardctl stay alive, with at most the
    # adapter's one no-response message, and a load powers the card up anew.
    if [ "$case_name" = scribble-nt40 ]; then machine nt40-workstation; else machine win98-pcmcia; fi
    start
    check "tool window opens" window "$TITLE"
    for what in layout counts divisors texts random stamp; do
        wine "$cardctl" scribble "$what" 400 >/dev/null
    done
    check "at most the no-response message" box_or_none "Error|The Corvane adapter has no response."
    check "and only once" no_box 7000
    check "the program runs on" kill -0 "$PROGRAM_PID"
    check "its window answers" window_answers "$TITLE"
    check "cardctl answers that the card does not" sh -c "timeout 60 wine '$cardctl' state >/dev/null 2>&1; [ \$? -eq 3 ]"
    check "the driver runs on" sh -c "wine sc query razuDov | grep -q RUNNING"
    check "a load powers the card up anew" wine "$cardctl" load "$scenarios/default.txt"
    check "and it answers" state_has "Associated"
    ;;
lock-held-nt40 | lock-held-win98)
    # Another program keeps the card's lock for twenty seconds: the utility's
    # windows answer throughout, with at most the no-response message.
    if [ "$case_name" = lock-held-nt40 ]; then machine nt40-workstation; else machine win98-pcmcia; fi
    start
    check "tool window opens" window "$TITLE"
    wine "$cardctl" hold-lock 20 >/dev/null &
    holder=$!
    check "the lock is held" eventually 30 sh -c "! timeout 20 wine '$cardctl' state >/dev/null 2>&1"
    answered=0
    while kill -0 "$holder" 2>/dev/null; do
        box_or_none "Error|The Corvane adapter has no response." 2000 >/dev/null || break
        window_answers "$TITLE" || break
        answered=$((answered + 1))
    done
    check "the windows answered all the time ($answered looks)" sh -c "[ $answered -gt 0 ] && ! kill -0 $holder 2>/dev/null"
    check "the program runs on" kill -0 "$PROGRAM_PID"
    check "the card answers again once the lock is let go" state_has "Associated"
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
