#!/bin/sh
# Takes docs/screenshots/configuration-page.png, advanced-configuration.png
# and restart-question.png: runs conf_demo in a Wine virtual desktop (so the
# windows have captions), photographs each window while it is shown and
# answers the dialog and the question with msgprobe.
# Usage: bench/sheet/conf-screenshots.sh <build dir>   (DISPLAY and
# WINEPREFIX set; build the conf_demo and msgprobe targets first)
set -e
build=${1:?build directory}
out=$(cd "$(dirname "$0")/../.." && pwd)/docs/screenshots
probe="$build/tests/system/msgprobe.exe"
mkdir -p "$out"
wine explorer /desktop=Shot,800x600 "$build/bench/conf_demo.exe" 4000 &
demo=$!
window() {
    xwininfo -root -tree | grep "\"$1\": (\"conf_demo.exe\"" | head -n 1 | awk '{print $1}'
}
wait_for() {
    for _ in $(seq 60); do [ -n "$(window "$1")" ] && return 0; sleep 0.5; done
    echo "no window \"$1\"" >&2
    return 1
}
shoot() {
    sleep 1.5
    import -window "$(window "$1")" "$out/$2"
    echo "wrote $out/$2"
}
wait_for "Corvane Properties"
shoot "Corvane Properties" configuration-page.png
wait_for "Advanced Configuration"
shoot "Advanced Configuration" advanced-configuration.png
wine explorer /desktop=Shot "$probe" command "Advanced Configuration" 102
wait_for "Corvane"
sleep 1
id=$(xwininfo -root -tree | grep '"Corvane": ("conf_demo.exe"' | head -n 1 | awk '{print $1}')
import -window "$id" "$out/restart-question.png"
echo "wrote $out/restart-question.png"
wine explorer /desktop=Shot "$probe" press 2
wait $demo
