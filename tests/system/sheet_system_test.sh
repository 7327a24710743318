#!/bin/bash
# System tests of the "Corvane Properties" sheet: the real corvane.exe opened
# with /p on a simulated machine with the real razuDov driver; sheetprobe
# reads the pages and the clipboard from another program.
#
# usage: sheet_system_test.sh CASE   (BUILD_DIR names the build)
set -uo pipefail
NO_BOX_MS=3000
source "$(dirname "$0")/harness.sh"
probe="$BUILD_DIR/tests/system/sheetprobe.exe"

page_is() { # the shown page's title
    local got
    got=$(wine "$probe" page | tr -d '\r')
    [ "$got" = "$1" ] || { echo "  shown page: ${got:-none}, wanted $1"; return 1; }
}
tab() { wine "$probe" tab "$1" >/dev/null && page_is "$2"; }
field_is() { # control id, expected text
    local got
    got=$(wine "$probe" text "$1" | tr -d '\r')
    [ "$got" = "$2" ] || { echo "  control $1: '$got', wanted '$2'"; return 1; }
}
report() { wine "$probe" text 202 | tr -d '\r'; }
report_has() { report | grep -qF -- "$1" || { echo "  report lacks: $1"; return 1; }; }
report_lacks() { ! report | grep -qF -- "$1" || { echo "  report holds: $1"; return 1; }; }
# The [Windows] section lists the key named by the platform: its first lines.
windows_section_has() {
    report | sed -n '/^\[Windows\]$/,$p' | grep -q -- "$1" || {
        echo "  [Windows] section lacks $1:"; report | sed -n '/^\[Windows\]$/,$p' | head -5 | sed 's/^/    /'
        return 1
    }
}
clipboard_is_report() {
    local copied shown
    wine "$probe" click 355 >/dev/null || return 1
    shown=$(report)
    # The copy is there once the click has been handled.
    eventually 15 sh -c "wine '$probe' clipboard | tr -d '\r' | grep -q ." || return 1
    copied=$(wine "$probe" clipboard | tr -d '\r')
    [ -n "$shown" ] && [ "$copied" = "$shown" ] || {
        echo "  clipboard (${#copied} chars) differs from the report (${#shown} chars)"; return 1; }
}

case "$case_name" in
sheet-nt40)
    machine nt40-workstation
    start /p
    check "the sheet opens" window "Corvane Properties"
    check "no message" no_box
    check "on the Configuration tab" page_is "Configuration"
    check "Advanced Information is the second tab" tab 1 "Advanced Information"
    check "firmware version of the card" field_is 116 "3.01"
    check "bus type" field_is 114 "PCMCIA"
    check "I/O range from the resource map" field_is 113 "0240 - 0247"
    check "IRQ from the resource map" field_is 111 "10"
    check "the card's address" field_is 112 "00:A0:C5:12:34:56"
    check "the connected cell" field_is 356 "The Corvane adapter is working properly.
Current connected AP: Lobby (00:A0:C5:00:00:01)"
    check "Troubleshooting is the third tab" tab 2 "Troubleshooting"
    check "report names the driver key" report_has "Key: system\\currentcontrolset\\services\\zorbNT1\\parameters"
    check "report shows a healthy driver" report_has "[Driver Status]: 0, code: 0"
    check "no drivers' log on Windows NT" report_lacks "NDIS:"
    check "nor its stand-in line" report_lacks "Driver is working properly."
    check "the card's settings" report_has "Infrastructure"
    check "the Windows NT version key" windows_section_has "^CurrentBuildNumber: 1381"
    check "the machine's own system, NT 4.0" windows_section_has "^CurrentVersion: 4.0"
    check "no Windows 7 left of Wine's" report_lacks "Windows 7"
    check "Copy to Clipboard gives another program the report" clipboard_is_report
    ;;
sheet-win98)
    machine win98-pcmcia
    start /p
    check "the sheet opens" window "Corvane Properties"
    check "no message" no_box
    check "Troubleshooting is the third tab" tab 2 "Troubleshooting"
    while IFS= read -r line; do
        line=${line%$'\r'}
        [ -n "$line" ] && check "drivers' log: ${line:0:40}" report_has "$line"
    done < "$ROOT/machines/win98-pcmcia/files/NDISLOG.TXT"
    check "no stand-in line when the log is there" report_lacks "Driver is working properly."
    check "the Windows 95/98 version key" windows_section_has "^ProgramFilesDir: "
    check "the machine's own system, Windows 98" windows_section_has "^VersionNumber: 4.10.1998"
    check "no Windows 7 left of Wine's" report_lacks "Windows 7"
    ;;
*)
    echo "unknown case $case_name"
    exit 2
    ;;
esac
