#pragma once
// Flushes denormal floats to zero for one scope (the processing calls) and restores the mode.

#if defined(__SSE__) || defined(__x86_64__) || defined(_M_X64)
#include <xmmintrin.h>
#define VRN_HAVE_MXCSR 1
#else
#define VRN_HAVE_MXCSR 0
#endif

namespace vrn
{

/// Sets flush-to-zero and denormals-are-zero while alive; the host's mode returns afterwards.
class DenormalGuard
{
public:
#if VRN_HAVE_MXCSR
    DenormalGuard() : saved(_mm_getcsr())
    {
        _mm_setcsr(saved | kFlushToZero | kDenormalsAreZero);
    }
    ~DenormalGuard()
    {
        _mm_setcsr(saved);
    }
#else
    DenormalGuard() = default;
#endif
    DenormalGuard(const DenormalGuard&) = delete;
    DenormalGuard& operator=(const DenormalGuard&) = delete;

private:
#if VRN_HAVE_MXCSR
    static constexpr unsigned kFlushToZero = 0x8000;
    static constexpr unsigned kDenormalsAreZero = 0x0040;
    unsigned saved;
#endif
};

} // namespace vrn
