# Shared settings of the scripts: sourced, not run.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="

# Configures and builds everything into $BUILD_DIR.
build_all() {
    cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" >/dev/null
    cmake --build "$BUILD_DIR" -j"$(nproc)"
}

# Builds like build_all but shows the build's output only when it fails
# (Ninja prints the compiler's errors on standard output).
build_quietly() {
    local log
    log=$(mktemp /tmp/corvane-build.XXXXXX)
    if build_all >"$log" 2>&1; then
        rm -f "$log"
        return 0
    fi
    cat "$log" >&2
    rm -f "$log"
    echo "the build failed (output above)" >&2
    return 1
}

# Starts an Xvfb display on the first free number from $1 and exports DISPLAY.
start_xvfb() {
    local n=${1:-99}
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && return 0; sleep 0.1; done
    echo "Xvfb did not start on :$n" >&2
    return 1
}

# Starts an Xvfb display of its own, on a number the server picks itself (so
# two scripts starting at once never share one), exports DISPLAY and sets
# XVFB_PID. Waits up to 10 s for the server to be ready.
start_own_xvfb() {
    local numfile n=
    numfile=$(mktemp /tmp/corvane-display.XXXXXX)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 100); do
        n=$(head -n1 "$numfile" 2>/dev/null)
        [ -n "$n" ] && break
        sleep 0.1
    done
    rm -f "$numfile"
    [ -n "$n" ] || { echo "Xvfb did not start" >&2; return 1; }
    export DISPLAY=":$n"
}

# Makes a fresh 32-bit prefix in $WINEPREFIX and keeps its wineserver running.
new_prefix() {
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineserver -p >/dev/null 2>&1 || true
    wineboot --init >/dev/null 2>&1
    # Start the new system once more from cold: right after it is made, a
    # second service manager can come up beside the first, and the two then
    # answer requests by turns.
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    wineserver -p >/dev/null 2>&1 || true
    wine wineboot >/dev/null 2>&1
}

# The processes of the machines whose prefix matches the pattern (a path, or
# a glob such as DIR/*), one id a line: every process started with such a
# WINEPREFIX (the machine's Wine programs and wineserver, the session watcher
# of scripts/machine.sh, a display started for it), except this shell. It
# starts no command: one would carry the caller's WINEPREFIX and be listed.
machine_processes() { # prefix-pattern
    local dir pid var
    for dir in /proc/[0-9]*; do
        pid=${dir#/proc/}
        [ "$pid" = "$$" ] || [ "$pid" = "$BASHPID" ] && continue
        while IFS= read -r -d '' var; do
            # shellcheck disable=SC2053 # the prefix is a pattern
            if [[ $var == WINEPREFIX=$1 ]]; then
                echo "$pid"
                break
            fi
        done 2>/dev/null <"$dir/environ"
    done
    return 0
}

# One line on a process: its id, command line and machine.
describe_process() { # pid
    local cmd prefix
    cmd=$(tr '\0' ' ' 2>/dev/null <"/proc/$1/cmdline") || true
    cmd=${cmd% }
    prefix=$(tr '\0' '\n' 2>/dev/null <"/proc/$1/environ" | sed -n 's/^WINEPREFIX=//p') || true
    echo "$1 ${cmd:-?} (machine $prefix)"
}

# Switches a machine off for good: first the scripts that would bring it up
# again (the session watcher restarts it after a program asked for a
# restart, and a boot may be under way), then every Wine process of it, then
# whatever is left. The caller's own display (XVFB_PID) is the caller's to
# end: a machine may be started again on it. True when none of the
# machine's other processes remains.
end_machine() { # prefix
    local pid
    for pid in $(machine_processes "$1"); do
        tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline" | grep -q 'scripts/machine\.sh' &&
            kill "$pid" 2>/dev/null
    done
    WINEPREFIX=$1 wineserver -k 2>/dev/null || true
    WINEPREFIX=$1 wineserver -w 2>/dev/null || true
    for _ in $(seq 50); do
        [ -z "$(machine_processes_but_display "$1")" ] && return 0
        # shellcheck disable=SC2046 # one id a word
        kill -9 $(machine_processes_but_display "$1") 2>/dev/null || true
        sleep 0.2
    done
    [ -z "$(machine_processes_but_display "$1")" ]
}

# The machine's processes but the caller's display. Builtins only: a command
# started here would carry the machine's WINEPREFIX and count among them.
machine_processes_but_display() { # prefix
    local pid
    for pid in $(machine_processes "$1"); do
        [ "$pid" = "${XVFB_PID:-}" ] || echo "$pid"
    done
}
