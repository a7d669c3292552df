#!/usr/bin/env bash
# Measures what VARNE Gate costs per stereo frame next to peer gates, all in one process per table:
# timed rounds, callgrind instruction counts, and the 32-bit DLL under Wine against the native .so.
#
# Settings measured:
#   (a) the gating signal (4 s of 100 ms bursts at -6 dBFS every 500 ms over a -70 dBFS floor);
#       our gate at its defaults, the peers set to gate it the same way (below);
#   (b) our gate at defaults against our gate with Pre-Gate on, attack 2 ms and Band Link 100 %;
#   (c) the silent-tail signal (1.65 s of the gating signal ending on a burst, then 10 s of exact
#       digital silence), settings as in (a): ns per frame in the silence must stay flat.
#
# Peer settings. Our defaults: attack 0 ms, releases 20 ms, thresholds -45 dB, ratio 2 (about
# 35 dB less in the quiet tails of this signal), two bands split at 500 Hz. The peers get the same
# threshold and release and their fastest attack:
#   LSP Gate Stereo:       gt -45 dB, at 0.1 ms, rt 20 ms; reduction (gr) stays at -24 dB.
#   LSP MB Gate Stereo:    two bands split at 500 Hz (split 1 on at 500 Hz, the default splits 2,
#                          4, 6 off); sidechain boost (envb) None, because its default pink boost
#                          reads this floor about 30 dB hotter and the gate never closes; every
#                          band gt -45 dB, at 0.1 ms, rt 20 ms.
#   ZamGateX2:             Threshold -45 dB, Attack 0.1 ms (its minimum), Release 20 ms,
#                          Max gate close -24 dB (as LSP's reduction).
# The "tails dB" column of table (a) shows that each of them closes on this signal.
#
# Environment: VRN_BENCH_ROUNDS (timed rounds, default 21), VRN_BENCH_BLOCKS (frames per block
# of tables (a) to (c), one size or a list such as 32,64,512,4096, default 512; a list adds a table
# over the sizes), VRN_BENCH_WINE_RUNS (alternating native/Wine process pairs, default 3),
# VRN_BENCH_SKIP_WINE=1, VRN_BENCH_SKIP_CALLGRIND=1.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

rounds=${VRN_BENCH_ROUNDS:-21}
blocks=${VRN_BENCH_BLOCKS:-512}
wine_runs=${VRN_BENCH_WINE_RUNS:-3}
native=build/bench
cross=build/bench-mingw32

# --- packages: the peers, valgrind, FFTW (the benchmark build also builds transform_bench)
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
missing=()
for package in lsp-plugins-vst zam-plugins valgrind libfftw3-dev; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
        missing+=("$package")
done
if [ "${#missing[@]}" -gt 0 ]; then
    echo "bench: installing ${missing[*]}"
    # An index that fails to refresh (a mirror in mid-sync) need not stop the install.
    "${sudo_cmd[@]}" apt-get update -qq || true
    "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
        --no-install-recommends "${missing[@]}" >/dev/null ||
        echo "bench: note: could not install ${missing[*]}; going on without"
fi

# --- native build
configure=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DVRN_BUILD_BENCHMARKS=ON -DVRN_WERROR=ON
    -DVRN_BUILD_TESTS=OFF)
echo "bench: building $native"
cmake -S . -B "$native" "${configure[@]}" >/dev/null
cmake --build "$native" --target vrn_gate vsthost gate_bench >/dev/null
bench=$native/tools/gate_bench
ours=$native/plugin/VarneGate.so

# --- the peers, from their installed paths only; a missing one is skipped with a note
peers=()       # paths, in table order after ours (index 1, 2, ...)
peer_args=()   # names and settings for the peers, indices matching `peers`
add_peer() {
    local path=$1 name=$2
    shift 2
    if [ ! -f "$path" ]; then
        echo "bench: note: $name not found at $path; skipped"
        return
    fi
    peers+=("$path")
    local index=${#peers[@]}
    peer_args+=(--name "$index:$name")
    local setting
    for setting in "$@"; do
        case $setting in
        *@*) peer_args+=(--set-display "$index:${setting%@*}=${setting##*@}") ;;
        *) peer_args+=(--set "$index:$setting") ;;
        esac
    done
}
# PARAM@VALUE: the value as the plug-in displays it; PARAM=X: normalised.
mb_bands=()
for band in 0 1 2 3 4 5 6 7; do
    mb_bands+=("gt_$band@-45" "at_$band@0.1" "rt_$band@20")
done
add_peer /usr/lib/vst/lsp-plugins/gate-stereo.so "LSP Gate Stereo" gt@-45 at@0.1 rt@20
add_peer /usr/lib/vst/lsp-plugins/mb-gate-stereo.so "LSP MB Gate Stereo" \
    envb=0 cbe_1=1 sf_1@500 cbe_2=0 cbe_4=0 cbe_6=0 "${mb_bands[@]}"
add_peer /usr/lib/vst/ZamGateX2-vst.so "ZamGateX2" \
    Threshold@-45 Attack@0.1 Release@20 "Max gate close@-24"

ours_a=(--name "0:VARNE Gate" "$ours")
ours_b=(--name "0:VARNE Gate (defaults)" --name "1:VARNE Gate (Pre-Gate, link 100 %)"
    --set 1:Pre-Gate=1 --set-display 1:Attack=2 --set-display "1:Band Link=100" "$ours" "$ours")

echo "bench: machine: $(lscpu | sed -n 's/^Model name: *//p' | head -n 1), $(nproc) cores," \
    "load average $(cut -d' ' -f1-3 /proc/loadavg); commit $(git rev-parse --short HEAD)"

