#!/usr/bin/env bash
# release.sh [--built] [--dist DIR] [--allow-dirty] [PLATFORM...]: the release archives.
#
# Builds the release presets in fresh folders (build/release/<preset>, tests left out) from the
# committed sources and writes DIR/VarneGate-<version>-<platform>.zip or .tar.gz and
# DIR/SHA256SUMS (DIR is dist/ unless given). Platforms: windows-x86, windows-x64,
# linux-x86_64 (all three unless named). Every archive time is the commit's time
# (SOURCE_DATE_EPOCH, when set, wins), so one commit gives the same bytes.
#
#   --built        package the preset trees as they are (build/<preset>) instead of building
#   --allow-dirty  build although tracked files differ from the commit
set -euo pipefail
cd "$(dirname "$0")/.."

built=0
allow_dirty=0
dist=dist
platforms=()
while [ "$#" -gt 0 ]; do
    case "$1" in
        --built) built=1 ;;
        --allow-dirty) allow_dirty=1 ;;
        --dist)
            [ "$#" -ge 2 ] || { echo "release: --dist needs a folder" >&2; exit 1; }
            dist=$2
            shift
            ;;
        -h | --help)
            sed -n '2,12s/^# \{0,1\}//p' "$0"
            exit 0
            ;;
        -*)
            echo "release: unknown option $1" >&2
            exit 1
            ;;
        *) platforms+=("$1") ;;
    esac
    shift
done

archives=$(python3 scripts/release_archives.py presets "${platforms[@]}")
version=$(python3 scripts/release_archives.py version)
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || true)}
if [ -z "$epoch" ]; then
    echo "release: not a git checkout: set SOURCE_DATE_EPOCH to the sources' time" >&2
    exit 1
fi

if [ "$built" -eq 0 ] && [ "$allow_dirty" -eq 0 ] && git rev-parse --git-dir >/dev/null 2>&1 &&
    [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    echo "release: tracked files differ from the commit; commit them or pass --allow-dirty" >&2
    git status --short --untracked-files=no >&2
    exit 1
fi

trees=()
while read -r platform preset; do
    if [ "$built" -eq 1 ]; then
        tree=build/$preset
    else
        tree=build/release/$preset
        echo "== $platform: building the $preset preset in $tree"
        rm -rf "$tree"
        nice -n 10 cmake --preset "$preset" -B "$tree" -DVRN_BUILD_TESTS=OFF >/dev/null
        nice -n 10 cmake --build "$tree"
    fi
    trees+=("$platform=$tree")
done <<<"$archives"

# Only this release's files go: the folder may hold other things.
mkdir -p "$dist"
rm -f "$dist"/VarneGate-*.zip "$dist"/VarneGate-*.tar.gz "$dist"/SHA256SUMS
echo "== VARNE Gate $version, archive time $(date -u -d "@$epoch" '+%Y-%m-%d %H:%M:%S') UTC"
python3 scripts/release_archives.py pack --dist "$dist" --epoch "$epoch" "${trees[@]}"
