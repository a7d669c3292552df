#!/usr/bin/env bash
# The release archives from the trees this test run built: each archive holds exactly its files
# (names, modes, owner, the commit's time), the binaries inside are the built ones byte for byte
# and carry no build path, the DLLs' version resource names the project's version, the unpacked
# plug-ins load in the host tool, the checksums verify, and two runs (another time zone, binaries
# touched in between) give the same bytes. Also: the install rules, and trees the release must
# refuse. A platform whose tree was not built is skipped and named.
#
# Cost: builds linux-release's plug-in and host tool (about 1.5 minutes on 2 cores, once; no
# other suite builds that preset, and packaging the debug tree would not test what ships), then
# a few seconds plus one start of each Windows host tool.
set -euo pipefail
cd "$(dirname "$0")/../.."
# shellcheck source=scripts/wine_env.sh
source scripts/wine_env.sh
vrn_detect_i386

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

repo=$PWD
version=$(python3 scripts/release_archives.py version)
epoch=$(git log -1 --format=%ct)
work=$repo/build/release-test
rm -rf "$work"
mkdir -p "$work"

echo "== linux-release: the plug-ins and the host tool"
nice -n 10 cmake --preset linux-release >/dev/null
nice -n 10 cmake --build --preset linux-release --target vrn_gate vrn_gate_lv2 vsthost

# Each platform's preset, plug-in file and archive.
declare -A preset_of=([windows-x86]=mingw32-release [windows-x64]=mingw64-release
    [linux-x86_64]=linux-release)
declare -A binary_of=([windows-x86]=VarneGate.dll [windows-x64]=VarneGate.dll
    [linux-x86_64]=VarneGate.so)
declare -A archive_of=([windows-x86]=VarneGate-$version-windows-x86.zip
    [windows-x64]=VarneGate-$version-windows-x64.zip
    [linux-x86_64]=VarneGate-$version-linux-x86_64.tar.gz)
platforms=()
skipped=()
for platform in windows-x86 windows-x64 linux-x86_64; do
    preset=${preset_of[$platform]} binary=${binary_of[$platform]}
    if [ -f "build/$preset/plugin/$binary" ]; then
        platforms+=("$platform")
    else
        reason="build/$preset/plugin/$binary was not built"
        [ "$preset" = mingw32-release ] && reason+=" (32-bit programs: $VRN_I386, $VRN_I386_REASON)"
        skipped+=("$platform: $reason")
    fi
done

# listing ARCHIVE: one line per entry, in archive order: "name mode uid/gid time".
listing() {
    python3 - "$1" <<'EOF'
import sys, tarfile, zipfile, calendar
path = sys.argv[1]
if path.endswith('.zip'):
    with zipfile.ZipFile(path) as archive:
        for info in archive.infolist():
            mode = info.external_attr >> 16
            when = calendar.timegm(info.date_time + (0, 0, 0))
            print(f'{info.filename} {mode & 0o7777:o} 0/0 {when}')
else:
    with open(path, 'rb') as raw:
        header = raw.read(10)
    # gzip -n: no stored name (flag 8) and no time.
    if header[3] & 8 or header[4:8] != b'\0\0\0\0':
        print(f'gzip header with a name or time: {header.hex()}')
    with tarfile.open(path) as archive:
        for info in archive.getmembers():
            name = info.name + ('/' if info.isdir() else '')
            print(f'{name} {info.mode:o} {info.uid}/{info.gid}{info.uname}{info.gname} {info.mtime}')
EOF
}

# expected_listing PLATFORM: the entries its archive must hold, in order.
expected_listing() {
    local top="VarneGate-$version-$1" manual=MANUAL.txt binary=${binary_of[$1]} stamp=$epoch
    if [ "$1" = linux-x86_64 ]; then
        manual=MANUAL.md
    else
        # Zip times have two-second steps.
        stamp=$((epoch - epoch % 2))
    fi
    printf '%s 755 0/0 %s\n' "$top/" "$stamp"
    printf '%s 644 0/0 %s\n' "$top/$manual" "$stamp"
    if [ "$1" = linux-x86_64 ]; then
        printf '%s 755 0/0 %s\n' "$top/VarneGate.lv2/" "$stamp"
        printf '%s 755 0/0 %s\n' "$top/VarneGate.lv2/VarneGate.so" "$stamp"
        printf '%s 644 0/0 %s\n' "$top/VarneGate.lv2/VarneGate.ttl" "$stamp"
        printf '%s 644 0/0 %s\n' "$top/VarneGate.lv2/manifest.ttl" "$stamp"
    fi
    printf '%s 755 0/0 %s\n' "$top/$binary" "$stamp"
}

if [ "${#platforms[@]}" -eq 0 ]; then
    fail "no tree to package"
