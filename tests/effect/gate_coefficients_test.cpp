// Coefficients the gate derives from its sliders.
#include "effect/gate_coefficients.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vrn::gate
{
namespace
{

constexpr GateSliderValues kDefaults{0, 20, 20, -45, -45, 500, 2, 0, 0, 0};

GateCoefficients Make(const GateSliderValues& s, double fs)
{
    GateCoefficients c;
    UpdateCoefficients(c, s, fs, 1000.0, true);
    return c;
}

TEST(GateCoefficients, DefaultsAt48kHz)
{
    const GateCoefficients c = Make(kDefaults, 48000.0);
    EXPECT_NEAR(c.splitCoef, 0.06335, 1e-5);
    EXPECT_EQ(c.attackCoef, 0.0); // instant attack
    EXPECT_NEAR(c.releaseCoefLo, 0.998959, 1e-6);
    EXPECT_NEAR(c.peakCoef, 0.998959, 1e-6);
    EXPECT_NEAR(c.smoothCoef, 0.003658, 1e-6);
    EXPECT_EQ(c.delayLength, 48.0);
    EXPECT_NEAR(c.holdRatioLo, 0.5662, 1e-4);
    EXPECT_NEAR(c.threshLoGain, 0.005623, 1e-6);
}

/// What a follower `state := state·coef + target·(1 − coef)` has left of a unit step (from 1 to a
/// target of 0) after `frames` frames.
double StepRemainder(double coef, int frames)
{
    double state = 1.0;
    for (int j = 0; j < frames; ++j)
        state = state * coef + 0.0 * (1.0 - coef);
    return state;
}

TEST(GateCoefficients, FollowersCover1MinusOneOverEOfAStepInTheirTime)
{
    // Times whose length in frames is whole at each rate.
    struct Case
    {
        double fs, ms;
    };
    for (const Case k :
         {Case{44100, 20}, Case{48000, 5}, Case{48000, 250}, Case{96000, 1000}, Case{44100, 10}})
    {
        GateSliderValues s = kDefaults;
        s.releaseLo = k.ms;
        s.releaseHi = k.ms;
        s.attack = k.ms <= 10 ? k.ms : 10;
        const GateCoefficients c = Make(s, k.fs);
        const int frames = static_cast<int>(std::lround(k.ms * k.fs / 1000.0));
        const double left = std::exp(-1.0); // of the step, after one time constant
        EXPECT_NEAR(StepRemainder(c.releaseCoefLo, frames), left, 1e-9) << k.fs << " " << k.ms;
        EXPECT_NEAR(StepRemainder(c.releaseCoefHi, frames), left, 1e-9) << k.fs << " " << k.ms;
        if (k.ms <= 10)
        {
            EXPECT_NEAR(StepRemainder(c.attackCoef, frames), left, 1e-9) << k.fs << " " << k.ms;
        }
        // The peak follower decays with 20 ms at every rate.
        EXPECT_NEAR(StepRemainder(c.peakCoef, static_cast<int>(k.fs / 50.0)), left, 1e-9);
    }
}

/// Gain in dB of the one-pole smoother `state += (input − state)·coef` for a sine of `hz`,
/// measured once it has settled.
double SmootherGainDb(double coef, double hz, double fs)
{
    double state = 0.0, in2 = 0.0, out2 = 0.0;
    const auto settle = static_cast<int>(fs);
    const auto measure = static_cast<int>(fs * 10.0);
    for (int j = 0; j < settle + measure; ++j)
    {
        const double x = std::sin(6.283185307179586 * hz * j / fs);
        state += (x - state) * coef;
        if (j >= settle)
        {
            in2 += x * x;
            out2 += state * state;
        }
    }
    return 10.0 * std::log10(out2 / in2);
}

TEST(GateCoefficients, SmootherIsMinus3dBAt28Hz)
{
    for (const double fs : {44100.0, 48000.0, 96000.0})
    {
        const GateCoefficients c = Make(kDefaults, fs);
        EXPECT_NEAR(SmootherGainDb(c.smoothCoef, 28.0, fs), -3.01, 0.05) << fs;
        EXPECT_GT(SmootherGainDb(c.smoothCoef, 10.0, fs), -1.0) << fs;
        EXPECT_LT(SmootherGainDb(c.smoothCoef, 280.0, fs), -19.0) << fs;
    }
}

TEST(GateCoefficients, LookAheadHasAOneMillisecondFloor)
{
    GateSliderValues s = kDefaults;
    s.attack = 10.0;
    EXPECT_EQ(Make(s, 44100.0).delayLength, 441.0);
    s.attack = 0.5;
    EXPECT_EQ(Make(s, 44100.0).delayLength, 44.0);
}

TEST(GateCoefficients, LookAheadStaysInsideItsRing)
{
    GateSliderValues s = kDefaults;
    s.attack = 10.0;
    s.preGate = 1.0;
    EXPECT_EQ(Make(s, 192000.0).delayLength, 1920.0);
    const GateCoefficients fast = Make(s, 384000.0);
    EXPECT_EQ(fast.delayLength, kMaxDelayLength);
    EXPECT_EQ(fast.latencySamples, kMaxDelayLength);
}

TEST(GateCoefficients, LatencyFollowsPreGate)
{
    GateSliderValues s = kDefaults;
    s.attack = 1.0;
    s.preGate = 1.0;
    GateCoefficients c;
    UpdateCoefficients(c, s, 48000.0, 1000.0, true);
    EXPECT_EQ(c.latencySamples, 48.0);
    s.preGate = 0.0;
    UpdateCoefficients(c, s, 48000.0, 1000.0, false);
    EXPECT_EQ(c.latencySamples, 0.0);
}

TEST(GateCoefficients, CrossoverMovesOnlyBeyondTheTolerance)
{
    EXPECT_TRUE(CrossoverMoved(0.0, 500.0)); // first run after a reset
    EXPECT_TRUE(CrossoverMoved(500.0, 510.0));
    EXPECT_FALSE(CrossoverMoved(500.0, 500.0));
    EXPECT_FALSE(CrossoverMoved(500.0, 500.000009));
    EXPECT_TRUE(CrossoverMoved(500.0, 500.000011));
}

TEST(GateCoefficients, OnlyAMovedCrossoverRemakesTheSplitAndCountsAGeneration)
{
    GateCoefficients c;
    UpdateCoefficients(c, kDefaults, 48000.0, 1000.0, true);
    EXPECT_EQ(c.splitGeneration, 1u);
    GateSliderValues s = kDefaults;
    s.bandLink = 50.0;
    UpdateCoefficients(c, s, 48000.0, 1000.0, false);
    EXPECT_EQ(c.splitGeneration, 1u);
    const double split500 = c.splitCoef;
    s.crossover = 510.0;
    UpdateCoefficients(c, s, 48000.0, 1000.0, true);
    EXPECT_EQ(c.splitGeneration, 2u);
    EXPECT_GT(c.splitCoef, split500);
    EXPECT_EQ(c.lastCrossoverHz, 510.0);
}

TEST(GateCoefficients, SplitFollowsANewSampleRateWithoutClearing)
{
    GateCoefficients c;
    UpdateCoefficients(c, kDefaults, 0.0, 1000.0, true);
    EXPECT_EQ(c.splitCoef, 1.0); // a rate of 0 puts everything into the low band
    UpdateCoefficients(c, kDefaults, 48000.0, 1000.0, false);
    EXPECT_EQ(c.splitGeneration, 1u);
    EXPECT_NEAR(c.splitCoef, 0.06335, 1e-5);
}

TEST(GateCoefficients, ZeroSampleRateGivesInstantCoefficients)
{
    const GateCoefficients c = Make(kDefaults, 0.0);
    EXPECT_EQ(c.attackCoef, 0.0);
    EXPECT_EQ(c.releaseCoefLo, 0.0);
    EXPECT_EQ(c.releaseCoefHi, 0.0);
    EXPECT_EQ(c.peakCoef, 0.0);
    EXPECT_EQ(c.smoothCoef, 1.0);
    EXPECT_EQ(c.delayLength, 0.0);
}

TEST(GateCoefficients, HostileTimesNeverMakeAGrowingState)
{
    GateSliderValues s = kDefaults;
    s.attack = -5.0;
    s.releaseLo = -20.0;
    s.releaseHi = std::nan("");
    const GateCoefficients c = Make(s, 48000.0);
    for (double coef : {c.attackCoef, c.releaseCoefLo, c.releaseCoefHi})
    {
        EXPECT_GE(coef, 0.0);
        EXPECT_LE(coef, 1.0);
    }
    EXPECT_GE(c.delayLength, 0.0);
}

TEST(GateCoefficients, RestoredValuesOutsideTheRangesKeepTheGateStable)
{
    GateSliderValues s{-3, -20, 1e30, -1e30, 1e30, -1.6e35, -4, 0.2, 1, 1e9};
    for (double fs : {48000.0, -48000.0, 0.0})
    {
        const GateCoefficients c = Make(s, fs);
        for (double coef : {c.splitCoef, c.smoothCoef, c.attackCoef, c.releaseCoefLo,
                            c.releaseCoefHi, c.peakCoef, c.linkAmount, c.linkRest})
        {
            EXPECT_GE(coef, 0.0) << fs;
            EXPECT_LE(coef, 1.0) << fs;
        }
        EXPECT_GT(c.threshLoGain, 0.0);
        EXPECT_GE(c.gateRatio, 0.0);
        EXPECT_FALSE(std::isnan(c.holdRatioLo));
    }
}

} // namespace
} // namespace vrn::gate
