#!/usr/bin/env bash
# Runs every fuzz target of the asan build (build-asan/, made by scripts/test.sh
# or `cmake --preset asan && cmake --build build-asan`) for the given number
# of seconds each (default 10), starting from its committed corpus; new
# inputs go to a scratch folder, a crash to fuzz/crashes/. Prints each
# target's execution count; fails on the first crash, leak or timeout.
# FUZZ_SEED fixes libFuzzer's seed (the test run uses one, so a run is
# repeatable); unset, every run explores afresh.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-10}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$top/fuzz/crashes"
status=0
for fuzzer in "$top"/build-asan/fuzz/fuzz_*; do
    [ -f "$fuzzer" ] && [ -x "$fuzzer" ] || continue
    name=${fuzzer##*/fuzz_}
    mkdir -p "$scratch/$name"
    if QT_QPA_PLATFORM=offscreen "$fuzzer" -max_total_time="$seconds" -timeout=20 \
        -rss_limit_mb=2048 -seed="${FUZZ_SEED:-0}" -print_final_stats=1 -artifact_prefix="$top/fuzz/crashes/$name-" \
        "$scratch/$name" "$top/fuzz/corpus/$name" >"$scratch/$name.log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$scratch/$name.log")
        printf '%-20s %12s executions in %s s\n' "$name" "$runs" "$seconds"
    else
        echo "fuzz target $name failed:"
        tail -n 60 "$scratch/$name.log"
        status=1
    fi
done
exit $status
