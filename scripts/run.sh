#!/bin/bash
# Installs what is missing, builds, brings up the default machine (Windows NT
# 4.0 Workstation with the PCMCIA card in an infrastructure network of several
# cells) and starts the utility on it. With no display, it runs on a virtual
# one and saves a screenshot to out/ once the tool window is up.
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

echo "run: checking the installed packages"
"$ROOT/scripts/setup.sh"
echo "run: building into $BUILD_DIR (the first build takes a few minutes)"
build_quietly
mkdir -p "$ROOT/out"

headless=
if [ -z "${DISPLAY:-}" ]; then
    headless=1
    start_xvfb 80
fi
export WINEPREFIX=${WINEPREFIX:-$ROOT/out/machines/$profile}

# Whatever ends the headless run, the virtual display and the machine go.
stop_headless() {
    end_machine "$WINEPREFIX" || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}
[ -n "$headless" ] && trap stop_headless EXIT

echo "run: starting the machine $profile"
"$ROOT/scripts/machine.sh" "$profile"

# The machine's default desktop is a virtual desktop with a taskbar (see
# scripts/machine.sh), so every program of the prefix shares it: a second
# start, `WINEPREFIX=$WINEPREFIX wine $BUILD_DIR/corvane.exe /m`, finds this one.
echo "run: starting the utility"
if [ -z "$headless" ]; then
    exec wine "$BUILD_DIR/corvane.exe" "$@"
fi
wine "$BUILD_DIR/corvane.exe" "$@" >/dev/null 2>&1 &
program=$!
# Wait for the tool window, or for a message box the program shows before it
# (a missing adapter, say), about a minute at most.
probe="$BUILD_DIR/tests/system/msgprobe.exe"
up=
for _ in $(seq 60); do
    if wine "$probe" window "Corvane Utility" 500 >/dev/null 2>&1 ||
        wine "$probe" box 500 >/dev/null 2>&1; then
        up=1
        break
    fi
    kill -0 "$program" 2>/dev/null || break
done
if [ -z "$up" ]; then
    echo "run: the utility showed no window (see 'wine $BUILD_DIR/corvane.exe' in $WINEPREFIX)" >&2
    kill "$program" 2>/dev/null || true
    exit 1
fi
sleep 2 # let the first monitor tick paint the icon and the quality
shot="$ROOT/out/corvane-$profile.png"
import -window root "$shot"
echo "No display: the utility ran on a virtual one ($DISPLAY); screenshot saved to $shot"
