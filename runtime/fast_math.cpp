// The rare paths of GatePow and GatePow2: levels outside [2^-1022, 1), large ratios, results that
// overflow or lie below 2^-960.
#include "runtime/fast_math.h"

#include <limits>

namespace vrn::detail
{

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
        // Subnormal level: scaled by 2^54 it is normal.
        if (level > 0.0 && level < 0x1p-1022)
            return PowFromBits(Bits(level * 0x1p54), -54, ratio);
    }
    return std::pow(level, ratio);
}

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

namespace
{
/// True when GatePow takes its table path for `level` (and a ratio it accepts).
bool OnDirectPath(double level)
{
    const std::uint64_t bits = Bits(level);
    return bits - kSmallestNormalBits < kOneBits - kSmallestNormalBits;
}
} // namespace

GatePowPairResult PowPairOutsideRange(double levelA, double levelB, double ratio)
{
    // The common cases are bands at or above their thresholds: level 1, whose power is 1 for
    // every ratio. A lane still on the direct path takes the two-lane path paired with itself.
    const bool directA = OnDirectPath(levelA) && std::fabs(ratio) <= kMaxFastRatio;
    const bool directB = OnDirectPath(levelB) && std::fabs(ratio) <= kMaxFastRatio;
    const double a = levelA == 1.0 ? 1.0
                     : directA     ? GatePow2(levelA, levelA, ratio).a
                                   : GatePow(levelA, ratio);
    const double b = levelB == 1.0 ? 1.0
                     : directB     ? GatePow2(levelB, levelB, ratio).a
                                   : GatePow(levelB, ratio);
    return {a, b};
}

} // namespace vrn::detail