fi

echo "== two runs of the release on the built trees: ${platforms[*]}"
bash scripts/release.sh --built --dist "$work/first" "${platforms[@]}"
# Times of the inputs and the local time zone must not reach the archives.
for platform in "${platforms[@]}"; do
    touch "build/${preset_of[$platform]}/plugin/${binary_of[$platform]}"
done
TZ=Pacific/Kiritimati bash scripts/release.sh --built --dist "$work/second" "${platforms[@]}" >/dev/null
for file in "$work/first"/VarneGate-* "$work/first/SHA256SUMS"; do
    cmp "$file" "$work/second/$(basename "$file")" || fail "$(basename "$file") differs between two runs"
done
[ "$(ls "$work/first")" = "$(ls "$work/second")" ] || fail "the two runs wrote different files"

(cd "$work/first" && sha256sum --check --strict SHA256SUMS) || fail "SHA256SUMS does not verify"
expected_sums=$(for p in "${platforms[@]}"; do echo "${archive_of[$p]}"; done | sort)
[ "$(awk '{print $2}' "$work/first/SHA256SUMS")" = "$expected_sums" ] ||
    fail "SHA256SUMS names $(awk '{print $2}' "$work/first/SHA256SUMS" | tr '\n' ' ')"

# load_check PLATFORM PLUGIN: the unpacked plug-in in the host tool of its build.
load_check() {
    local platform=$1 plugin=$2 out
    case "$platform" in
        linux-x86_64) out=$(build/linux-release/tools/vsthost "$plugin" info) ;;
        windows-x64)
            out=$(WINEPREFIX=$repo/build/wineprefix WINEDEBUG=-all "$VRN_WINE64" \
                build/mingw64-release/tools/vsthost.exe "$plugin" info </dev/null)
            ;;
        windows-x86)
            out=$(WINEPREFIX=$repo/build/wineprefix WINEDEBUG=-all "$VRN_WINE32" \
                build/mingw32-release/tools/vsthost.exe "$plugin" info </dev/null)
            ;;
    esac
    out=$(printf '%s\n' "$out" | tr -d '\r')
    # What the plug-in reports to hosts does not follow the release's version.
    for line in "effectName: VARNE Gate" "vendor: Quorrin Sound" "vendorVersion: 1000" \
        "version: 1" "uniqueID: VRN2 (0x56524e32)"; do
        printf '%s\n' "$out" | grep -qxF "$line" || fail "$platform: no '$line' in:\n$out"
    done
}

