#!/bin/sh
# Takes docs/screenshots/tool-window.png, signal-window.png and
# preferences.png: runs tool_window_demo in a Wine virtual desktop (so the
# windows have captions) and photographs each window while it is shown.
# Usage: bench/app/tool-screenshots.sh <build dir> [quality]   (DISPLAY and
# WINEPREFIX set)
set -e
build=${1:?build directory}
quality=${2:-72}
out=$(cd "$(dirname "$0")/../.." && pwd)/docs/screenshots
mkdir -p "$out"
wine explorer /desktop=Shot,800x600 "$build/bench/tool_window_demo.exe" 15000 "$quality" &
demo=$!
window() {
    xwininfo -root -tree | grep "\"$1\": (\"tool_window_demo.exe\"" | head -n 1 | awk '{print $1}'
}
# Wait for the last window the demo opens, then let it settle.
for _ in $(seq 60); do [ -n "$(window Preferences)" ] && break; sleep 0.5; done
sleep 2
shoot() {
    id=$(window "$1")
    [ -n "$id" ] || { echo "no window \"$1\"" >&2; return 1; }
    import -window "$id" "$out/$2"
    echo "wrote $out/$2"
}
shoot "Corvane Utility" tool-window.png
shoot "Current Signal Quality:  $quality%" signal-window.png
shoot "Preferences" preferences.png
wait $demo
