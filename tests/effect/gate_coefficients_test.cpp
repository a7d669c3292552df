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
    UpdateCoefficients(c, s, fs, 1000.0);
    return c;
}

TEST(GateCoefficients, DefaultsAt48kHz)
{
    const GateCoefficients c = Make(kDefaults, 48000.0);
    EXPECT_NEAR(c.splitCoef, 1.0 - std::exp(-6.283185307179586 * 500.0 / 48000.0), 1e-15);
    EXPECT_NEAR(c.splitCoef, 0.06335, 1e-5);
    EXPECT_EQ(c.attackCoef, 0.0);
    EXPECT_EQ(c.attackMix, 1.0);
    EXPECT_NEAR(c.releaseCoefLo, std::exp(-1.0 / 960.0), 1e-15);
    EXPECT_NEAR(c.releaseCoefLo, 0.998959, 1e-6);
    EXPECT_NEAR(c.peakCoef, std::exp(-1.0 / 960.0), 1e-15);
    EXPECT_NEAR(c.smoothCoef, 0.003658, 1e-6);
    EXPECT_EQ(c.delayLength, 48.0);
    EXPECT_NEAR(c.holdRatioLo, 0.5662, 1e-4);
    EXPECT_NEAR(c.threshLoGain, 0.005623, 1e-6);
    EXPECT_EQ(c.linkAmount, 0.0);
    EXPECT_EQ(c.linkRest, 1.0);
    EXPECT_EQ(c.latencySamples, 0.0);
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
    UpdateCoefficients(c, s, 48000.0, 1000.0);
    EXPECT_EQ(c.latencySamples, 48.0);
    s.preGate = 0.0;
    UpdateCoefficients(c, s, 48000.0, 1000.0);
    EXPECT_EQ(c.latencySamples, 0.0);
}

TEST(GateCoefficients, OnlyACrossoverChangeAsksToClearTheFilter)
{
    GateCoefficients c;
    EXPECT_TRUE(UpdateCoefficients(c, kDefaults, 48000.0, 1000.0)); // first run
    GateSliderValues s = kDefaults;
    s.bandLink = 50.0;
    EXPECT_FALSE(UpdateCoefficients(c, s, 48000.0, 1000.0));
    EXPECT_FALSE(UpdateCoefficients(c, s, 48000.0, 1000.0));
    s.crossover = 510.0;
    EXPECT_TRUE(UpdateCoefficients(c, s, 48000.0, 1000.0));
}

TEST(GateCoefficients, SplitFollowsANewSampleRateWithoutClearing)
{
    GateCoefficients c;
    UpdateCoefficients(c, kDefaults, 0.0, 1000.0);
    EXPECT_EQ(c.splitCoef, 1.0); // a rate of 0 puts everything into the low band
    EXPECT_FALSE(UpdateCoefficients(c, kDefaults, 48000.0, 1000.0));
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
