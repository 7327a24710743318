#!/bin/sh
# Takes docs/screenshots/link-history-day.png (span: last 24 hours) and
# link-history-hour.png (last hour): runs history_demo, which ticks the tool
# window through a simulated day, in a Wine virtual desktop (so the window
# has its caption) and photographs Link History once it shows.
# Usage: tests/app/history-screenshots.sh <build dir>   (DISPLAY and
# WINEPREFIX set)
set -e
build=${1:?build directory}
out=$(cd "$(dirname "$0")/../.." && pwd)/docs/screenshots
mkdir -p "$out"
window() {
    xwininfo -root -tree | grep "\"Link History\": (\"history_demo.exe\"" | head -n 1 | awk '{print $1}'
}
shoot() { # span file
    wine explorer /desktop=Shot,800x600 "$build/tests/app/history_demo.exe" 6000 "$1" &
    demo=$!
    for _ in $(seq 240); do [ -n "$(window)" ] && break; sleep 0.5; done
    sleep 2
    id=$(window)
    [ -n "$id" ] || { echo "no window \"Link History\"" >&2; return 1; }
    import -window "$id" "$out/$2"
    echo "wrote $out/$2"
    wait $demo
}
shoot 2 link-history-day.png
shoot 1 link-history-hour.png
