// Normalisation, quantisation and display texts of host parameters.
#include "runtime/parameter_rules.h"

#include "runtime/text_copy.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace vrn
{

double ParameterRules::Normalise(const SliderInfo& info, double value)
{
    const long double range = static_cast<long double>(info.maximum) - info.minimum;
    if (range == 0.0L)
        return 0.0;
    const long double x = (static_cast<long double>(value) - info.minimum) / range;
    // A restored chunk may hold values outside the range, and they stay in force for the
    // sound; hosts take a parameter as 0..1 only, so the answer is clamped.
    if (!(x >= 0.0L))
        return 0.0;
    return x > 1.0L ? 1.0 : static_cast<double>(x);
}

double ParameterRules::Quantise(const SliderInfo& info, double x)
{
    if (std::isnan(x))
        return x;
    // Hosts must send 0..1; anything else is clamped rather than stored out of range.
    x = x < 0.0 ? 0.0 : (x > 1.0 ? 1.0 : x);
    return QuantiseValue(info, info.minimum + x * (info.maximum - info.minimum));
}

double ParameterRules::QuantiseValue(const SliderInfo& info, double value)
{
    if (std::isnan(value))
        return value;
    value = value < info.minimum ? info.minimum : (value > info.maximum ? info.maximum : value);
    if (!(info.step > 0.0))
        return value;
    // The grid is anchored at 0, not at the minimum.
    return info.step * std::floor((value + info.step / 2.0) / info.step);
}

namespace
{
/// Truncation toward zero that stays defined for NaN and huge values.
long long TruncateSafely(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 9.0e18)
        return std::numeric_limits<long long>::max();
    if (value <= -9.0e18)
        return std::numeric_limits<long long>::min();
    return static_cast<long long>(value);
}
} // namespace

void ParameterRules::Display(const SliderInfo& info, double value, char* text, std::size_t capacity)
{
    const auto n = static_cast<long long>(info.options.size());
    long long k = TruncateSafely((value - info.minimum) * static_cast<double>(n - 1) /
                                 (info.maximum - info.minimum));
    if (k < 0)
        k = 0;
    bool useOption = true;
    if (k > n - 1)
    {
        if (n - 1 < 0)
            useOption = false;
        else
            k = n - 1;
    }
    if (useOption && k < n)
    {
        CopyText(text, capacity, info.options[static_cast<std::size_t>(k)]);
        return;
    }
    std::snprintf(text, capacity, "%.2f", value);
}

} // namespace vrn
