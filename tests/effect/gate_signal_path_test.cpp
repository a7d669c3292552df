// The gate's signal path: physical properties and agreement with a plain calculation.
#include "tests/effect/gate_rig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vrn::test
{
namespace
{

double MaxDifference(const std::vector<double>& a, const std::vector<double>& b)
{
    double worst = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i)
        worst = std::max(worst, std::fabs(a[i] - b[i]));
    return worst;
}

std::vector<double> Sine(double amplitude, double hz, std::size_t frames, double fs = 48000.0)
{
    std::vector<double> v(frames);
    for (std::size_t j = 0; j < frames; ++j)
        v[j] = amplitude * std::sin(6.283185307179586 * hz * static_cast<double>(j) / fs);
    return v;
}

TEST(GateSignalPath, MatchesThePlainCalculation)
{
    GateSettings hard;
    hard.ratio = 10;
    hard.thresholdLo = -30;
    hard.thresholdHi = -35;
    hard.releaseLo = 150;
    hard.releaseHi = 60;
    GateSettings preGate;
    preGate.attack = 2.5;
    preGate.preGate = 1;
    preGate.releaseHi = 400;
    GateSettings linked;
    linked.bandLink = 70;
    linked.crossover = 2000;
    linked.ratio = 0.5;
    GateSettings detector;
    detector.monitor = 1;
    detector.attack = 5;
    GateSettings loBand;
    loBand.monitor = 2;
    loBand.preGate = 1;
    loBand.attack = 10;
    GateSettings hiBand;
    hiBand.monitor = 3;
    hiBand.bandLink = 100;
    GateSettings unknownMonitor;
    unknownMonitor.monitor = 1.5;

    for (const GateSettings& s :
         {GateSettings{}, hard, preGate, linked, detector, loBand, hiBand, unknownMonitor})
    {
        for (double fs : {44100.0, 48000.0, 96000.0})
        {
            std::vector<double> left, right;
            MakeBurstSignal(fs, 1.0, left, right);
            std::vector<double> refL = left, refR = right;
            ReferenceGate(s, fs, 512, refL, refR);
            GateRig rig(s, fs);
            rig.Process(left, right, 512);
            EXPECT_LT(MaxDifference(left, refL), 1e-12) << "monitor " << s.monitor << " fs " << fs;
            EXPECT_LT(MaxDifference(right, refR), 1e-12) << "monitor " << s.monitor << " fs " << fs;
        }
    }
}

TEST(GateSignalPath, FarAboveBothThresholdsTheInputPasses)
{
    GateRig rig;
    std::vector<double> left = Sine(0.9, 1000.0, 24000);
    std::vector<double> right = Sine(0.7, 3000.0, 24000);
    // A DC bias keeps both bands' detectors above threshold at every sample.
    for (auto& v : left)
        v += 0.95;
    for (auto& v : right)
        v += 0.95;
    const std::vector<double> inL = left, inR = right;
    rig.Process(left, right);
    for (std::size_t j = 12000; j < left.size(); ++j)
    {
        ASSERT_NEAR(left[j], inL[j], 1e-9) << j;
        ASSERT_NEAR(right[j], inR[j], 1e-9) << j;
    }
}

TEST(GateSignalPath, SilenceStaysClosed)
{
    GateRig rig;
    std::vector<double> left(4096, 0.0), right(4096, 0.0);
    rig.Process(left, right);
    // Only the detector offset (at most 1e-9) keeps the gains off exact zero.
    EXPECT_NEAR(rig.gate.audio.frame.bandLo.reduction, 1.0, 1e-12);
    EXPECT_NEAR(rig.gate.audio.frame.bandHi.reduction, 1.0, 1e-12);
    EXPECT_LT(rig.gate.meterLo.Peek(), 1e-12);
    EXPECT_LT(rig.gate.meterHi.Peek(), 1e-12);
    for (double v : left)
        ASSERT_LE(std::fabs(v), 1e-9); // only the detector offset's residue
}

TEST(GateSignalPath, DetectorUsesTheSignedMaximumOfTheChannels)
{
    GateSettings s;
    s.crossover = 8000;
    s.thresholdLo = 0; // threshold 1.0: the level equals the detector magnitude
    s.ratio = 1;       // with an instant attack the first frame's gain is then the level
    GateRig rig(s);
    std::vector<double> left(1, -0.5), right(1, -0.3);
    double* none[2] = {nullptr, nullptr};
    TXalto::Process(rig.gate, none, none, 0); // the crossover change clears the filter here
    rig.gate.audio.frame.lowpassL = -0.5;     // already settled

    rig.gate.audio.frame.lowpassR = -0.3;
    rig.Process(left, right);
    EXPECT_NEAR(1.0 - rig.gate.audio.frame.bandLo.reduction, 0.3, 1e-3);
}

TEST(GateSignalPath, FullBandLinkOpensTheClosedBand)
{
    GateSettings s;
    s.bandLink = 100;
    s.thresholdHi = 0; // the high band stays closed for a quiet signal
    s.thresholdLo = -80;
    GateRig rig(s);
    std::vector<double> left = Sine(0.1, 60.0, 48000), right = left;
    rig.Process(left, right);
    EXPECT_NEAR(rig.gate.audio.frame.bandLo.reduction, rig.gate.audio.frame.bandHi.reduction,
                1e-15);
    EXPECT_LT(rig.gate.audio.frame.bandHi.reduction, 0.01);
    EXPECT_GT(rig.gate.meterHi.Peek(), 0.99);
}

TEST(GateSignalPath, DetectorPlusOutputIsTheInput)
{
    GateSettings s;
    s.ratio = 4;
    s.thresholdLo = -20;
    s.thresholdHi = -25;
    std::vector<double> left, right;
    MakeBurstSignal(48000.0, 0.5, left, right);
    std::vector<double> outL = left, outR = right, detL = left, detR = right;
    GateRig output(s);
    output.Process(outL, outR);
    s.monitor = 1;
    GateRig detector(s);
    detector.Process(detL, detR);
    for (std::size_t j = 0; j < left.size(); ++j)
    {
        ASSERT_NEAR(outL[j] + detL[j], left[j], 1e-15) << j;
        ASSERT_NEAR(outR[j] + detR[j], right[j], 1e-15) << j;
    }
}

TEST(GateSignalPath, PreGateDelaysTheAudioByTheReportedLatency)
{
    GateSettings s;
    s.attack = 1;
    s.preGate = 1;
    s.thresholdLo = -90;
    s.thresholdHi = -90;
    GateRig rig(s);
    std::vector<double> left = Sine(0.5, 440.0, 9600), right = Sine(0.5, 5000.0, 9600);
    for (auto& v : left)
        v += 0.6;
    for (auto& v : right)
        v += 0.6;
    const std::vector<double> inL = left, inR = right;
    rig.Process(left, right);
    ASSERT_EQ(rig.host.latencyReports, std::vector<std::int32_t>{48});
    for (std::size_t j = 4800; j < left.size(); ++j)
    {
        ASSERT_NEAR(left[j], inL[j - 48], 1e-9) << j;
        ASSERT_NEAR(right[j], inR[j - 48], 1e-9) << j;
    }
}

TEST(GateSignalPath, PreGateOffAndOnAgainPlaysTheStaleRingOnce)
{
    GateSettings s;
    s.attack = 1;
    s.preGate = 1;
    s.thresholdLo = -90;
    s.thresholdHi = -90;
    GateRig rig(s);
    std::vector<double> left(4800, 0.5), right(4800, 0.5);
    rig.Process(left, right);
    s.preGate = 0;
    rig.Apply(s);
    std::vector<double> quiet(4800, 0.3), quietR(4800, 0.3);
    rig.Process(quiet, quietR);
    s.preGate = 1;
    rig.Apply(s);
    std::vector<double> after(200, 0.3), afterR(200, 0.3);
    rig.Process(after, afterR);
    EXPECT_NEAR(after[0], 0.5, 1e-6); // old audio from the ring
    EXPECT_NEAR(after[47], 0.5, 1e-6);
    EXPECT_NEAR(after[48], 0.3, 1e-6); // then the current signal, delayed
}

TEST(GateSignalPath, LatencyIsReportedAtTheNextBlockAndDropsWithPreGate)
{
    GateSettings s;
    s.attack = 1;
    s.preGate = 1;
    GateRig rig(s);
    EXPECT_TRUE(rig.host.latencyReports.empty());
    double* none[2] = {nullptr, nullptr};
    TXalto::Process(rig.gate, none, none, 0); // a block of 0 frames still reports
    EXPECT_EQ(rig.host.latencyReports, std::vector<std::int32_t>{48});
    s.preGate = 0;
    rig.Apply(s);
    TXalto::Process(rig.gate, none, none, 0);
    EXPECT_EQ(rig.host.latencyReports, (std::vector<std::int32_t>{48, 0}));
}

TEST(GateSignalPath, RecoversFromNonFiniteInputWithinOneBlock)
{
    GateSettings s;
    s.preGate = 1;
    s.attack = 10;
    s.bandLink = 50;
    GateRig rig(s);
    std::vector<double> left, right;
    MakeBurstSignal(48000.0, 0.1, left, right);
    left[100] = std::numeric_limits<double>::quiet_NaN();
    right[200] = std::numeric_limits<double>::infinity();
    left[300] = -std::numeric_limits<double>::infinity();
    rig.Process(left, right, 512);
    std::vector<double> after, afterR;
    MakeBurstSignal(48000.0, 0.1, after, afterR);
    rig.Process(after, afterR, 512);
    for (std::size_t j = 0; j < after.size(); ++j)
    {
        ASSERT_TRUE(std::isfinite(after[j])) << j;
        ASSERT_TRUE(std::isfinite(afterR[j])) << j;
    }
    EXPECT_TRUE(std::isfinite(rig.gate.meterLo.Peek()));
}

TEST(GateSignalPath, MetersHoldTheMostOpenGain)
{
    GateRig rig;
    std::vector<double> loud = Sine(0.5, 100.0, 4800), loudR = loud;
    rig.Process(loud, loudR);
    const double peak = rig.gate.meterLo.Peek();
    EXPECT_GT(peak, 0.9);
    std::vector<double> quiet(48000, 0.0), quietR(48000, 0.0);
    rig.Process(quiet, quietR);
    EXPECT_EQ(rig.gate.meterLo.Peek(), peak); // nobody read it: it keeps the maximum
    EXPECT_LT(1.0 - rig.gate.audio.frame.bandLo.reduction, 0.01);
}

} // namespace
} // namespace vrn::test
