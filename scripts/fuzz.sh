#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan+UBSan) and runs each for SECONDS (default 30) from
# the seed corpora in tests/fuzz/corpus; new inputs go to build/linux-fuzz/corpus. Any crash
# fails the script and leaves its reproducer in build/linux-fuzz/crashes/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
cmake --preset linux-fuzz >/dev/null
cmake --build --preset linux-fuzz
out=build/linux-fuzz
mkdir -p "$out/crashes"
# fuzz_target NAME: runs one target for the given time and says how it went.
fuzz_target() {
    local target=$1 corpus="$out/corpus/$1" log="$out/fuzz_$1.log" status=0 runs
    mkdir -p "$corpus"
    "$out/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
        -rss_limit_mb=2048 -artifact_prefix="$out/crashes/$target-" -print_final_stats=1 \
        "$corpus" "tests/fuzz/corpus/$target" >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    if [ "$status" -ne 0 ]; then
        tail -n 40 "$log"
        echo "fuzz_$target: FAILED after ${runs:-?} executions (see $log)"
        return 1
    fi
    echo "fuzz_$target: ${runs:-?} executions in ${seconds} s, 0 crashes"
}

# Each target is single-threaded: run as many at once as there are cores.
jobs=$(nproc)
running=()
failed=0
for target in chunk host_sequence parameters sprintf wav; do
    fuzz_target "$target" &
    running+=("$!")
    if [ "${#running[@]}" -ge "$jobs" ]; then
        wait "${running[0]}" || failed=1
        running=("${running[@]:1}")
    fi
done
for pid in "${running[@]}"; do
    wait "$pid" || failed=1
done
exit "$failed"
