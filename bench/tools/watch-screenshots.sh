#!/bin/sh
# Takes docs/screenshots/bss-watcher*.png and station-watcher.png: runs
# watch_demo in a Wine virtual desktop (so the windows have captions) and
# photographs the desktop in each state the demo announces.
# Usage: bench/tools/watch-screenshots.sh <build dir>   (DISPLAY and WINEPREFIX set)
set -e
build=${1:?build directory}
out=$(cd "$(dirname "$0")/../.." && pwd)/docs/screenshots
mkdir -p "$out"
dir=$(mktemp -d)
wine explorer /desktop=Watch,720x480 "$build/bench/watch_demo.exe" "Z:$(echo "$dir" | tr / '\\')" &
demo=$!
desktop() { xwininfo -root -tree | grep '"Watch - Wine desktop"' | head -n 1 | awk '{print $1}'; }
shoot() { # state file
    for _ in $(seq 120); do [ -e "$dir/$1.ready" ] && break; sleep 0.25; done
    [ -e "$dir/$1.ready" ] || { echo "the demo never showed $1" >&2; return 1; }
    import -window "$(desktop)" "$out/$2"
    echo "wrote $out/$2"
    touch "$dir/$1.done"
}
shoot normal bss-watcher.png
shoot progress bss-watcher-progress.png
shoot advanced bss-watcher-advanced.png
shoot scanning bss-watcher-scanning.png
shoot stations station-watcher.png
wait $demo
rm -rf "$dir"
