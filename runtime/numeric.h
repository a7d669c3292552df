#pragma once
// Numeric conventions shared by all effect sections: index rounding, tolerant comparison, loop
// guard.

#include <cmath>
#include <cstdint>

namespace vrn
{

/// A loop in effect code runs at most this many iterations.
constexpr int kLoopGuard = 1000000;

/// Tolerance of the effect code's equality and truth tests.
constexpr double kTolerance = 0.00001;

/// Double used as an index or count → integer: 0.0001 toward the sign, then truncation.
/// Out-of-range and NaN values saturate instead of invoking undefined behaviour.
inline std::int32_t RoundIndex(double value)
{
    const double nudged = value >= 0.0 ? value + 0.0001 : value - 0.0001;
    if (!(nudged > -2147483648.0)) // also catches NaN
        return nudged != nudged ? 0 : INT32_MIN;
    if (nudged >= 2147483647.0)
        return INT32_MAX;
    return static_cast<std::int32_t>(nudged);
}

/// Tolerant equality: the difference lies strictly inside ±0.00001.
inline bool NearlyEqual(double a, double b)
{
    const double d = a - b;
    return d > -kTolerance && d < kTolerance;
}

/// Tolerant truth test: a value counts as false when it is nearly zero.
inline bool IsTrue(double value)
{
    return !NearlyEqual(value, 0.0);
}

/// Replaces NaN and infinities by 0.0 (values stored by InitSection).
inline double FiniteOrZero(double value)
{
    return std::isfinite(value) ? value : 0.0;
}

} // namespace vrn
