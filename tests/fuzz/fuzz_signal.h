#pragma once
// The test signal the fuzz targets feed and the check of what comes out.

#include <cmath>
#include <cstddef>
#include <vector>

namespace vrn::fuzz
{

/// Per-sample loops of the harness are left out of the coverage instrumentation: they find no
/// new paths in the plug-in and only slow the run down.
#define VRN_FUZZ_NOT_COVERED __attribute__((no_sanitize("coverage")))

/// Sample `j` of a tone at about -6 dBFS (from a table: no sine per sample).
VRN_FUZZ_NOT_COVERED inline float Tone(std::size_t j)
{
    static const std::vector<float> table = []
    {
        std::vector<float> t(628);
        for (std::size_t i = 0; i < t.size(); ++i)
            t[i] = 0.5f * std::sin(0.01f * static_cast<float>(i));
        return t;
    }();
    return table[j % table.size()];
}

/// True when the first `n` samples of both channels are finite.
template <class Sample>
VRN_FUZZ_NOT_COVERED bool AllFinite(const Sample* left, const Sample* right, std::size_t n)
{
    for (std::size_t j = 0; j < n; ++j)
        if (!std::isfinite(static_cast<double>(left[j])) ||
            !std::isfinite(static_cast<double>(right[j])))
            return false;
    return true;
}

} // namespace vrn::fuzz
