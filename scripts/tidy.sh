#!/usr/bin/env bash
# clang-tidy (the allowlist in .clang-tidy) over the portable and Linux sources, with the
# compile commands of the linux-debug build; any finding fails.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/linux-debug/compile_commands.json ] || cmake --preset linux-debug >/dev/null
git ls-files -z -- 'runtime/*.cpp' 'effect/*.cpp' 'host/*.cpp' 'host/posix/*.cpp' \
    'platform/posix/*.cpp' 'tools/*.cpp' 'tools/posix/*.cpp' ':!:*/win32/*' |
    xargs -0 -n 4 -P "$(nproc)" clang-tidy -p build/linux-debug --quiet
