#!/bin/bash
# Takes docs/screenshots/throughput-monitor.png (a live chart),
# throughput-statistics-mode.png and statistics-dialog.png (during a run):
# the real program on the default machine with steady traffic, in a Wine
# virtual desktop the size of the display (so windows have captions).
# usage: tests/system/throughput-screenshots.sh   (BUILD_DIR names the build;
#        DISPLAY a 1024x768 display)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$ROOT/scripts/env.sh"
export MACHINES_DIR=$BUILD_DIR/shot-machines
export WINEPREFIX=$MACHINES_DIR/nt40-workstation
out=$ROOT/docs/screenshots
thru="$BUILD_DIR/tests/system/thruprobe.exe"
trap 'end_machine "$WINEPREFIX" || true' EXIT

"$ROOT/scripts/machine.sh" nt40-workstation --fresh >/dev/null
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null
# The desktop takes effect when the machine starts again.
end_machine "$WINEPREFIX"
"$ROOT/scripts/machine.sh" nt40-workstation >/dev/null
wine "$BUILD_DIR/sim/cardctl.exe" load "$ROOT/machines/scenarios/steady-traffic.txt" >/dev/null
wine "$BUILD_DIR/corvane.exe" /v >/dev/null 2>&1 &

shoot() { # window title prefix, file
    local geometry
    geometry=$(wine "$thru" rect "$1" - | tr -d '\r')
    [ -n "$geometry" ] || { echo "no window \"$1\"" >&2; return 1; }
    import -window root -crop "$geometry" +repage "$out/$2"
    echo "wrote $out/$2"
}
MONITOR="Station Throughput Monitor"
sleep 30
shoot "$MONITOR" throughput-monitor.png
wine "$thru" command "$MONITOR" 40007   # the statistics mode (Ctrl+Alt+S)
sleep 3
shoot "$MONITOR" throughput-statistics-mode.png
wine "$thru" command "$MONITOR" 277     # N
sleep 2
wine "$thru" command "Adapter Statistics" 213   # Update
sleep 16
shoot "Adapter Statistics" statistics-dialog.png
