#!/bin/sh
# Takes docs/screenshots/tray-menu.png: runs tray_menu_demo (which opens the
# notification icon's pop-up menu at 420,200 with "Network Watcher"
# highlighted) and photographs the display while the menu is open.
# Usage: bench/widgets/tray-menu-screenshot.sh <build dir>   (DISPLAY and
# WINEPREFIX set, an X display of at least 640 x 400)
set -e
build=${1:?build directory}
out=$(dirname "$0")/../../docs/screenshots/tray-menu.png
mkdir -p "$(dirname "$out")"
wine "$build/bench/tray_menu_demo.exe" 7000 2 &
demo=$!
sleep 4
import -window root -crop 660x400+0+0 +repage "$out"
wait $demo
echo "wrote $out"
