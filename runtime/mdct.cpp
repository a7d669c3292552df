// Sine-windowed MDCT: fold to a DCT-IV, computed with an n/4-point complex FFT between two
// rotations; direct definitions for n = 32 and whenever the fast tables are missing.
#include "runtime/mdct.h"

#include "runtime/fft.h"
#include "runtime/transform_tables.h"

#include <atomic>
#include <cmath>
#include <mutex>
#include <new>

namespace vrn
{

namespace
{

constexpr double kPi = 3.141592653589793238462643383279502884;
constexpr int kLookupSlots = 8; // n = 32, 64, …, 4096

// Zero-initialised static storage; a slot is published once with release order and never freed.
std::atomic<const TMdctLookup*> lookups[kLookupSlots];
std::mutex lookupMutex;

int Log2(int powerOfTwo)
{
    int bits = 0;
    while ((1 << bits) < powerOfTwo)
        ++bits;
    return bits;
}

// The n-sample window: the stored half, mirrored for the second half.
double Window(const TMdctLookup& lookup, std::size_t j)
{
    const std::size_t n = static_cast<std::size_t>(lookup.n);
    return lookup.window[j < n / 2 ? j : n - 1 - j];
}

// cos((π/(2n))·(2j + 1 + n/2)·(2k + 1)) with the angle reduced exactly in integers first.
double Kernel(std::size_t n, std::size_t j, std::size_t k)
{
    const std::size_t r = ((2 * j + 1 + n / 2) * (2 * k + 1)) % (4 * n);
    return std::cos(kPi * static_cast<double>(r) / static_cast<double>(2 * n));
}

// Fast path. With h = n/4 and M = n/2, the forward MDCT is the DCT-IV of M folded samples
//   u[m] = −x[3h − 1 − m] − x[3h + m] (m < h),   u[m] = x[m − h] − x[3h − 1 − m] (m ≥ h),
// and the inverse is 4/n times the transposed fold of the DCT-IV of the coefficients. The DCT-IV
// goes through an h-point complex FFT: z[p] = (u[2p] + i·u[M − 1 − 2p])·ω_p, Z = FFT(z),
// Y[q] = ω_q·Z[q], out[2q] = Re Y[q], out[M − 1 − 2q] = −Im Y[q], ω_p = e^(−iπ(8p + 1)/(4n)).
// Window index: w[j] for j < M, w[n − 1 − j] above. The loops are split at h/2 so that each
// index lands on one side of the window without a test per sample.

void PreRotate(const double* trig, double* work, std::size_t p, double a, double b)
{
    const double c = trig[2 * p];
    const double s = trig[2 * p + 1];
    work[2 * p] = a * c + b * s;
    work[2 * p + 1] = b * c - a * s;
}

// Re Y[q] and −Im Y[q] after the FFT.
void PostRotate(const TMdctLookup& lookup, const double* work, std::size_t q, double& re,
                double& negatedIm)
{
    const std::size_t position = lookup.order[q]; // the FFT leaves bin q here (transform order)
    const double zr = work[2 * position];
    const double zi = work[2 * position + 1];
    const double c = lookup.trig[2 * q];
    const double s = lookup.trig[2 * q + 1];
    re = zr * c + zi * s;
    negatedIm = zr * s - zi * c;
}

void FastForward(const TMdctLookup& lookup, double* x, double* work)
{
    const std::size_t h = static_cast<std::size_t>(lookup.n) / 4;
    const double* w = lookup.window.data();
    const double* trig = lookup.trig.data();
    for (std::size_t p = 0; p < h / 2; ++p)
    {
        // u[2p] with 2p < h; u[2h − 1 − 2p] ≥ h.
        const double a = -x[3 * h - 1 - 2 * p] * w[h + 2 * p] - x[3 * h + 2 * p] * w[h - 1 - 2 * p];
        const double b = x[h - 1 - 2 * p] * w[h - 1 - 2 * p] - x[h + 2 * p] * w[h + 2 * p];
        PreRotate(trig, work, p, a, b);
    }
    for (std::size_t p = h / 2; p < h; ++p)
    {
        // u[2p] with 2p ≥ h; u[2h − 1 − 2p] < h.
        const double a = x[2 * p - h] * w[2 * p - h] - x[3 * h - 1 - 2 * p] * w[3 * h - 1 - 2 * p];
        const double b = -x[h + 2 * p] * w[3 * h - 1 - 2 * p] - x[5 * h - 1 - 2 * p] * w[2 * p - h];
        PreRotate(trig, work, p, a, b);
    }
    FftForward(work, static_cast<int>(h));
    // Every sample was read above, so the coefficients may overwrite the first half.
    for (std::size_t q = 0; q < h; ++q)
        PostRotate(lookup, work, q, x[2 * q], x[2 * h - 1 - 2 * q]);
}

void FastInverse(const TMdctLookup& lookup, double* y, double* work)
{
    const std::size_t h = static_cast<std::size_t>(lookup.n) / 4;
    const double* w = lookup.window.data();
    const double* trig = lookup.trig.data();
    for (std::size_t p = 0; p < h; ++p)
        PreRotate(trig, work, p, y[2 * p], y[2 * h - 1 - 2 * p]);
    FftForward(work, static_cast<int>(h));
    // Every coefficient was read above. u[m] goes to 3h − 1 − m negated, and to m − h (m ≥ h)
    // or to m + 3h negated (m < h); here v0 = u[2q], v1 = u[2h − 1 − 2q], scaled.
    for (std::size_t q = 0; q < h; ++q)
    {
        double v0 = 0.0;
        double v1 = 0.0;
        PostRotate(lookup, work, q, v0, v1);
        v0 *= lookup.scale;
        v1 *= lookup.scale;
        if (q < h / 2)
        {
            y[3 * h - 1 - 2 * q] = -v0 * w[h + 2 * q];
            y[3 * h + 2 * q] = -v0 * w[h - 1 - 2 * q];
            y[h + 2 * q] = -v1 * w[h + 2 * q];
            y[h - 1 - 2 * q] = v1 * w[h - 1 - 2 * q];
        }
        else
        {
            y[3 * h - 1 - 2 * q] = -v0 * w[3 * h - 1 - 2 * q];
            y[2 * q - h] = v0 * w[2 * q - h];
            y[h + 2 * q] = -v1 * w[3 * h - 1 - 2 * q];
            y[5 * h - 1 - 2 * q] = -v1 * w[2 * q - h];
        }
    }
}

} // namespace

TMdctLookup BuildMdctLookup(int n, bool fastPath)
{
    TMdctLookup lookup;
    lookup.n = n;
    lookup.log2n = Log2(n);
    lookup.scale = 4.0 / static_cast<double>(n);
    lookup.window.resize(static_cast<std::size_t>(n / 2));
    for (std::size_t i = 0; i < lookup.window.size(); ++i)
        lookup.window[i] = std::sin(kPi * (static_cast<double>(i) + 0.5) / static_cast<double>(n));
    if (!fastPath || n <= kMdctMinSize)
        return lookup;
    try
    {
        const std::size_t quarter = static_cast<std::size_t>(n / 4);
        lookup.trig.resize(2 * quarter);
        for (std::size_t p = 0; p < quarter; ++p)
        {
            const double angle =
                kPi * (8.0 * static_cast<double>(p) + 1.0) / (4.0 * static_cast<double>(n));
            lookup.trig[2 * p] = std::cos(angle);
            lookup.trig[2 * p + 1] = std::sin(angle);
        }
        lookup.order = TransformTables().Permutation(n / 4);
    }
    catch (const std::bad_alloc&)
    {
        // Without the rotation tables the direct definitions still give the same result.
        lookup.trig.clear();
        lookup.order = nullptr;
    }
    return lookup;
}

const TMdctLookup* MdctLookup(int n)
{
    std::atomic<const TMdctLookup*>& slot = lookups[Log2(n) - Log2(kMdctMinSize)];
    if (const TMdctLookup* ready = slot.load(std::memory_order_acquire))
        return ready;
    try
    {
        // Only the first use of a length takes the lock; building twice is avoided, and a failed
        // build leaves the slot empty so that the next call tries again.
        std::lock_guard<std::mutex> lock(lookupMutex);
        if (const TMdctLookup* ready = slot.load(std::memory_order_relaxed))
            return ready;
        const TMdctLookup* made = new TMdctLookup(BuildMdctLookup(n, true));
        slot.store(made, std::memory_order_release);
        return made;
    }
    catch (...)
    {
        return nullptr;
    }
}

std::size_t MdctWorkSize(const TMdctLookup& lookup)
{
    const std::size_t n = static_cast<std::size_t>(lookup.n);
    return lookup.HasFastPath() ? n / 2 : n;
}

void MdctForward(const TMdctLookup& lookup, double* cells, double* work)
{
    const std::size_t n = static_cast<std::size_t>(lookup.n);
    if (lookup.HasFastPath())
    {
        FastForward(lookup, cells, work);
        return;
    }
    for (std::size_t j = 0; j < n; ++j)
        work[j] = cells[j] * Window(lookup, j);
    for (std::size_t k = 0; k < n / 2; ++k)
    {
        double sum = 0.0;
        for (std::size_t j = 0; j < n; ++j)
            sum += work[j] * Kernel(n, j, k);
        cells[k] = sum;
    }
}

void MdctInverse(const TMdctLookup& lookup, double* cells, double* work)
{
    const std::size_t n = static_cast<std::size_t>(lookup.n);
    if (lookup.HasFastPath())
    {
        FastInverse(lookup, cells, work);
        return;
    }
    for (std::size_t k = 0; k < n / 2; ++k)
        work[k] = cells[k];
    for (std::size_t j = 0; j < n; ++j)
    {
        double sum = 0.0;
        for (std::size_t k = 0; k < n / 2; ++k)
            sum += work[k] * Kernel(n, j, k);
        cells[j] = sum * lookup.scale * Window(lookup, j);
    }
}

} // namespace vrn
