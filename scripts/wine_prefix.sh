#!/usr/bin/env bash
# Creates (once) and warms the private Wine prefix given as $1, with the settings of
# wine_settings.reg: "Arial" and "Courier New" mapped to the Liberation fonts so text measures as
# on Windows, and top-level windows left unmanaged, because without a window manager (Xvfb) Wine
# waits two seconds for one at every window's destruction. One prefix serves the 32- and 64-bit
# builds: Wine makes the same 64-bit prefix (whose 32-bit part runs 32-bit programs) whichever
# loader creates it, so the 64-bit loader does all the work here: it never needs 32-bit support,
# and where 32-bit programs are emulated it is several times faster.
set -euo pipefail
prefix=$1
export WINEPREFIX=$prefix WINEDEBUG=-all
here=$(cd "$(dirname "$0")" && pwd)
wine=$here/wine64

if [ ! -f "$prefix/.vrn-ready" ]; then
    mkdir -p "$prefix"
    # Detached from our pipes: Wine's helper processes would otherwise keep them open.
    ("$wine" wineboot -i; wineserver -w) </dev/null >/dev/null 2>&1 || true
    touch "$prefix/.vrn-ready"
fi
# The settings are imported again whenever the file changes (a stamp names its checksum).
settings=$here/wine_settings.reg
stamp="$prefix/.vrn-settings-$(md5sum <"$settings" | cut -c1-32)"
if [ ! -f "$stamp" ]; then
    # Wine maps the root folder as drive Z:.
    reg="Z:$(printf '%s' "$settings" | tr / '\\')"
    # A warm server from an earlier run never exits by itself: stop it, or `wineserver -w`
    # would wait forever.
    (wineserver -k; "$wine" regedit /S "$reg"; wineserver -w) </dev/null >/dev/null 2>&1 || true
    rm -f "$prefix"/.vrn-settings-*
    touch "$stamp"
fi
(wineserver -p; "$wine" cmd /c exit) </dev/null >/dev/null 2>&1 || true
