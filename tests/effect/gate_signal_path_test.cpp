// The gate's signal path: physical properties and agreement with a plain calculation.
#include "tests/effect/gate_rig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vrn::test
{
namespace
{

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

/// Power gain in dB from `input` to `output` over the frames from `from` on.
double GainDb(const std::vector<double>& output, const std::vector<double>& input, std::size_t from)
{
    double in2 = 0.0, out2 = 0.0;
    for (std::size_t j = from; j < input.size(); ++j)
    {
        in2 += input[j] * input[j];
        out2 += output[j] * output[j];
    }
    return 10.0 * std::log10(out2 / in2);
}

TEST(GateSignalPath, BandSplitIsMinus3dBAtTheCrossoverAndTheBandsSumToTheInput)
{
    // Thresholds at -90 dB: both gates open fully (gain exactly 1), so Monitor "Lo-band" and
    // "Hi-band" output the bands themselves.
    GateSettings open;
    open.thresholdLo = -90;
    open.thresholdHi = -90;
    for (const double fs : {44100.0, 48000.0, 96000.0})
        for (const double crossover : {100.0, 500.0, 1000.0})
        {
            open.crossover = crossover;
            const auto frames = static_cast<std::size_t>(fs);
            const std::vector<double> sine = Sine(0.5, crossover, frames, fs);
            std::vector<double> lowL = sine, lowR = sine, highL = sine, highR = sine;
            open.monitor = 2;
            GateRig(open, fs).Process(lowL, lowR);
            open.monitor = 3;
            GateRig(open, fs).Process(highL, highR);
            const std::size_t settled = frames / 2;
            EXPECT_NEAR(GainDb(lowL, sine, settled), -3.01, 0.05) << fs << " " << crossover;
            // The high band is the input minus the low band: its corner lies slightly above
            // the crossover, the more so the higher the crossover (-3.30 dB at 500 Hz, 48 kHz).
            const double highDb = GainDb(highL, sine, settled);
            EXPECT_LT(highDb, -3.0) << fs << " " << crossover;
            EXPECT_GT(highDb, crossover / fs < 0.003 ? -3.1 : -3.7) << fs << " " << crossover;

            // Bands sum to the input, at the crossover and for broadband noise.
            std::vector<double> noise, noiseR;
            MakeBurstSignal(fs, 0.5, noise, noiseR);
            for (auto& v : noise)
                v += 0.2; // keeps both bands' detectors away from zero
            std::vector<double> lowN = noise, lowNR = noise, highN = noise, highNR = noise;
            open.monitor = 2;
            GateRig(open, fs).Process(lowN, lowNR);
            open.monitor = 3;
            GateRig(open, fs).Process(highN, highNR);
            for (std::size_t j = frames / 10; j < frames / 2; ++j)
            {
                // (The detector offset of at most 1e-9 rides on the bands.)
                ASSERT_NEAR(lowL[j] + highL[j], sine[j], 1e-9) << j;
                ASSERT_NEAR(lowN[j] + highN[j], noise[j], 1e-9) << j;
            }
        }
}

TEST(GateSignalPath, PreGateDelaysTheAudioByTheReportedLatency)
{
    for (const double fs : {44100.0, 48000.0, 96000.0})
        for (const double attack : {0.0, 1.0, 2.5, 10.0})
        {
            GateSettings s;
            s.attack = attack;
            s.preGate = 1;
            s.thresholdLo = -90;
            s.thresholdHi = -90;
            GateRig rig(s, fs);
            // (With an attack the gain approaches 1 with that time constant: compare late.)
            const auto frames = static_cast<std::size_t>(fs / 2);
            std::vector<double> left = Sine(0.5, 440.0, frames, fs);
            std::vector<double> right = Sine(0.5, 5000.0, frames, fs);
            for (auto& v : left)
                v += 0.6;
            for (auto& v : right)
                v += 0.6;
            const std::vector<double> inL = left, inR = right;
            rig.Process(left, right);
            ASSERT_EQ(rig.host.latencyReports.size(), 1u);
            const auto latency = static_cast<std::size_t>(rig.host.latencyReports[0]);
            // The attack time in samples, and never less than a millisecond's worth.
            EXPECT_NEAR(static_cast<double>(latency), std::max(attack, 1.0) * fs / 1000.0, 1.0);
            for (std::size_t j = frames * 4 / 5; j < frames; ++j)
            {
                ASSERT_NEAR(left[j], inL[j - latency], 1e-9) << fs << " " << attack << " " << j;
                ASSERT_NEAR(right[j], inR[j - latency], 1e-9) << fs << " " << attack << " " << j;
            }
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

TEST(GateSignalPath, NonFiniteAndHugeInputIsSilence)
{
    // A NaN, infinite or absurdly large (beyond ±1e30) sample counts as 0: no output sample and
    // no state turns non-finite, and everything else comes out exactly as with a 0 in its
    // place.
    GateSettings s;
    s.preGate = 1;
    s.attack = 10;
    s.bandLink = 50;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> left, right;
    MakeBurstSignal(48000.0, 0.2, left, right);
    std::vector<double> zeroL = left, zeroR = right;
    for (const std::size_t j : {std::size_t{100}, std::size_t{511}, std::size_t{3000}})
    {
        left[j] = nan;
        right[j + 1] = inf;
        left[j + 2] = -inf;
        right[j + 3] = 1.01e30;
        left[j + 4] = -3e38; // near -FLT_MAX
        zeroL[j] = zeroR[j + 1] = zeroL[j + 2] = zeroR[j + 3] = zeroL[j + 4] = 0.0;
    }
    std::vector<float> leftF(left.begin(), left.end()), rightF(right.begin(), right.end());
    std::vector<float> zeroLF(zeroL.begin(), zeroL.end()), zeroRF(zeroR.begin(), zeroR.end());

    GateRig broken(s), silent(s), brokenF(s), silentF(s);
    broken.Process(left, right, 512);
    silent.Process(zeroL, zeroR, 512);
    brokenF.Process(leftF, rightF, 256);
    silentF.Process(zeroLF, zeroRF, 256);
    for (std::size_t j = 0; j < left.size(); ++j)
    {
        ASSERT_TRUE(std::isfinite(left[j]) && std::isfinite(right[j])) << j;
        ASSERT_EQ(left[j], zeroL[j]) << j;
        ASSERT_EQ(right[j], zeroR[j]) << j;
        ASSERT_EQ(leftF[j], zeroLF[j]) << j;
        ASSERT_EQ(rightF[j], zeroRF[j]) << j;
    }
    EXPECT_EQ(broken.gate.meterLo.Peek(), silent.gate.meterLo.Peek());
    EXPECT_EQ(broken.gate.meterHi.Peek(), silent.gate.meterHi.Peek());
}

TEST(GateSignalPath, RecoversFromNonFiniteStatesWithinOneBlock)
{
    // Input cannot make a state non-finite any more (huge samples are silence); should one
    // turn non-finite all the same, the states are cleared at the end of the block and the
    // next block is finite again.
    GateSettings s;
    s.preGate = 1;
    s.attack = 10;
    s.bandLink = 50;
    GateRig rig(s);
    std::vector<double> left, right;
    MakeBurstSignal(48000.0, 0.1, left, right);
    rig.gate.audio.frame.lowpassL = std::numeric_limits<double>::infinity();
    rig.gate.audio.frame.bandHi.env = std::numeric_limits<double>::quiet_NaN();
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

TEST(GateSignalPath, MetersHoldTheMostOpenGainOfABlockWhileTheGainFallsAndRises)
{
    // Loud, then silence (the gates close within the block), then silence turning loud (they
    // open at its end). The meter of each block is compared with the gains of its frames, read
    // one frame at a time from a second gate.
    const std::vector<double> loud = Sine(0.5, 100.0, 4800);
    const std::vector<double> silence(4800, 0.0);
    std::vector<std::vector<double>> blocks = {loud, silence, silence};
    blocks[2].insert(blocks[2].end(), loud.begin(), loud.end());

    GateRig whole, framewise;
    for (std::size_t b = 0; b < blocks.size(); ++b)
    {
        whole.gate.meterLo.Take();
        whole.gate.meterHi.Take();
        std::vector<double> left = blocks[b], right = blocks[b];
        whole.Process(left, right, static_cast<int>(left.size()));

        double mostOpenLo = 0.0, mostOpenHi = 0.0, lastLo = 0.0;
        for (const double sample : blocks[b])
        {
            std::vector<double> l(1, sample), r(1, sample);
            framewise.Process(l, r, 1);
            mostOpenLo = std::max(mostOpenLo, framewise.gate.meterLo.Take());
            lastLo = 1.0 - framewise.gate.audio.frame.bandLo.reduction;
            mostOpenHi = std::max(mostOpenHi, framewise.gate.meterHi.Take());
        }
        // (The two gates' detector offsets differ by up to 1e-9 per block.)
        EXPECT_NEAR(whole.gate.meterLo.Peek(), mostOpenLo, 1e-6) << b;
        EXPECT_NEAR(whole.gate.meterHi.Peek(), mostOpenHi, 1e-6) << b;
        if (b == 1)
        {
            EXPECT_GT(mostOpenLo, 0.99); // the gain at the block's start …
            EXPECT_LT(lastLo, 0.2);      // … not the falling gain at its end
        }
        if (b == 2)
        {
            EXPECT_GT(whole.gate.meterLo.Peek(), 0.99); // opened at the end
        }
    }
}

} // namespace
} // namespace vrn::test
