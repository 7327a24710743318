#!/bin/bash
# Creates (once) or refreshes a simulated machine and starts it: a Wine prefix
# playing the profile's Windows version with the registry that its operating
# system and network driver keep, the razuDov driver service, the card with
# the profile's scenario and the driver's settings, and then the programs of
# the Run keys, as at logon.
#
# usage: scripts/machine.sh PROFILE [--fresh]
#   MACHINES_DIR  where machines live (default out/machines)
#   WINEPREFIX    where this machine lives (default MACHINES_DIR/PROFILE)
#   BUILD_DIR   the build to take razuDov.sys, cardctl.exe and machineboot.exe from
# The machine runs while its wineserver runs; `wineserver -k` switches it off.
# A program that restarts the system (ExitWindowsEx) ends the session; the
# machine then goes down and starts again by itself, as a restart does
# (machine.log in the prefix tells what its watcher did).
set -euo pipefail
source "$(dirname "$0")/env.sh"

profile=${1:?usage: machine.sh PROFILE [--fresh]}
mode=${2:-}
dir="$ROOT/machines/$profile"
[ -f "$dir/profile.conf" ] || { echo "machine.sh: no profile $profile" >&2; exit 2; }
source "$dir/profile.conf"
MACHINES_DIR=${MACHINES_DIR:-$ROOT/out/machines}
export WINEPREFIX=${WINEPREFIX:-$MACHINES_DIR/$profile}

machineboot="$BUILD_DIR/machines/machineboot.exe"

# The prefix's processes whose command line matches the pattern.
prefix_processes() {
    local p
    for p in $(pgrep -f "$1"); do
        tr '\0' '\n' 2>/dev/null <"/proc/$p/environ" | grep -qx "WINEPREFIX=$WINEPREFIX" && echo "$p"
    done
}

# The session watcher (`machine.sh PROFILE --session`, started at every
# boot before the logon's programs, so that the session's end asks it first):
# waits in the session; when a program asks the system to restart, switches
# the machine off and boots it again. (Wine's ExitWindowsEx waits for the
# session's end, which waits on the very program that called it; so the
# machine goes down at once, as a forced restart.)
if [ "$mode" = --session ]; then
    status=0
    wine "$machineboot" session || status=$?
    [ $status -eq 3 ] || exit 0 # switched off
    echo "machine: restart asked at $(date +%T)"
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    exec "$0" "$profile"
fi

for tool in sim/razuDov.sys sim/cardctl.exe sim/version.dll machines/machineboot.exe; do
    if [ ! -f "$BUILD_DIR/$tool" ]; then
        echo "machine: building the simulation first"
        build_quietly
    fi
done

# A new machine starts from a plain prefix, copied by hard links from one
# made once: Wine replaces the files it changes, and the registry files,
# which it rewrites, are copied for real.
base="$MACHINES_DIR/.base"
make_base() {
    rm -rf "$base"
    mkdir -p "$base"
    WINEPREFIX="$base" wineserver -p >/dev/null 2>&1 || true
    WINEPREFIX="$base" wineboot --init >/dev/null 2>&1
    # Ending the wineserver writes the registry out.
    WINEPREFIX="$base" wineserver -k 2>/dev/null || true
    WINEPREFIX="$base" wineserver -w 2>/dev/null || true
}
# Every program started in this prefix shares one desktop, the prefix's
# default one shown as a virtual desktop with a taskbar: a second start typed
# as `wine build/corvane.exe /m` then finds the running copy, and the
# notification icon has its taskbar. The desktop is made when the system
# starts, so the setting goes in while the machine is switched off.
one_desktop() {
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
}

if [ "$mode" = "--fresh" ] || [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineserver -k 2>/dev/null || true
    mkdir -p "$MACHINES_DIR"
    (
        flock 9
        if [ ! -f "$base/system.reg" ]; then
            echo "machine: making a plain Wine prefix to copy machines from (once, about a minute)"
            make_base
        fi
    ) 9>"$MACHINES_DIR/.base.lock"
    echo "machine: making $profile in $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    cp -al "$base" "$WINEPREFIX"
    for f in "$WINEPREFIX"/*.reg "$WINEPREFIX"/drive_c/windows/*.ini; do
        [ -f "$f" ] && cp --remove-destination "$(readlink -f "$f")" "$f.tmp" && mv "$f.tmp" "$f"
    done
    wineserver -p >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine' /v Version /d "$VERSION" /f >/dev/null
    one_desktop
    wine "$BUILD_DIR/machines/machineboot.exe" "$(winepath -w "$dir/registry.reg")"
    if [ -d "$dir/files" ]; then
        cp -r "$dir/files/." "$WINEPREFIX/drive_c/windows/"
    fi
    # The version and the desktop take effect when the wineserver starts again.
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
fi

# A machine made before it shared one desktop.
if ! grep -q '^"Desktop"="Default"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wineserver -p >/dev/null 2>&1 || true
    one_desktop
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
fi

# Wine's own fonts (the fonts-wine package) draw the caption buttons and the
# system menu; this Wine does not find them in its data directory, so the
# machine keeps a copy in its Fonts folder. Without Marlett every close button
# shows the letter "r".
for font in marlett.ttf tahoma.ttf tahomabd.ttf; do
    [ -f "/usr/share/wine/fonts/$font" ] &&
        cp -u "/usr/share/wine/fonts/$font" "$WINEPREFIX/drive_c/windows/Fonts/"
done

# Windows 95/98 let a program run IN and OUT itself; under Wine they fault.
# These machines load the port trap into corvane.exe from outside, as the
# system's version.dll of that program alone (sim/trapdll), so the program
# carries no part of the simulation. The file is a hard link into the plain
# prefix until replaced, hence the removal first.
install_port_trap() {
    local system32="$WINEPREFIX/drive_c/windows/system32"
    if ! cmp -s "$BUILD_DIR/sim/version.dll" "$system32/version.dll"; then
        rm -f "$system32/version.dll"
        cp "$BUILD_DIR/sim/version.dll" "$system32/version.dll"
    fi
    if ! grep -q 'AppDefaults\\\\corvane.exe\\\\DllOverrides' "$WINEPREFIX/user.reg" 2>/dev/null; then
        wine reg add 'HKCU\Software\Wine\AppDefaults\corvane.exe\DllOverrides' /v version \
            /d native,builtin /f >/dev/null 2>&1
    fi
}

# Boot: the system's own start (which rebuilds its volatile keys; -r leaves
# the Run keys for later), then ours: the volatile registry, the driver
# service, the card with the driver's settings from the registry, and only
# then the logon's programs, which may want the card.
wineserver -p >/dev/null 2>&1 || true
wine wineboot -r >/dev/null 2>&1
case "$VERSION" in win95 | win98) install_port_trap ;; esac
wine "$machineboot" "$(winepath -w "$dir/volatile.reg")"
"$ROOT/sim/start-card.sh" "$BUILD_DIR" "$ROOT/machines/scenarios/$SCENARIO" "$DRIVER_KEY"
setsid "$0" "$profile" --session </dev/null >>"$WINEPREFIX/machine.log" 2>&1 &
# The watcher's window is there before the logon's programs start.
for _ in $(seq 300); do
    [ -n "$(prefix_processes 'machineboot.exe session')" ] && break
    sleep 0.1
done
wine "$machineboot" logon >/dev/null 2>&1
echo "machine $profile is up in $WINEPREFIX"
