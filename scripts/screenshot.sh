#!/usr/bin/env bash
# Makes the README's pictures of the editor, docs/editor.png and docs/editor-linux.png: the real
# plug-in DLL's editor in the host tool's window under Wine, and the real Linux .so's in the
# native host tool's window, each on a virtual display, while the demo's drum loop plays through
# it (so the meters move), after a drag on Threshold Lo.
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

prefix="$PWD/build/wineprefix"
export WINEPREFIX=$prefix WINEDEBUG=-all
mkdir -p out/screenshot docs
build/linux-release/tools/example_signal out/screenshot/input.wav
xvfb-run -a -s "-screen 0 1280x1024x24" build/linux-release/tools/vsthost \
    build/linux-release/plugin/VarneGate.so editor-open editor-idle 300 \
    mouse-drag 245 149 220 149 editor-idle 2300 --play out/screenshot/input.wav \
    editor-png docs/editor-linux.png
echo "screenshot: docs/editor-linux.png (linux-release)"
# The prefix is warmed on the same virtual display the editor then shows on.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    bash scripts/wine_prefix.sh "$1"
    "$2" "$3" "$4" editor-open editor-idle 300 mouse-drag 245 149 220 149 \
        editor-idle 2300 --play out/screenshot/input.wav editor-png docs/editor.png
    wineserver -k' _ "$prefix" "$wine" "build/$preset/tools/vsthost.exe" \
    "build/$preset/plugin/VarneGate.dll"
echo "screenshot: docs/editor.png ($preset)"
