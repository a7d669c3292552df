#pragma once
// The gate's per-frame arithmetic: band gain computer, band link and the look-ahead ring.

#include "effect/gate_coefficients.h"
#include "runtime/fast_math.h"
#include "runtime/numeric.h"

#include <cmath>

namespace vrn::gate
{

/// Gain-computer state of one band (all 0 after Reset: the band starts closed).
struct GateBand
{
    double peak = 0.0;      ///< peak follower
    double env = 0.0;       ///< attack/release envelope
    double hold = 0.0;      ///< held envelope
    double smooth = 0.0;    ///< smoothed hold
    double reduction = 0.0; ///< 1 − band gain
};

/// The band-specific coefficients of one band's followers.
struct BandCoefficients
{
    double releaseCoef;
    double releaseMix;
    double holdRatio;
};

/// Level of a band's detector sample relative to the band's threshold, 0..1 (1 at or above it).
[[gnu::always_inline]] inline double BandLevel(double detector, double threshGain)
{
    const double magnitude = std::fabs(detector);
    // (A NaN magnitude takes the threshold, as fmin would.)
    return (magnitude < threshGain ? magnitude : threshGain) / threshGain;
}

/// Advances one band's followers by a frame from its gain target (the level raised to the
/// ratio): peak follower, attack/release envelope, hold, smoother and the resulting reduction.
[[gnu::always_inline]] inline void
RunEnvelope(GateBand& b, double target, const BandCoefficients& band, const GateCoefficients& c)
{
    const double h = target + (b.peak - target) * c.peakCoef;
    b.peak = h > target ? h : target;

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

/// The six look-ahead rings in effect memory, each `length` + 1 cells from its base. The six
/// are always stepped together, so they share one write position.
struct LookAhead
{
    std::int32_t position = 0; ///< write position, 0 … length

    /// Writes the six values, replaces each by the value written `length` steps earlier
    /// (0 while the ring is still empty).
    void Step(double* memory, std::int32_t length, double* const (&values)[6])
    {
        for (int line = 0; line < 6; ++line)
            memory[kDelayLineBase[line] + position] = *values[line];
        position = position >= length ? 0 : position + 1;
        for (int line = 0; line < 6; ++line)
            *values[line] = memory[kDelayLineBase[line] + position];
    }
};

/// Everything one frame of the signal path reads and writes besides the coefficients. Copied
/// into a local for a block so that the states stay in registers.
struct GateFrameState
{
    double noiseOffset = 0.0; ///< tiny DC added to the detector path, renewed per block
    double lowpassL = 0.0;    ///< band-split states
    double lowpassR = 0.0;
    GateBand bandLo;
    GateBand bandHi;
    LookAhead lookAhead;
    double leastReductionLo = 1.0; ///< of the running block: its most open gain is 1 − this
    double leastReductionHi = 1.0;

    /// One stereo frame in place. `ring` is the effect memory block that holds the rings.
    /// The monitor mode (0 … 3, or -1 to pass the input), Pre-Gate and Band Link come as
    /// template arguments so that a block's loop carries none of their tests.
    template <int kMonitor, bool kPreGate, bool kLink>
    [[gnu::always_inline]] void Run(const GateCoefficients& c, double* ring, double& left,
                                    double& right)
    {
        double inL = left;
        double inR = right;

        // Band split of the detector input; the two bands always add up to it.
        const double xL = inL + noiseOffset;
        const double xR = inR + noiseOffset;
        lowpassL += c.splitCoef * (xL - lowpassL);
        lowpassR += c.splitCoef * (xR - lowpassR);
        double loL = lowpassL;
        double hiL = xL - lowpassL;
        double loR = lowpassR;
        double hiR = xR - lowpassR;

        // The detector sees |max(L, R)| of each band (signed maximum first). Below the
        // threshold a band's gain target is its level raised to the ratio.
        const double levelLo = BandLevel(loL <= loR ? loR : loL, c.threshLoGain);
        const double levelHi = BandLevel(hiL <= hiR ? hiR : hiL, c.threshHiGain);
        const GatePowPairResult targets = GatePow2(levelLo, levelHi, c.gateRatio);
        RunEnvelope(bandLo, targets.a, {c.releaseCoefLo, c.releaseMixLo, c.holdRatioLo}, c);
        RunEnvelope(bandHi, targets.b, {c.releaseCoefHi, c.releaseMixHi, c.holdRatioHi}, c);

        if constexpr (kLink)
        {
            // The more open band opens the other, by linkAmount.
            const double m =
                bandLo.reduction > bandHi.reduction ? bandHi.reduction : bandLo.reduction;
            bandLo.reduction = c.linkAmount * m + c.linkRest * bandLo.reduction;
            bandHi.reduction = c.linkAmount * m + c.linkRest * bandHi.reduction;
        }
        const double reductionLo = bandLo.reduction;
        const double reductionHi = bandHi.reduction;

        if constexpr (kPreGate)
        {
            // The gains were computed from the undelayed signal: they act ahead of the audio.
            lookAhead.Step(ring, c.ringLength, {&inL, &loL, &hiL, &inR, &loR, &hiR});
        }

        if constexpr (kMonitor == 0) // "Output"
        {
            left = (inL - reductionLo * loL) - reductionHi * hiL;
            right = (inR - reductionLo * loR) - reductionHi * hiR;
        }
        else if constexpr (kMonitor == 1) // "Detector": the part of the signal the gate removes
        {
            left = reductionLo * loL + reductionHi * hiL;
            right = reductionLo * loR + reductionHi * hiR;
        }
        else if constexpr (kMonitor == 2) // "Lo-band"
        {
            left = (1.0 - reductionLo) * loL;
            right = (1.0 - reductionLo) * loR;
        }
        else if constexpr (kMonitor == 3) // "Hi-band"
        {
            left = (1.0 - reductionHi) * hiL;
            right = (1.0 - reductionHi) * hiR;
        }
        // Any other monitor value passes the input frame unchanged.

        // The most open gain 1 − r belongs to the least reduction r (1 − r falls as r grows).
        if (reductionLo < leastReductionLo)
            leastReductionLo = reductionLo;
        if (reductionHi < leastReductionHi)
            leastReductionHi = reductionHi;
    }
};

} // namespace vrn::gate
