#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan+UBSan) and runs them from the seed corpora in
# tests/fuzz/corpus; new inputs go to build/linux-fuzz/corpus. Any crash fails the script and
# leaves its reproducer in build/linux-fuzz/crashes/.
#
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]   each target for SECONDS (default 30; CI runs 20)
#   bash scripts/fuzz.sh --runs N [TARGET...]    each target for exactly N executions
#
# TARGET is one of the names below (default: all of them).
set -euo pipefail
cd "$(dirname "$0")/.."
all_targets=(chunk dispatcher editor host_sequence lv2 parameters sprintf wav)

limit=(-max_total_time=30)
if [ "${1:-}" = "--runs" ]; then
    [[ "${2:-}" =~ ^[0-9]+$ ]] || { echo "usage: $0 [SECONDS | --runs N] [TARGET...]" >&2; exit 2; }
    limit=(-runs="$2")
    shift 2
elif [[ "${1:-}" =~ ^[0-9]+$ ]]; then
    limit=(-max_total_time="$1")
    shift
fi
targets=("$@")
[ "${#targets[@]}" -gt 0 ] || targets=("${all_targets[@]}")
for target in "${targets[@]}"; do
    if [[ ! " ${all_targets[*]} " =~ " $target " ]]; then
        echo "unknown target '$target' (targets: ${all_targets[*]})" >&2
        exit 2
    fi
done

cmake --preset linux-fuzz >/dev/null
cmake --build --preset linux-fuzz
out=build/linux-fuzz
mkdir -p "$out/crashes"

# fuzz_target NAME: runs one target and says how it went.
fuzz_target() {
    local target=$1 corpus="$out/corpus/$1" log="$out/fuzz_$1.log" status=0 runs cov start end
    local max_len=4096
    # A call of the sequence targets takes a few bytes: 1024 bytes are a hundred calls or more,
    # and longer inputs mostly slow the run down.
    case "$target" in dispatcher | editor | host_sequence) max_len=1024 ;; esac
    mkdir -p "$corpus"
    start=$(date +%s.%N)
    "$out/tests/fuzz/fuzz_$target" "${limit[@]}" -max_len="$max_len" -timeout=10 \
        -rss_limit_mb=2048 -artifact_prefix="$out/crashes/$target-" -print_final_stats=1 \
        "$corpus" "tests/fuzz/corpus/$target" >"$log" 2>&1 || status=$?
    end=$(date +%s.%N)
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
    if [ "$status" -ne 0 ]; then
        tail -n 40 "$log"
        echo "fuzz_$target: FAILED after ${runs:-?} executions (see $log)"
        return 1
    fi
    awk -v t="fuzz_$target" -v n="${runs:-0}" -v a="$start" -v b="$end" -v c="${cov:-?}" \
        'BEGIN { s = b - a; printf "%s: %d executions in %.0f s (%.0f per second), 0 crashes, " \
                 "%s edges\n", t, n, s, n / (s > 0 ? s : 1), c }'
}

# Each target is single-threaded: run as many at once as there are cores.
jobs=$(nproc)
running=()
failed=0
for target in "${targets[@]}"; do
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