# --- timing: the plug-ins take turns within each round
time_table() {
    local title=$1
    shift
    "$bench" --title "$title" --rounds "$rounds" --blocks "$blocks" "$@"
}

# --- callgrind: counting toggled around the process calls only, one dump per plug-in and stretch
have_valgrind=0
if [ "${VRN_BENCH_SKIP_CALLGRIND:-0}" != 1 ] && command -v valgrind >/dev/null; then
    have_valgrind=1
fi
count_table() {
    local name=$1 title=$2
    shift 2
    if [ "$have_valgrind" != 1 ]; then
        echo "bench: note: no valgrind; $title skipped"
        return
    fi
    local dir=$native/callgrind/$name
    rm -rf "$dir"
    mkdir -p "$dir"
    if ! valgrind --tool=callgrind --instr-atstart=no --collect-atstart=no \
        --callgrind-out-file="$dir/callgrind.out.%p" \
        "$bench" --count --warmup 1 --blocks "$blocks" "$@" >"$dir/run.log" \
        2>"$dir/valgrind.log"; then
        echo "bench: note: the callgrind run failed; see $dir/valgrind.log"
        return
    fi
    grep '^note:' "$dir/run.log" || true
    "$bench" --callgrind-report --title "$title" "$dir"/callgrind.out.*
}

signal_c=(--signal silent-tail --silence 10)

time_table "(a) gating signal, peers set to gate it alike: timing" \
    "${ours_a[@]}" "${peers[@]}" "${peer_args[@]}"
count_table a "(a) gating signal: callgrind" "${ours_a[@]}" "${peers[@]}" "${peer_args[@]}"
echo
time_table "(b) VARNE Gate: Pre-Gate (attack 2 ms) and Band Link 100 % against defaults: timing" \
    "${ours_b[@]}"
count_table b "(b) Pre-Gate and Band Link 100 %: callgrind" "${ours_b[@]}"
echo
time_table "(c) silent tail, settings as in (a): timing" "${signal_c[@]}" \
    "${ours_a[@]}" "${peers[@]}" "${peer_args[@]}"
count_table c "(c) silent tail: callgrind" "${signal_c[@]}" \
    "${ours_a[@]}" "${peers[@]}" "${peer_args[@]}"

# --- Wine: the 32-bit Windows build of gate_bench with our DLL against the native pair. Two
# processes cannot be avoided here, so they alternate and each figure is the median of the runs.
if [ "${VRN_BENCH_SKIP_WINE:-0}" = 1 ]; then
    exit 0
fi
if ! command -v wine >/dev/null || ! command -v i686-w64-mingw32-g++-posix >/dev/null; then
    echo "bench: note: wine or the i686 mingw-w64 compiler is missing; the Wine table is skipped"
    exit 0
fi
echo
echo "bench: building $cross"
cmake -S . -B "$cross" "${configure[@]}" \
    "-DCMAKE_TOOLCHAIN_FILE=$root/cmake/toolchains/i686-w64-mingw32.cmake" >/dev/null
cmake --build "$cross" --target vrn_gate gate_bench >/dev/null
export WINEPREFIX=$root/build/wineprefix WINEDEBUG=-all
trap 'wineserver -k 2>/dev/null || true' EXIT
# Creates the prefix once, then warms it detached from our pipes.
bash scripts/wine_prefix.sh "$WINEPREFIX"

results=$native/wine-results.tsv
: >"$results"
# run SIDE COMMAND...: appends "SIDE<TAB>result line" for every result line.
run_side() {
    local side=$1
    shift
    "$@" </dev/null | tr -d '\r' | sed -n "s/^result\t/$side\t/p" >>"$results"
}
ours_b_dll=("${ours_b[@]}")
ours_b_dll[${#ours_b_dll[@]} - 2]=$cross/plugin/VarneGate.dll
ours_b_dll[${#ours_b_dll[@]} - 1]=$cross/plugin/VarneGate.dll
for ((run = 0; run < wine_runs; ++run)); do
    run_side native "$bench" --tsv --rounds "$rounds" "${ours_b[@]}"
    run_side wine wine "$cross/tools/gate_bench.exe" --tsv --rounds "$rounds" "${ours_b_dll[@]}"
    run_side native "$bench" --tsv --rounds "$rounds" "${signal_c[@]}" "$ours"
    run_side wine wine "$cross/tools/gate_bench.exe" --tsv --rounds "$rounds" "${signal_c[@]}" \
        "$cross/plugin/VarneGate.dll"
done

median() { # median of the numbers on stdin
    sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "-";
        else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
# figure SIDE INDEX SEGMENT: the median over the runs of the per-run medians.
figure() {
    awk -F'\t' -v side="$1" -v index_="$2" -v segment="$3" \
        '$1 == side && $2 == index_ && $3 == segment { print $4 }' "$results" | median
}
echo
echo "== VARNE Gate: 32-bit DLL under Wine against the native 64-bit .so"
echo "ns per stereo frame; each figure the median over $wine_runs runs (native and Wine" \
    "processes alternating) of the run's median over $rounds rounds"
printf '%-44s%10s%10s%13s\n' setting native wine wine/native
row() {
    local label=$1 index=$2 segment=$3 a b
    a=$(figure native "$index" "$segment")
    b=$(figure wine "$index" "$segment")
    awk -v l="$label" -v a="$a" -v b="$b" 'BEGIN {
        r = (a > 0 && b != "-") ? sprintf("%.2f", b / a) : "-";
        printf "%-44s%10.1f%10.1f%13s\n", l, a, b, r }'
}
row "(a) defaults, gating signal" 0 all
row "(b) Pre-Gate, attack 2 ms, Band Link 100 %" 1 all
row "(c) silent tail: signal" 0 signal
row "(c) silent tail: silence 1-10 s" 0 "silence 1-10 s"
