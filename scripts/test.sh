#!/usr/bin/env bash
# Runs every test: format check, native debug, native ASan+UBSan, and the Windows builds
# under Wine (32-bit and 64-bit).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

echo "== format check"
git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
echo "== pow tables match their derivation"
python3 scripts/make_fast_math_tables.py --check

run_native() {
    echo "== $1"
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1"
    ctest --preset "$1"
}

run_wine() {
    echo "== $1 (under Wine)"
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1"
    local prefix="$PWD/build/$1/wineprefix"
    bash scripts/wine_prefix.sh "$prefix"
    local status=0
    WINEPREFIX="$prefix" WINEDEBUG=-all ctest --preset "$1" || status=$?
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    return "$status"
}

run_native linux-debug
echo "== clang-tidy"
bash scripts/tidy.sh
run_native linux-asan
run_native linux-tsan
run_wine mingw32-release
run_wine mingw64-release
echo "== soak (2 minutes of audio)"
bash scripts/soak.sh 2
echo "== fuzzing (${VRN_FUZZ_SECONDS:-30} s per target)"
bash scripts/fuzz.sh "${VRN_FUZZ_SECONDS:-30}"
echo "== all test suites passed"
