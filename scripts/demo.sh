#!/usr/bin/env bash
# The main job: sets up, builds the 32-bit plug-in DLL and renders a drum loop over a noise floor
# through it under Wine at four settings; prints what the gate did. WAVs and a picture of the
# level envelopes land in out/demo/. Where this machine cannot run 32-bit programs at all, the
# 64-bit DLL (same sources, same results) is used instead, and the demo says so.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# shellcheck source=scripts/wine_env.sh
source scripts/wine_env.sh
vrn_choose_dll_build
preset=$VRN_DLL_PRESET wine=$VRN_DLL_WINE
if [ "$VRN_I386" = none ]; then
    echo "demo: 32-bit programs cannot run here ($VRN_I386_REASON): using the 64-bit DLL"
else
    echo "demo: using the 32-bit DLL (32-bit programs: $VRN_I386)"
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target vrn_gate vsthost
cmake --preset linux-release >/dev/null
cmake --build --preset linux-release --target example_signal gate_report envelope_plot

dll=build/$preset/plugin/VarneGate.dll
host=build/$preset/tools/vsthost.exe
prefix="$PWD/build/wineprefix"
bash scripts/wine_prefix.sh "$prefix"
export WINEPREFIX=$prefix WINEDEBUG=-all

out=out/demo
mkdir -p "$out"
build/linux-release/tools/example_signal "$out/input.wav"

# name | parameter settings as "index normalised-value" pairs | crossover Hz | what it shows
render() {
    local name=$1 crossover=$2 description=$3
    shift 3
    local commands=()
    while [ "$#" -gt 0 ]; do
        commands+=(set "$1" "$2")
        shift 2
    done
    local log
    log=$("$wine" "$host" --rate 48000 --block 512 "$dll" "${commands[@]}" \
        render "$out/input.wav" "$out/$name.wav" </dev/null)
    local latency
    latency=$(printf '%s\n' "$log" | sed -n 's/.*latency: \([0-9-]*\).*/\1/p' | tail -n 1)
    echo "$name: $description"
    build/linux-release/tools/gate_report "$out/input.wav" "$out/$name.wav" "$crossover" "${latency:-0}"
}

# Normalised values: (value - minimum) / (maximum - minimum).
render default 500 "the default settings (ratio 2, thresholds -45 dB)"
render hard-gate 500 "a hard gate: ratio 10, thresholds -40 dB, releases 80/40 ms" \
    6 1.0 3 0.5555556 4 0.5555556 1 0.0753769 2 0.0351759
render pre-gate 500 "Pre-Gate on with a 2 ms attack (look-ahead), ratio 6" \
    0 0.2 8 1.0 6 0.5789474 3 0.5555556 4 0.5555556
render band-link 500 "Band Link 100 %: the open band opens the other" \
    9 1.0 4 0.8888889 3 0.5555556
wineserver -k 2>/dev/null || true
build/linux-release/tools/envelope_plot "$out/envelopes.png" "$out/input.wav" "$out/default.wav" \
    "$out/hard-gate.wav" "$out/pre-gate.wav" "$out/band-link.wav"
echo "WAV files: $out/; level envelopes (input grey, one panel per setting): $out/envelopes.png"
