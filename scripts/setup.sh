#!/usr/bin/env bash
# Installs everything building, testing, benchmarking and the demo need on Debian, then makes
# sure 32-bit Windows programs can run (natively, or emulated with qemu-i386 where the kernel
# cannot run 32-bit programs). Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

packages=(
    cmake ninja-build g++ make git googletest libgtest-dev clang clang-format clang-tidy
    libclang-rt-14-dev libfftw3-dev
    python3 valgrind mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
    wine wine32:i386 wine64 xvfb xauth fonts-liberation
    libx11-dev x11proto-dev libxtst-dev libcairo2-dev lv2-dev lilv-utils zip unzip
)

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

install_packages() {
    local missing=()
    for package in "$@"; do
        installed "$package" || missing+=("$package")
    done
    [ "${#missing[@]}" -gt 0 ] || return 0
    echo "setup: installing ${missing[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        "${sudo_cmd[@]}" dpkg --add-architecture i386
    fi
    # A mirror in the middle of a sync answers with index files of the wrong size for a while:
    # try again, then go on with whatever indexes arrived (the install says if any are missing).
    local attempt
    for attempt in 1 2 3; do
        "${sudo_cmd[@]}" apt-get update -qq && break
        [ "$attempt" -lt 3 ] || break
        echo "setup: apt-get update failed (attempt $attempt of 3); trying again in $((attempt * 20)) s"
        sleep $((attempt * 20))
    done
    local apt_install=("${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq
        --no-install-recommends)
    "${apt_install[@]}" "${missing[@]}" >/dev/null && return 0
    # When one architecture's security index is missing, amd64 and i386 candidates differ in
    # version and the i386 libraries cannot be installed beside the amd64 ones. Preferring the
    # release's main suite gives both architectures the same versions.
    local release
    release="$(. /etc/os-release && echo "${VERSION_CODENAME:-}")"
    if [ -n "$release" ]; then
        echo "setup: preferring the $release suite, so both architectures get the same versions"
        "${apt_install[@]}" -t "$release" "${missing[@]}" >/dev/null && return 0
    fi
    echo "setup: could not install ${missing[*]}" >&2
    return 1
}

install_packages "${packages[@]}"

# 32-bit x86 programs (Wine's 32-bit loader, so the 32-bit plug-in DLL): where the kernel does
# not run them, register Debian's qemu-i386 for i386 ELF files with binfmt_misc (root only).
# shellcheck source=scripts/wine_env.sh
source scripts/wine_env.sh
register_qemu_i386() {
    [ "$(id -u)" -eq 0 ] || return 1
    if [ ! -f "$vrn_binfmt/register" ]; then
        mount -t binfmt_misc binfmt_misc "$vrn_binfmt" 2>/dev/null || return 1
    fi
    install_packages qemu-user
    if [ ! -e "$vrn_qemu_entry" ]; then
        # The usual i386 ELF magic and mask (executables and shared objects, machine 3).
        printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:' \
            >"$vrn_binfmt/register" || return 1
    fi
    echo 1 >"$vrn_qemu_entry"
}

vrn_detect_i386
if [ "$VRN_I386" = none ] && [ -z "${VRN_I386_SUPPORT:-}" ] && register_qemu_i386; then
    vrn_detect_i386
fi
case "$VRN_I386" in
    native) echo "setup: 32-bit Windows programs run natively ($VRN_I386_REASON)" ;;
    emulated) echo "setup: 32-bit Windows programs run emulated ($VRN_I386_REASON)" ;;
    none) echo "setup: 32-bit Windows programs cannot run here ($VRN_I386_REASON); the 32-bit suite is skipped and the demo uses the 64-bit DLL" ;;
esac
