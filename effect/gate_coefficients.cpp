// Gate coefficients: thresholds, band split, time constants, hold factors and look-ahead.
#include "effect/gate_coefficients.h"

#include "runtime/numeric.h"

#include <cfloat>
#include <cmath>

namespace vrn::gate
{

namespace
{
/// One-pole coefficient for a time constant of `ms` milliseconds. A zero, negative or
/// meaningless time gives 0 (instant), so no coefficient can exceed 1 and make a state grow.
double OnePole(double ms, double sampleRate)
{
    const double coef = std::exp(-1.0 / (ms * sampleRate / 1000.0));
    return coef >= 0.0 && coef <= 1.0 ? coef : 0.0;
}

/// `x` limited to 0..1 (NaN gives 0): a one-pole coefficient outside this range is unstable.
double Clamp01(double x)
{
    return x >= 0.0 ? (x <= 1.0 ? x : 1.0) : 0.0;
}

double LookAheadSamples(double attackMs, double sampleRate)
{
    double samples =
        std::fmax(std::floor(sampleRate * (attackMs / 1000.0)), std::floor(sampleRate / 1000.0));
    if (!(samples >= 0.0))
        samples = 0.0; // negative or NaN sample rate
    return samples < kMaxDelayLength ? samples : kMaxDelayLength;
}
} // namespace

bool CrossoverMoved(double before, double now)
{
    return !NearlyEqual(now, before);
}

void UpdateCoefficients(GateCoefficients& c, const GateSliderValues& s, double fs,
                        double releaseMaxMs, bool crossoverMoved)
{
    c.attackMs = s.attack;
    c.releaseLoMs = s.releaseLo;
    c.releaseHiMs = s.releaseHi;
    // A restored chunk may hold any finite value. The limits below change nothing inside the
    // sliders' ranges; outside them they keep the gate stable instead of dividing by a zero
    // threshold, raising a zero level to a negative power or amplifying through the link.
    c.threshLoGain = std::fmax(std::pow(10.0, s.thresholdLo / 20.0), DBL_MIN);
    c.threshHiGain = std::fmax(std::pow(10.0, s.thresholdHi / 20.0), DBL_MIN);
    c.crossoverHz = s.crossover;
    c.gateRatio = std::fmax(s.ratio, 0.0);
    c.monitorMode = s.monitor;
    c.preGate = s.preGate;
    c.linkAmount = Clamp01(s.bandLink / 100.0);
    c.linkRest = 1.0 - c.linkAmount;
    c.releaseLoNorm = std::fmax(c.releaseLoMs / releaseMaxMs, 0.0);
    c.releaseHiNorm = std::fmax(c.releaseHiMs / releaseMaxMs, 0.0);

    // The split is remade for a new crossover or a new sample rate; only a new crossover
    // clears the filter states.
    if (crossoverMoved)
        ++c.splitGeneration;
    if (crossoverMoved || c.splitSampleRate != fs)
    {
        c.splitCoef = Clamp01(1.0 - std::exp(-6.283185307179586 * c.crossoverHz / fs));
        c.lastCrossoverHz = c.crossoverHz;
        c.splitSampleRate = fs;
    }

    c.delayLength = LookAheadSamples(c.attackMs, fs);
    // A host must not compensate a delay that is no longer applied.
    c.latencySamples = IsTrue(c.preGate) ? c.delayLength : 0.0;

    c.attackCoef = OnePole(c.attackMs, fs);
    c.releaseCoefLo = OnePole(c.releaseLoMs, fs);
    c.peakCoef = OnePole(20.0, fs);
    c.attackMix = 1.0 - c.attackCoef;
    c.releaseMixLo = 1.0 - c.releaseCoefLo;
    c.smoothCoef = Clamp01(1.0 - std::exp(-175.92918860102841 / fs));
    c.releaseCoefHi = OnePole(c.releaseHiMs, fs);
    c.releaseMixHi = 1.0 - c.releaseCoefHi;
    c.holdRatioLo = std::pow(c.releaseLoNorm, 0.5) * 1.67 + 0.33;
    c.holdRatioHi = std::pow(c.releaseHiNorm, 0.5) * 1.67 + 0.33;

    c.monitorSelect = -1;
    for (int mode = 0; mode <= 3; ++mode)
        if (NearlyEqual(c.monitorMode, mode))
            c.monitorSelect = mode;
    c.linkOn = IsTrue(c.linkAmount);
    c.preGateOn = IsTrue(c.preGate);
    c.ringLength = RoundIndex(c.delayLength);
}

} // namespace vrn::gate
