#!/usr/bin/env bash
# Creates (once) and warms the private Wine prefix given as $1, with "Arial" and "Courier New"
# mapped to the Liberation fonts so text measures as on Windows.
set -euo pipefail
prefix=$1
export WINEPREFIX=$prefix WINEDEBUG=-all
here=$(cd "$(dirname "$0")" && pwd)

if [ ! -f "$prefix/.vrn-ready" ]; then
    mkdir -p "$prefix"
    # Detached from our pipes: Wine's helper processes would otherwise keep them open.
    (wineboot -i; wineserver -w) </dev/null >/dev/null 2>&1 || true
    (wine regedit /S "$(winepath -w "$here/wine_fonts.reg")"; wineserver -w) </dev/null >/dev/null 2>&1 || true
    touch "$prefix/.vrn-ready"
fi
(wineserver -p; wine cmd /c exit) </dev/null >/dev/null 2>&1 || true
