// The rare paths of the gain curve's pow: levels outside [2^-1022, 1), large ratios, results that
// overflow or lie below 2^-960.
#include "effect/gate_pow.h"

#include <limits>

namespace vrn::gate::detail
{
namespace
{

double FromBits(std::uint64_t bits)
{
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

/// level^ratio for a level off the direct path, or |ratio| not ≤ 64.
double PowOutsideRange(double level, double ratio)
{
    // Silence first. level == 0 also holds for subnormal levels while denormals-are-zero is set:
    // they count as 0.
    if (level == 0.0 && ratio > 0.0 && !std::signbit(level))
        return 0.0;
    if (level == 1.0 || ratio == 0.0) // 1 even when the other argument is NaN
        return 1.0;
    if (std::fabs(ratio) <= kMaxFastRatio)
    {
        if (level == 0.0)
            return std::pow(std::signbit(level) ? -0.0 : 0.0, ratio);
        // Subnormal level: scaled by 2^54 it is normal, and the exponent is moved back.
        GatePowPairLog log{};
        if (level > 0.0 && level < 0x1p-1022 &&
            LogPair(_mm_set1_pd(level * 0x1p54), ratio, -54, log))
            return Lane0(GatePow2Exp(log));
    }
    return std::pow(level, ratio);
}

/// GatePow of one level: the direct path (paired with itself) when it takes the level.
double PowOne(double level, double ratio)
{
    if (level == 1.0)
        return 1.0;
    GatePowPairLog log{};
    if (GatePow2Log(_mm_set1_pd(level), ratio, log))
        return Lane0(GatePow2Exp(log));
    return PowOutsideRange(level, ratio);
}

} // namespace

double PowScaleOutside(std::uint64_t shifted, double q)
{
    // t·256/λ lies within 3/4 of n, so above n = 1024·256 the result is at least 2^1024.
    const auto n = static_cast<std::int64_t>(shifted - kRoundShiftBits);
    if (n > 1024 * kExpSteps)
        return std::numeric_limits<double>::infinity();
    // Below 2^-1080·2^(0.75/256) the result rounds to 0.
    if (n < -1080 * kExpSteps)
        return 0.0;
    // Built 2^1 lower at the top (it may still round to DBL_MAX) or 2^200 higher at the bottom
    // (no subnormal intermediate), then scaled back: exact unless the result overflows or is
    // subnormal, where this adds one rounding.
    const bool top = n > 0;
    const std::uint64_t move = top ? ~std::uint64_t{kExpSteps - 1} : std::uint64_t{200 * kExpSteps};
    const double scale = FromBits(kExpTable[shifted & 255].scaleBits + ((shifted + move) << 44));
    return (scale + scale * q) * (top ? 2.0 : 0x1p-200);
}

GatePowPairResult PowPairOutsideRange(double levelA, double levelB, double ratio)
{
    return {PowOne(levelA, ratio), PowOne(levelB, ratio)};
}

} // namespace vrn::gate::detail
