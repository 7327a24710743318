#!/bin/bash
# Installs what is missing, builds, makes a throwaway Wine prefix on a virtual
# display and runs every test through CTest.
set -euo pipefail
source "$(dirname "$0")/env.sh"

"$ROOT/scripts/setup.sh"
# One format for every source file; the check says how to mend a file.
"$ROOT/scripts/check-format.sh"
build_all

export WINEPREFIX=$(mktemp -d /tmp/corvane-test.XXXXXX)
cleanup() {
    end_machine "$WINEPREFIX" || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
start_xvfb 99
new_prefix
# The test prefix is a running machine too: the razuDov service with the
# default card, for the tests that go through the real driver.
"$ROOT/sim/start-card.sh" "$BUILD_DIR" "$ROOT/machines/scenarios/default.txt" >/dev/null

# The parts that need no Windows, natively with the sanitizers.
cmake -S "$ROOT/tests/native" -B "$BUILD_DIR/native" -G Ninja >/dev/null
cmake --build "$BUILD_DIR/native" -j"$(nproc)"
(cd "$BUILD_DIR/native" && ctest --output-on-failure)
# Every fuzz target for a few seconds, from the seeds and what earlier runs found.
"$ROOT/scripts/fuzz.sh" "${FUZZ_SECONDS:-3}"

status=0
# The resources keep the shared desktop's tests two at a time and let the
# system tests' machines, which mostly wait, run beside them.
(cd "$BUILD_DIR" && ctest --output-on-failure -j5 \
    --resource-spec-file "$BUILD_DIR/test-resources.json" "$@") || status=$?

# No machine of the run outlives it: the system tests' machines are ended by
# their tests, the test prefix here. Whatever is left fails the run, named.
system_machines="$(readlink -f "$BUILD_DIR")/system-machines/*"
kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null || true
left=$(machine_processes "$system_machines")
end_machine "$WINEPREFIX" || left="$left $(machine_processes "$WINEPREFIX")"
if [ -n "${left// /}" ]; then
    echo "test.sh: processes of the run's machines are still running:" >&2
    for pid in $left; do echo "  $(describe_process "$pid")" >&2; done
    for prefix in $(for pid in $left; do
        tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | sed -n 's/^WINEPREFIX=//p'
    done | sort -u); do
        end_machine "$prefix" || true
    done
    status=1
fi
exit $status
