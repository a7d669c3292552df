#pragma once
// Sine-windowed MDCT on contiguous doubles: per-size lookups, fast path and direct definitions.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vrn
{

/// Smallest MDCT length n (input samples of the forward transform).
constexpr int kMdctMinSize = 32;
/// Largest MDCT length n.
constexpr int kMdctMaxSize = 4096;

/// Everything one MDCT length needs; created once per length and kept for the process.
struct TMdctLookup
{
    int n = 0;                  ///< transform length, samples (power of two 32 … 4096)
    int log2n = 0;              ///< log2 of n
    std::vector<double> window; ///< n/2 values, w[i] = sin(π·(i + 0.5)/n); mirrored for the rest
    /// Fast path: (cos, sin) of π·(8p + 1)/(4n), p = 0 … n/4 − 1; empty → direct definitions.
    std::vector<double> trig;
    const std::uint16_t* order = nullptr; ///< fast path: FFT position of bin k, n/4 entries
    double scale = 0.0;                   ///< 4/n, the inverse transform's factor

    /// True when the rotation tables exist (n above 32 and allocation succeeded).
    bool HasFastPath() const { return !trig.empty(); }
};

/// Builds the lookup for `n` (power of two 32 … 4096). The fast-path tables are made only for n
/// above 32 when `fastPath` is set and they can be allocated. Throws std::bad_alloc when the
/// window cannot be allocated.
TMdctLookup BuildMdctLookup(int n, bool fastPath);

/// Cached lookup for `n` (power of two 32 … 4096), built on first use; thread-safe. Null when it
/// cannot be allocated (tried again on the next call).
const TMdctLookup* MdctLookup(int n);

/// Doubles of work storage MdctForward and MdctInverse need for the lookup's length.
std::size_t MdctWorkSize(const TMdctLookup& lookup);

/// Forward: the n cells times the window → n/2 coefficients in cells[0 … n/2); the upper half is
/// left as it was. `work` holds MdctWorkSize(lookup) doubles.
void MdctForward(const TMdctLookup& lookup, double* cells, double* work);

/// Inverse: the n/2 coefficients in cells[0 … n/2) → n samples (4/n scale, times the window) in
/// cells[0 … n). `work` holds MdctWorkSize(lookup) doubles.
void MdctInverse(const TMdctLookup& lookup, double* cells, double* work);

} // namespace vrn
