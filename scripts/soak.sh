#!/usr/bin/env bash
# Soak run of the native plug-in: MINUTES (default 60) of audio with a parameter change every
# block and a chunk round trip every second; fails on memory growth, non-finite output or a
# slow-down of more than 20 % between the first and the last minute.
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-60}
cmake --preset linux-release >/dev/null
cmake --build --preset linux-release --target vrn_gate soak
build/linux-release/tools/soak build/linux-release/plugin/VarneGate.so "$minutes"
