#!/usr/bin/env bash
# The test plan follows what set-up finds out about 32-bit programs: with each forced answer the
# 32-bit suite runs fully, runs only the shipped DLL's checks, or is skipped with the reason;
# the 64-bit suite always runs; a bad forced answer is refused.
set -euo pipefail
cd "$(dirname "$0")/../.."

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# expect_row PLAN SUITE PATTERN: the suite's summary row matches the extended regex.
expect_row() {
    local row
    row=$(printf '%s\n' "$1" | grep -E "^$2 " || true)
    [ -n "$row" ] || fail "no row for $2 in:\n$1"
    printf '%s\n' "$row" | grep -Eq "$3" || fail "row '$row' does not match '$3'"
}

plan=$(VRN_I386_SUPPORT=native bash scripts/test.sh --plan)
expect_row "$plan" mingw32-release ' run +all tests under Wine'
expect_row "$plan" mingw64-release ' run '
printf '%s\n' "$plan" | grep -q '32-bit programs: native, forced' || fail "summary names the mode: $plan"

plan=$(VRN_I386_SUPPORT=emulated bash scripts/test.sh --plan)
expect_row "$plan" mingw32-release ' run +emulated: only the shipped DLL .plugin_proof'
expect_row "$plan" mingw64-release ' run '

plan=$(VRN_I386_SUPPORT=none bash scripts/test.sh --plan)
expect_row "$plan" mingw32-release ' skipped +skipped: forced by VRN_I386_SUPPORT=none'
expect_row "$plan" mingw64-release ' run '
expect_row "$plan" linux-debug ' run'

# The loaders each mode hands out: none has no 32-bit command, the 64-bit one always exists.
for mode in native emulated none; do
    # shellcheck disable=SC1091
    (
        VRN_I386_SUPPORT=$mode
        source scripts/wine_env.sh
        vrn_detect_i386
        [ "$VRN_I386" = "$mode" ] || fail "mode $mode answered $VRN_I386"
        [ -x "$VRN_WINE64" ] || fail "64-bit command '$VRN_WINE64' is not executable"
        if [ "$mode" = none ]; then
            [ -z "$VRN_WINE32" ] || fail "no 32-bit support but a 32-bit command"
        else
            [ -n "$VRN_WINE32" ] || fail "$mode without a 32-bit command"
        fi
        if [ "$mode" = emulated ]; then
            [ "${QEMU_RESERVED_VA:-}" = 0xffff0000 ] || fail "emulation without QEMU_RESERVED_VA"
        fi
    )
done

if VRN_I386_SUPPORT=maybe bash scripts/test.sh --plan >/dev/null 2>&1; then
    fail "an unknown forced answer was accepted"
fi
echo "wine_env_test: passed"
