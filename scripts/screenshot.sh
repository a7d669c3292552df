#!/usr/bin/env bash
# Makes the README's pictures of the editor, docs/editor.png and docs/editor-linux.png, and the
# same at twice the size as a host on a high-density screen asks for it (docs/editor@2x.png,
# docs/editor-linux@2x.png): the real plug-in DLL's editor in the host tool's window under Wine,
# and the real Linux .so's in the native host tool's window, each on a virtual display, while the
# demo's drum loop plays through it (so the meters move), after a drag on Threshold Lo.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# shellcheck source=scripts/wine_env.sh
source scripts/wine_env.sh
vrn_choose_dll_build
preset=$VRN_DLL_PRESET wine=$VRN_DLL_WINE
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target vrn_gate vsthost
cmake --preset linux-release >/dev/null
cmake --build --preset linux-release --target example_signal vrn_gate vsthost

# The host's content scale request: effVendorSpecific, 'PreS', 'AeCs', the factor.
scale_request=(dispatch 50 1349674323 1097155443 2)
# picture SCALE FILE: sets `commands` to those of one picture, the drag at that scale.
picture() {
    commands=(editor-open editor-idle 300
        mouse-drag $((245 * $1)) $((149 * $1)) $((220 * $1)) $((149 * $1))
        editor-idle 2300 --play out/screenshot/input.wav editor-png "$2")
}

prefix="$PWD/build/wineprefix"
export WINEPREFIX=$prefix WINEDEBUG=-all
mkdir -p out/screenshot docs
build/linux-release/tools/example_signal out/screenshot/input.wav
linux=(xvfb-run -a -s "-screen 0 1280x1024x24" build/linux-release/tools/vsthost
    build/linux-release/plugin/VarneGate.so)
picture 1 docs/editor-linux.png
"${linux[@]}" "${commands[@]}"
picture 2 docs/editor-linux@2x.png
"${linux[@]}" "${scale_request[@]}" "${commands[@]}"
echo "screenshots: docs/editor-linux.png, docs/editor-linux@2x.png (linux-release)"

picture 1 docs/editor.png
single=("${commands[@]}")
picture 2 docs/editor@2x.png
double=("${scale_request[@]}" "${commands[@]}")
# The prefix is warmed on the same virtual display the editor then shows on.
# shellcheck disable=SC2016 # expanded by the inner shell
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    set -e
    prefix=$1 wine=$2 tool=$3 dll=$4 count=$5
    shift 5
    bash scripts/wine_prefix.sh "$prefix"
    "$wine" "$tool" "$dll" "${@:1:count}"
    "$wine" "$tool" "$dll" "${@:count+1}"
    wineserver -k' _ "$prefix" "$wine" "build/$preset/tools/vsthost.exe" \
    "build/$preset/plugin/VarneGate.dll" "${#single[@]}" "${single[@]}" "${double[@]}"
echo "screenshots: docs/editor.png, docs/editor@2x.png ($preset)"
