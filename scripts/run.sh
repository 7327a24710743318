#!/bin/bash
# Installs what is missing, builds, and starts the utility under Wine on the
# current display, or on a virtual one (saving a screenshot to out/) when
# there is none.
set -euo pipefail
source "$(dirname "$0")/env.sh"

"$ROOT/scripts/setup.sh"
build_all

export WINEPREFIX=${WINEPREFIX:-$ROOT/out/prefix}
mkdir -p "$ROOT/out"
[ -d "$WINEPREFIX" ] || { wineboot --init >/dev/null 2>&1; }

if [ -z "${DISPLAY:-}" ]; then
    start_xvfb 80
    wine "$BUILD_DIR/corvane.exe" "$@" &
    sleep 8
    import -window root "$ROOT/out/screen.png"
    echo "No display: the utility ran on $DISPLAY; screenshot in out/screen.png"
    wineserver -k
    kill "$XVFB_PID"
else
    exec wine "$BUILD_DIR/corvane.exe" "$@"
fi
