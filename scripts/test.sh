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
    wineserver -k 2>/dev/null || true
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

cd "$BUILD_DIR"
ctest --output-on-failure -j"$(nproc)" "$@"
