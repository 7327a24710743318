#!/bin/bash
# Installs what is missing, builds, brings up the default machine (Windows NT
# 4.0 Workstation with the PCMCIA card in an infrastructure network of several
# cells) and starts the utility on it. With no display, it runs on a virtual
# one and saves a screenshot to out/ after start-up.
#
# usage: scripts/run.sh [PROFILE] [-- program arguments]
set -euo pipefail
source "$(dirname "$0")/env.sh"

profile=nt40-workstation
if [ $# -gt 0 ] && [ "$1" != "--" ]; then
    profile=$1
    shift
fi
[ "${1:-}" = "--" ] && shift

"$ROOT/scripts/setup.sh"
build_all >/dev/null
mkdir -p "$ROOT/out"

headless=
if [ -z "${DISPLAY:-}" ]; then
    headless=1
    start_xvfb 80
fi
export WINEPREFIX=${WINEPREFIX:-$ROOT/out/machines/$profile}
"$ROOT/scripts/machine.sh" "$profile"

# A Wine desktop window gives the program the captions and the taskbar with
# its notification area that a window manager would.
desktop="explorer /desktop=Corvane,1024x768"
if [ -n "$headless" ]; then
    wine $desktop "$BUILD_DIR/corvane.exe" "$@" >/dev/null 2>&1 &
    sleep 10
    shot="$ROOT/out/corvane-$profile.png"
    import -window root "$shot"
    echo "No display: the utility ran on a virtual one ($DISPLAY); screenshot saved to $shot"
    wineserver -k
    kill "$XVFB_PID" 2>/dev/null || true
else
    exec wine $desktop "$BUILD_DIR/corvane.exe" "$@"
fi
