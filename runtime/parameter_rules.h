#pragma once
// Host parameters of a section-driver effect: normalisation, quantisation, display texts and
// the one way a host value reaches a slider, shared by every plug-in format.

#include "runtime/description.h"
#include "runtime/numeric.h"

#include <cmath>
#include <cstddef>

namespace vrn
{

/// Host parameter handling shared by all section-driver effects (no effect-specific code).
struct ParameterRules
{
    /// Normalised value of `value` within `info`'s range, clamped to 0..1 (0 for an empty
    /// range).
    static double Normalise(const SliderInfo& info, double value);
    /// The slider value for normalised `x`, quantised to the step grid anchored at 0.
    /// A NaN `x` answers NaN (the caller ignores it); others are clamped to 0..1 first.
    static double Quantise(const SliderInfo& info, double x);
    /// The slider value for `value` in the slider's own units, clamped to its range and
    /// quantised as Quantise does. A NaN `value` answers NaN; infinities clamp.
    static double QuantiseValue(const SliderInfo& info, double value);
    /// The host display: the option label the value selects, else the value as "%.2f".
    static void Display(const SliderInfo& info, double value, char* text, std::size_t capacity);

    /// Hands quantised value `q` to slider `info` of `effect`: stores it in the slider's cell
    /// and runs SliderSection, unless `q` is NaN or (within the tolerance) the value the cell
    /// already holds. Answers whether it stored. No allocation, lock or wait, so a host may
    /// call it on its audio thread. `Effect` is the most derived class (a direct call).
    template <class Effect>
    static bool Store(Effect& effect, const SliderInfo& info, double q)
    {
        SharedDouble& cell = effect.Slider(info.sliderNumber);
        if (std::isnan(q) || std::fabs(q - cell.Load()) < kTolerance)
            return false;
        cell.Store(q);
        effect.SliderSection();
        return true;
    }
};

} // namespace vrn
