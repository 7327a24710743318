#!/bin/bash
# Builds the libFuzzer targets (fuzz/) natively with clang and runs each in
# turn, at the lowest priority, for SECONDS (default 60), or for RUNS
# executions when FUZZ_RUNS is set. Names after SECONDS pick targets (default:
# all). New inputs go to <build>/fuzz/corpus/<target>, findings to
# <build>/fuzz/findings; the seeds in fuzz/corpus/<target> are only read.
# Prints one line per target and fails when any target found something.
#   scripts/fuzz.sh                 every target for a minute
#   scripts/fuzz.sh 5               every target for five seconds (as scripts/test.sh does)
#   FUZZ_RUNS=10000000 scripts/fuzz.sh 0 dispatcher
set -euo pipefail
source "$(dirname "$0")/env.sh"

seconds=${1:-60}
shift || true
out=$BUILD_DIR/fuzz
mkdir -p "$out"
{ CXX=clang++ cmake -S "$ROOT/fuzz" -B "$out" -G Ninja && cmake --build "$out" -j"$(nproc)"; } \
    >"$out/build.log" 2>&1 || { cat "$out/build.log"; exit 1; }

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for exe in "$out"/fuzz_*; do
        [ -x "$exe" ] && targets+=("$(basename "$exe" | sed 's/^fuzz_//')")
    done
fi

failed=0
mkdir -p "$out/findings" "$out/logs"
for t in "${targets[@]}"; do
    mkdir -p "$out/corpus/$t"
    seeds=()
    [ -d "$ROOT/fuzz/corpus/$t" ] && seeds+=("$ROOT/fuzz/corpus/$t")
    # The scenario parser also starts from the machine profiles' scenarios.
    [ "$t" = scenario ] && seeds+=("$ROOT/machines/scenarios")
    if [ -n "${FUZZ_RUNS:-}" ]; then limit=(-runs="$FUZZ_RUNS"); else limit=(-max_total_time="$seconds"); fi
    log=$out/logs/$t.log
    status=0
    nice -n 19 "$out/fuzz_$t" "${limit[@]}" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$out/findings/$t-" "$out/corpus/$t" ${seeds[@]+"${seeds[@]}"} >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    secs=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
    if [ "$status" -ne 0 ]; then
        failed=1
        echo "fuzz $t: FINDING after ${runs:-?} executions (exit $status), see $log and $out/findings/$t-*"
    else
        echo "fuzz $t: ${runs:-?} executions in ${secs:-?} s, no finding"
    fi
done
exit $failed
