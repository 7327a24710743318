#!/bin/bash
# Takes docs/screenshots/sheet-after-ctrl-tab.png, sheet-advanced-information.png
# and sheet-troubleshooting.png: the real program opened with /p on the
# default machine, each tab shown in turn and the sheet cut out of the screen.
# Usage: tests/sheet/sheet-screenshots.sh [build dir]   (DISPLAY set)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD_DIR=$(cd "${1:-$ROOT/build}" && pwd)
source "$ROOT/scripts/env.sh"
export MACHINES_DIR=$BUILD_DIR/screenshot-machines
export WINEPREFIX=$MACHINES_DIR/nt40-workstation
out=$ROOT/docs/screenshots
probe="$BUILD_DIR/tests/system/sheetprobe.exe"
mkdir -p "$out"
"$ROOT/scripts/machine.sh" nt40-workstation --fresh >/dev/null
# Every program of the machine on one Wine desktop, so the sheet is drawn
# with its caption and the probe still finds it.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
wineserver -k
wineserver -w
"$ROOT/scripts/machine.sh" nt40-workstation >/dev/null
wine "$BUILD_DIR/corvane.exe" /p >/dev/null 2>&1 &
trap 'wineserver -k 2>/dev/null || true' EXIT
shoot() { # tab index, page title, file
    wine "$probe" tab "$1" 15000 >/dev/null
    [ "$(wine "$probe" page | tr -d '\r')" = "$2" ] || { echo "tab $1 is not $2" >&2; return 1; }
    sleep 1
    desk=$(xwininfo -root -tree | grep '"Default - Wine desktop"' | head -n 1 | awk '{print $1}')
    [ -n "$desk" ] || { echo "no Wine desktop" >&2; return 1; }
    import -window "$desk" -crop "$(wine "$probe" rect | tr -d '\r')" +repage "$out/$3"
    echo "wrote $out/$3"
}
# Ctrl+Tab typed on the keyboard: the next page is shown and the focus is on
# its tab, not left on the page before.
wine "$probe" tab 0 15000 >/dev/null
wine "$probe" ctrltab >/dev/null
sleep 1
[ "$(wine "$probe" page | tr -d '\r')" = "Advanced Information" ] || { echo "Ctrl+Tab did not turn the page" >&2; exit 1; }
desk=$(xwininfo -root -tree | grep '"Default - Wine desktop"' | head -n 1 | awk '{print $1}')
import -window "$desk" -crop "$(wine "$probe" rect | tr -d '\r')" +repage "$out/sheet-after-ctrl-tab.png"
echo "wrote $out/sheet-after-ctrl-tab.png"
shoot 1 "Advanced Information" sheet-advanced-information.png
shoot 2 "Troubleshooting" sheet-troubleshooting.png
