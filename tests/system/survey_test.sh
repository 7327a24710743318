#!/bin/bash
# System tests of Link History's site survey log: the real corvane.exe on a
# simulated machine records a survey through the real Save dialog while
# cardctl moves the quality and the card roams to another cell; the file is
# read back with Python's csv module. A second case records onto a volume
# too small for the log and sees it stop with one message, the lines before
# kept.
#
# usage: survey_test.sh CASE   (BUILD_DIR names the build)
set -uo pipefail
source "$(dirname "$0")/harness.sh"

HISTORY="Link History"
SAVE="Save As"
# The Save dialog's file name box (cmb13 of the Explorer-style dialog) and
# the window's buttons.
FILE_NAME=1148
RECORD=5009
MARK=5010
STOP=5011
STATE=5008
MARK_DIALOG="Survey Mark"
MARK_TEXT=5021

# No notification icon: the tray windows of machines that run side by side
# would cover each other's.
start() {
    wine reg add 'HKCU\Software\KVR\corvane\Preferences' /v EnableTrayIcon /t REG_DWORD /d 0 /f \
        >/dev/null
    run_program "$@"
}

# A network whose name holds a comma and a double quote, two cells of it;
# the card roams from the first to the second when its signal falls.
scenario=$(mktemp --suffix=.txt)
cat >"$scenario" <<'EOF'
name survey
network infrastructure
essid Lab,"East"
drift 0
roaming on
roaming-threshold 40
cell 00:A0:C5:00:00:01 Lab,"East" 1 75 name=Lobby
cell 00:A0:C5:00:00:02 Lab,"East" 6 20 name=Hall
current 00:A0:C5:00:00:01
EOF

state_is() { # expected text of the window's survey state line
    local got
    got=$(wine "$msgprobe" item "$HISTORY" $STATE 5000 | tr -d '\r')
    [ "$got" = "$1" ] || { echo "  state: expected \"$1\", got \"$got\""; return 1; }
}
# Record... with the Save dialog given the file as a user types it.
record_to() { # windows path
    wine "$msgprobe" command "$HISTORY" $RECORD
    window "$SAVE" || return 1
    wine "$msgprobe" set-item "$SAVE" $FILE_NAME "$1" &&
        wine "$msgprobe" command "$SAVE" 1
}
mark() { # note
    wine "$msgprobe" command "$HISTORY" $MARK
    window "$MARK_DIALOG" || return 1
    wine "$msgprobe" set-item "$MARK_DIALOG" $MARK_TEXT "$1" &&
        wine "$msgprobe" command "$MARK_DIALOG" 1 && gone "$MARK_DIALOG"
}
lines_at_least() { # unix path, count
    [ -f "$1" ] && [ "$(grep -c $'\r$' "$1")" -ge "$2" ]
}
# The CSV as Python's csv module reads it: every row has the header's six
# fields; prints "quality band essid bssid mark" of each row, tab-separated.
read_csv() { # unix path
    python3 - "$1" <<'PY'
import csv, sys
with open(sys.argv[1], newline='', encoding='cp1252') as f:
    rows = list(csv.reader(f))
assert rows[0] == ['Time', 'Quality', 'Band', 'ESSID', 'BSSID', 'Mark'], rows[0]
for row in rows[1:]:
    assert len(row) == 6, row
    print('\t'.join(row[1:]))
PY
}

case "$case_name" in
survey-csv)
    machine nt40-workstation
    wine "$cardctl" load "$scenario" >/dev/null || { echo "scenario refused"; exit 1; }
    start /h
    check "the command line opens Link History" window "$HISTORY"
    check "it shows no log yet" state_is "Not recording."
    check "Record... asks for the file, which is made" record_to 'C:\survey.csv'
    log="$WINEPREFIX/drive_c/survey.csv"
    check "the window names the file" eventually 10 state_is 'Recording to C:\survey.csv'
    check "lines are written while it records" eventually 30 lines_at_least "$log" 3
    check "Mark... sets a mark with a comma and a quote" mark 'Room 204, "east"'
    check "the state line shows the mark" eventually 10 \
        state_is 'Recording to C:\survey.csv  Mark: Room 204, "east"'
    wine "$cardctl" signal 0 10 >/dev/null
    wine "$cardctl" signal 1 80 >/dev/null
    check "the log follows the card to the other cell" eventually 60 sh -c \
        "grep -q '00:A0:C5:00:00:02' '$log'"
    check "a second mark" mark "Room 210"
    check "lines with the second mark" eventually 30 sh -c "grep -q 'Room 210' '$log'"
    wine "$msgprobe" command "$HISTORY" $STOP
    check "Stop ends the log" eventually 10 state_is "Not recording."
    rows=$(read_csv "$log")
    check "Python's csv reads every line with its six fields" test -n "$rows"
    echo "$rows" | sed 's/^/    /'
    check "the ESSID reads back as the card gives it" sh -c \
        "echo \"\$1\" | cut -f3 | sort -u | grep -qx 'Lab,\"East\"'" _ "$rows"
    check "the first mark reads back whole" sh -c \
        "echo \"\$1\" | cut -f5 | grep -qx 'Room 204, \"east\"'" _ "$rows"
    check "both cells are in the log" sh -c \
        "echo \"\$1\" | cut -f4 | sort -u | tr '\n' ' ' | grep -q '00:A0:C5:00:00:01 00:A0:C5:00:00:02'" \
        _ "$rows"
    check "the quality fell to poor" bash -c "echo \"\$1\" | cut -f1,2 | grep -q \$'^10\tpoor'" _ "$rows"
    size=$(stat -c %s "$log")
    grew() { [ "$(stat -c %s "$log")" -gt "$size" ]; }
    # Two ticks and more go by: the file stays as Stop left it.
    check "nothing is written after Stop" bash -c "$(declare -f eventually grew); log='$log' size=$size; ! eventually 5 grew"
    check "no message" no_box 1000
    ;;
survey-full)
    # A volume of one 4 KB page as drive S:, which the log fills within a
    # minute of long marks; Wine reports the full disk as Windows would.
    machine nt40-workstation
    volume=$BUILD_DIR/system-machines/survey-volume-$$
    mkdir -p "$volume"
    mount -t tmpfs -o size=4k tmpfs "$volume" || { echo "no tmpfs here: cannot run this case"; exit 1; }
    trap 'umount "$volume"; rmdir "$volume"; finish; exit $?' EXIT
    ln -sfn "$volume" "$WINEPREFIX/dosdevices/s:"
    load default.txt
    start /h
    check "Link History opens" window "$HISTORY"
    check "Record... on the small volume" record_to 'S:\survey.csv'
    check "a long mark" mark "$(printf 'Room %058d' 204)"
    check "the log stops with one message naming the file" sh -c \
        "wine '$msgprobe' box 150000 | tr -d '\r' | grep -q '^Link History|The survey log S:.survey.csv could not be written:'"
    press 1
    check "the lines written before stay" python3 - "$volume/survey.csv" <<'PY'
import sys
data = open(sys.argv[1], 'rb').read()
lines = data.split(b'\r\n')
assert lines[0] == b'Time,Quality,Band,ESSID,BSSID,Mark', lines[0]
whole = lines[1:-1]  # the last piece is what the disk took of the failed line
assert len(whole) > 10, lines
assert all(line.count(b',') >= 5 for line in whole), whole
print('    %d bytes, %d whole lines after the header' % (len(data), len(whole)))
PY
    check "the window shows the log stopped" eventually 10 state_is "Not recording."
    check "told once" no_box 6000
    ;;
*)
    echo "unknown case $case_name"
    exit 1
    ;;
esac
