# Sourced by the scripts that run Windows programs: finds out how this machine runs 32-bit x86
# programs and which Wine loader each Windows build needs.
#
# Sets:
#   VRN_I386         native | emulated | none
#   VRN_I386_REASON  one line saying what was found
#   VRN_WINE32       command for 32-bit Windows programs (empty when there is none)
#   VRN_WINE64       command for 64-bit Windows programs
# and, when 32-bit programs run under qemu-i386, exports QEMU_RESERVED_VA so that every emulated
# process reserves the whole 32-bit address space up front (Wine's start fails now and then
# without it, depending on where the host's layout puts things).
#
# VRN_I386_SUPPORT=native|emulated|none forces the answer (tests of the plans built on it).

vrn_scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
vrn_wine32_loader=/usr/lib/wine/wine
vrn_binfmt=/proc/sys/fs/binfmt_misc
vrn_qemu_entry=$vrn_binfmt/qemu-i386

# True when the kernel hands 32-bit x86 programs to a registered, enabled qemu-i386.
vrn_qemu_registered() {
    [ -f "$vrn_qemu_entry" ] && head -n 1 "$vrn_qemu_entry" | grep -qx enabled
}

# True when Wine's 32-bit loader starts (natively or through the emulation).
vrn_wine32_starts() {
    [ -x "$vrn_wine32_loader" ] && timeout 120 "$vrn_wine32_loader" --version >/dev/null 2>&1
}

vrn_detect_i386() {
    if vrn_qemu_registered; then
        export QEMU_RESERVED_VA=0xffff0000
    fi
    case "${VRN_I386_SUPPORT:-}" in
        native | emulated | none)
            VRN_I386=$VRN_I386_SUPPORT
            VRN_I386_REASON="forced by VRN_I386_SUPPORT=$VRN_I386_SUPPORT"
            ;;
        "")
            if vrn_wine32_starts; then
                if vrn_qemu_registered; then
                    VRN_I386=emulated
                    VRN_I386_REASON="32-bit programs run under qemu-i386 (binfmt_misc)"
                else
                    VRN_I386=native
                    VRN_I386_REASON="the kernel runs 32-bit programs"
                fi
            elif [ ! -x "$vrn_wine32_loader" ]; then
                VRN_I386=none
                VRN_I386_REASON="Wine's 32-bit loader is not installed"
            else
                VRN_I386=none
                VRN_I386_REASON="Wine's 32-bit loader does not start (no 32-bit support in this kernel)"
            fi
            ;;
        *)
            echo "VRN_I386_SUPPORT must be native, emulated or none" >&2
            return 1
            ;;
    esac
    if [ "$VRN_I386" = none ]; then
        VRN_WINE32=
    else
        VRN_WINE32=wine
    fi
    VRN_WINE64=$vrn_scripts/wine64
    # An emulation registered by set-up after this shell started still needs the reservation.
    if [ "$VRN_I386" = emulated ]; then
        export QEMU_RESERVED_VA=0xffff0000
    fi
}

# The DLL build a script that shows the plug-in at work uses: the 32-bit one wherever 32-bit
# programs run (natively or emulated), else the 64-bit one (same sources, same results).
# Sets VRN_DLL_PRESET and VRN_DLL_WINE.
vrn_choose_dll_build() {
    vrn_detect_i386 || return 1
    if [ "$VRN_I386" = none ]; then
        VRN_DLL_PRESET=mingw64-release VRN_DLL_WINE=$VRN_WINE64
    else
        VRN_DLL_PRESET=mingw32-release VRN_DLL_WINE=$VRN_WINE32
    fi
}
