#pragma once
// The gate's per-frame arithmetic: band gain computer, band link and the look-ahead ring.

#include "effect/gate_coefficients.h"
#include "runtime/numeric.h"

#include <cmath>

namespace vrn::gate
{

/// Gain-computer state of one band (all 0 after Reset: the band starts closed).
struct GateBand
{
    double level = 0.0;     ///< level relative to the threshold, 0..1
    double target = 0.0;    ///< gain target
    double peak = 0.0;      ///< peak follower
    double env = 0.0;       ///< attack/release envelope
    double hold = 0.0;      ///< held envelope
    double smooth = 0.0;    ///< smoothed hold
    double reduction = 0.0; ///< 1 − band gain
};

/// The band-specific coefficients of one gain computer.
struct BandCoefficients
{
    double threshGain;
    double releaseCoef;
    double releaseMix;
    double holdRatio;
};

/// Advances one band's gain computer by a frame, from the band's linked detector sample.
inline void RunGainComputer(GateBand& b, double detector, const BandCoefficients& band,
                            const GateCoefficients& c)
{
    b.level = std::fmin(std::fabs(detector), band.threshGain) / band.threshGain;
    b.target = std::pow(b.level, c.gateRatio);

    const double h = b.target + (b.peak - b.target) * c.peakCoef;
    b.peak = h > b.target ? h : b.target;

    if (b.peak > b.env)
    {
        b.env = b.env * c.attackCoef + b.peak * c.attackMix;
        if (b.env > b.hold)
            b.hold = b.env;
    }
    else
    {
        b.env = b.env * band.releaseCoef + b.peak * band.releaseMix;
        if (b.env < b.hold * band.holdRatio)
            b.hold = b.hold * band.releaseCoef + b.peak * band.releaseMix;
    }

    b.smooth = b.smooth + (b.hold - b.smooth) * c.smoothCoef;
    // The gain rises with the hold but falls no faster than the smoother.
    b.reduction = 1.0 - (b.hold >= b.smooth ? b.hold : b.smooth);
}

/// One look-ahead ring in effect memory: `length` + 1 cells from its base.
struct DelayLine
{
    double position = 0.0; ///< write position, 0 … length

    /// Writes `value`, answers the value written `length` steps earlier (0 while empty).
    double Step(double* ringCells, double length, double value)
    {
        ringCells[RoundIndex(position)] = value;
        position += 1.0;
        if (position > length)
            position = 0.0;
        return ringCells[RoundIndex(position)];
    }
};

} // namespace vrn::gate
