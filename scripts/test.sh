#!/usr/bin/env bash
# Runs every test suite: format check, generated-file checks, native debug, ASan+UBSan, TSan,
# the Windows builds under Wine (32-bit and 64-bit), a soak run and fuzzing; then prints a
# summary of every suite (ran or skipped, why, how long). `--plan` prints only what would run
# on this machine.
set -euo pipefail
cd "$(dirname "$0")/.."

plan_only=0
[ "${1:-}" = "--plan" ] && plan_only=1

if [ "$plan_only" -eq 0 ]; then
    bash scripts/setup.sh
fi
# shellcheck source=scripts/wine_env.sh
source scripts/wine_env.sh
vrn_detect_i386

# What the 32-bit suite does on this machine, and why.
case "$VRN_I386" in
    native)
        mingw32_mode=all
        mingw32_note="all tests under Wine"
        ;;
    emulated)
        # Under qemu every start of a Windows program costs most of a minute: prove the shipped
        # DLL in one run of the host tool (identity, a render against the plain calculation,
        # parameters, a chunk round trip; signal and reference from the native build), check
        # its exports and pictures, and leave the unit tests to the 64-bit and native runs,
        # which build the same sources.
        mingw32_mode=dll
        mingw32_note="emulated: only the shipped DLL (plugin_proof, plugin_exports, plugin_artwork, plugin_version); unit and editor tests run in the 64-bit and native suites"
        ;;
    none)
        mingw32_mode=skip
        mingw32_note="skipped: $VRN_I386_REASON"
        ;;
esac

summary=()
failed=0

# suite NAME COMMAND...: runs a suite, timing it; a failure is recorded and the next suite runs.
suite() {
    local name=$1 note=${SUITE_NOTE:-}
    shift
    if [ "$plan_only" -eq 1 ]; then
        summary+=("$(printf '%-18s %-8s %s' "$name" run "$note")")
        return 0
    fi
    echo "== $name"
    local start=$SECONDS status=0
    "$@" || status=$?
    local took=$((SECONDS - start)) result=passed
    if [ "$status" -ne 0 ]; then
        result=FAILED
        failed=1
    fi
    summary+=("$(printf '%-18s %-8s %4d s  %s' "$name" "$result" "$took" "$note")")
}

skip() {
    summary+=("$(printf '%-18s %-8s %s' "$1" skipped "$2")")
}

format_check() {
    git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
}

run_native() {
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1"
    # The Linux editor's tests open windows: a virtual X display for the run, 24-bit so that
    # pixels read back keep their colours.
    xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset "$1"
}

# run_tsan: ThreadSanitizer over the unit tests, where the threads are (the stress test, the
# editor bridge, the drawing library's holder, the LV2 state); the integration cases drive one
# thread at a time and run in the other native suites.
tsan_tests=(runtime_tests effect_tests host_tests lv2_tests editor_tests graphics_tests x11_tests)
run_tsan() {
    cmake --preset linux-tsan >/dev/null
    cmake --build --preset linux-tsan --target "${tsan_tests[@]}"
    local names
    names=$(IFS='|'; echo "${tsan_tests[*]}")
    xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset linux-tsan -R "^($names)\$"
}

# wine_tests PRESET [ctest arguments...]: the built preset's tests under Wine.
wine_tests() {
    # The window tests need a display: one virtual X server for the whole run, 24-bit so that
    # pixels read back keep their colours.
    xvfb-run -a -s "-screen 0 1280x1024x24" bash scripts/wine_tests.sh "$@"
}

# run_wine PRESET [ctest arguments...]: builds everything, runs the tests.
run_wine() {
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1"
    wine_tests "$@"
}

# run_wine_dll PRESET: builds only the plug-in and the host tool, runs the tests that
# prove the shipped DLL (signal and reference come from the native build).
run_wine_dll() {
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1" --target vrn_gate vsthost
    VRN_NATIVE_BUILD=$PWD/build/linux-debug wine_tests "$@" -R '^plugin_(proof|exports|artwork|version)$'
}

fuzz_seconds=${VRN_FUZZ_SECONDS:-20}

suite format-check format_check
suite pow-tables python3 scripts/make_fast_math_tables.py --check
suite artwork python3 resources/make_artwork.py --check
suite script-tests bash tests/scripts/wine_env_test.sh
suite linux-debug run_native linux-debug
suite clang-tidy bash scripts/tidy.sh
suite linux-asan run_native linux-asan
suite linux-tsan run_tsan
# Both Windows builds share one Wine prefix, which the first of them creates.
SUITE_NOTE="64-bit Wine loader" suite mingw64-release run_wine mingw64-release
case "$mingw32_mode" in
    all) SUITE_NOTE=$mingw32_note suite mingw32-release run_wine mingw32-release ;;
    dll) SUITE_NOTE=$mingw32_note suite mingw32-release run_wine_dll mingw32-release ;;
    skip) skip mingw32-release "$mingw32_note" ;;
esac
# After the Windows suites: it packages their trees (and builds linux-release's plug-in).
SUITE_NOTE="archives from the trees above" suite release bash tests/scripts/release_test.sh
SUITE_NOTE="2 minutes of audio" suite soak bash scripts/soak.sh 2
SUITE_NOTE="$fuzz_seconds s per target" suite fuzz bash scripts/fuzz.sh "$fuzz_seconds"

echo
echo "== summary (32-bit programs: $VRN_I386, $VRN_I386_REASON)"
printf '%s\n' "${summary[@]}"
if [ "$plan_only" -eq 1 ]; then
    exit 0
fi
if [ "$failed" -ne 0 ]; then
    echo "== some test suites FAILED"
    exit 1
fi
echo "== all test suites passed"