wine_started=0
notes=()
for platform in "${platforms[@]}"; do
    echo "== $platform"
    preset=${preset_of[$platform]} binary=${binary_of[$platform]} archive=${archive_of[$platform]}
    [ -f "$work/first/$archive" ] || fail "no $archive"
    actual=$(listing "$work/first/$archive")
    expected=$(expected_listing "$platform")
    [ "$actual" = "$expected" ] || fail "$archive holds:\n$actual\nexpected:\n$expected"

    unpacked=$work/unpacked/$platform
    mkdir -p "$unpacked"
    case "$archive" in
        *.zip) unzip -q "$work/first/$archive" -d "$unpacked" ;;
        *.tar.gz) tar -xzf "$work/first/$archive" -C "$unpacked" ;;
    esac
    top=$unpacked/VarneGate-$version-$platform
    cmp "$top/$binary" "build/$preset/plugin/$binary" || fail "$platform: not the built $binary"
    cmp "$top"/MANUAL.* MANUAL.md || fail "$platform: not the manual"
    if grep -q -a -F "$repo" "$top/$binary"; then
        fail "$platform: $binary holds the build path $repo"
    fi

    case "$platform" in
        windows-*)
            python3 tests/integration/version_info.py "$top/$binary" --expect "$version" ||
                fail "$platform: version resource"
            # A link time in the COFF header would make every build differ.
            stamp=$(python3 -c 'import struct, sys
data = open(sys.argv[1], "rb").read()
print(struct.unpack_from("<I", data, struct.unpack_from("<I", data, 0x3C)[0] + 8)[0])' "$top/$binary")
            [ "$stamp" = 0 ] || fail "$platform: link time $stamp in the DLL's header"
            ;;
    esac
    if [ "$platform" = windows-x86 ] && [ "$VRN_I386" != native ] &&
        [ -z "${VRN_RELEASE_LOAD_EMULATED:-}" ]; then
        # Each emulated start costs most of a minute: the DLL is byte for byte the one the
        # mingw32-release suite loaded in this host tool (plugin_proof).
        notes+=("windows-x86: not loaded here (32-bit programs: $VRN_I386); it is the DLL the mingw32-release suite proved; VRN_RELEASE_LOAD_EMULATED=1 loads it")
        continue
    fi
    if [ "$platform" != linux-x86_64 ] && [ "$wine_started" -eq 0 ]; then
        bash scripts/wine_prefix.sh "$repo/build/wineprefix"
        wine_started=1
    fi
    load_check "$platform" "$top/$binary"
    echo "$platform: $binary loads in the host tool"
    if [ "$platform" = linux-x86_64 ]; then
        for file in VarneGate.so VarneGate.ttl manifest.ttl; do
            cmp "$top/VarneGate.lv2/$file" "build/linux-release/lv2-bundles/VarneGate.lv2/$file" ||
                fail "linux-x86_64: not the built VarneGate.lv2/$file"
        done
        # lilv takes the unpacked bundle as it is. Its whole answer is read first: a grep -q
        # that stops reading at the first match would break lv2info's later writes, and the
        # pipeline would fail now and then.
        info=$(LV2_PATH=$top lv2info "$(python3 -c 'import re,sys
print(re.search(r"<(urn:uuid:[^>]+)>", open(sys.argv[1]).read()).group(1))' "$top/VarneGate.lv2/manifest.ttl")" 2>/dev/null) || true
        [[ "$info" == *"Name:              VARNE Gate"* ]] ||
            fail "linux-x86_64: lv2info does not find the unpacked bundle"
        echo "$platform: VarneGate.lv2 loads in lilv"
    fi
done
if [ "$wine_started" -eq 1 ]; then
    WINEPREFIX=$repo/build/wineprefix wineserver -k 2>/dev/null || true
fi

echo "== install rules"
cmake --install build/linux-release --prefix "$work/install/usr" >/dev/null
cmp "$work/install/usr/lib/vst/VarneGate.so" build/linux-release/plugin/VarneGate.so ||
    fail "system install"
cmp "$work/install/usr/lib/lv2/VarneGate.lv2/manifest.ttl" \
    build/linux-release/lv2-bundles/VarneGate.lv2/manifest.ttl || fail "system install of the LV2 bundle"
cmake --install build/linux-release --component home --prefix "$work/install/home" >/dev/null
cmp "$work/install/home/.vst/VarneGate.so" build/linux-release/plugin/VarneGate.so ||
    fail "home install"
cmp "$work/install/home/.lv2/VarneGate.lv2/VarneGate.so" \
    build/linux-release/lv2-bundles/VarneGate.lv2/VarneGate.so || fail "home install of the LV2 bundle"
[ ! -e "$work/install/usr/.vst" ] && [ ! -e "$work/install/usr/.lv2" ] ||
    fail "a plain install also filled .vst or .lv2"
if [ -f build/mingw64-release/cmake_install.cmake ]; then
    cmake --install build/mingw64-release --prefix "$work/install/windows" >/dev/null
    cmp "$work/install/windows/VarneGate.dll" build/mingw64-release/plugin/VarneGate.dll ||
        fail "Windows staging install"
fi

echo "== trees the release refuses"
# refused WHAT TREE: packaging TREE as linux-x86_64 must fail and say WHAT.
refused() {
    local out
    if out=$(python3 scripts/release_archives.py pack --dist "$work/refused" --epoch "$epoch" \
        "linux-x86_64=$2" 2>&1); then
        fail "packaged $2"
    fi
    printf '%s\n' "$out" | grep -q "$1" || fail "refusal of $2 says: $out"
}
fake=$work/fake-tree
mkdir -p "$fake/plugin"
cp build/linux-release/plugin/VarneGate.so "$fake/plugin/"
printf 'CMAKE_BUILD_TYPE:STRING=Release\nCMAKE_PROJECT_VERSION:STATIC=0.0.1\n' >"$fake/CMakeCache.txt"
refused "configured for version 0.0.1" "$fake"
printf 'CMAKE_BUILD_TYPE:STRING=Debug\nCMAKE_PROJECT_VERSION:STATIC=%s\n' "$version" >"$fake/CMakeCache.txt"
refused "Debug build" "$fake"
printf 'CMAKE_BUILD_TYPE:STRING=Release\nCMAKE_PROJECT_VERSION:STATIC=%s\n' "$version" >"$fake/CMakeCache.txt"
rm "$fake/plugin/VarneGate.so"
refused "VarneGate.so is missing" "$fake"
refused "not a configured build tree" "$work/no-such-tree"
[ ! -e "$work/refused/SHA256SUMS" ] || fail "a refused release wrote SHA256SUMS"
if bash scripts/release.sh --built --dist "$work/refused" windows-arm >/dev/null 2>&1; then
    fail "an unknown platform was accepted"
fi

for note in "${skipped[@]}" "${notes[@]}"; do
    echo "release_test: skipped $note"
done
echo "release_test: passed (${platforms[*]})"
