#!/usr/bin/env bash
# clang-tidy (the allowlist in .clang-tidy) over the portable and Linux sources, with the
# compile commands of the linux-debug build; any finding fails. A source that linux-debug does
# not build (say, a benchmark whose library is missing) fails loudly instead of being linted
# with guessed flags.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/linux-debug/compile_commands.json ] || cmake --preset linux-debug >/dev/null

mapfile -d '' sources < <(git ls-files -z -- ':(glob)runtime/**/*.cpp' ':(glob)effect/**/*.cpp' \
    ':(glob)host/**/*.cpp' ':(glob)platform/**/*.cpp' ':(glob)graphics/**/*.cpp' \
    ':(glob)editor/**/*.cpp' ':(glob)lv2/**/*.cpp' ':(glob)tools/**/*.cpp' ':!:*/win32/*')
unbuilt=()
for source in "${sources[@]}"; do
    grep -q "\"file\": \"$PWD/$source\"" build/linux-debug/compile_commands.json ||
        unbuilt+=("$source")
done
if [ "${#unbuilt[@]}" -gt 0 ]; then
    echo "tidy: not built by linux-debug (missing library or target?): ${unbuilt[*]}" >&2
    exit 1
fi
printf '%s\0' "${sources[@]}" | xargs -0 -n 4 -P "$(nproc)" clang-tidy -p build/linux-debug --quiet
