#!/usr/bin/env bash
# wine_tests.sh PRESET [ctest arguments...]: runs the ctest preset of a Windows build under Wine
# (the toolchain names the loader) in the project's private prefix: warms the prefix, runs the
# tests, stops the prefix's Wine server. The window tests need a display, so scripts/test.sh runs
# this under xvfb-run.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=$1
shift
prefix="$PWD/build/wineprefix"
bash scripts/wine_prefix.sh "$prefix"
status=0
WINEPREFIX="$prefix" WINEDEBUG=-all ctest --preset "$preset" "$@" || status=$?
WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
exit "$status"
