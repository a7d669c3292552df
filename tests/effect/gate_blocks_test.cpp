// The signal path worked through in blocks and chunks: every block size, settings changed between
// blocks, the monitor modes in both sample precisions, the one-frame path through the sample
// cells, buffers shared between input and output, and the same bits on every build.
#include "tests/effect/gate_rig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <vector>

namespace vrn::test
{
namespace
{

/// Test material made frame by frame, without the C library's maths (the same values on every
/// build): noise bursts with a linear decay every `period` frames over a quiet noise floor.
class BurstSource
{
public:
    explicit BurstSource(std::uint32_t burstPeriod = 9000) : period(burstPeriod) {}

    void Fill(double* left, double* right, std::size_t frames)
    {
        for (std::size_t j = 0; j < frames; ++j, ++frame)
        {
            const std::uint32_t phase = frame % period;
            const double burst = phase < period / 3 ? 0.8 * (1.0 - 3.0 * phase / period) : 0.0;
            left[j] = burst * Noise() + 0.0005 * Noise();
            right[j] = burst * (0.5 * Noise() + 0.5 * left[j]) + 0.0005 * Noise();
        }
    }

private:
    double Noise()
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / 8388608.0 - 1.0;
    }

    std::uint32_t period;
    std::uint32_t state = 7;
    std::uint32_t frame = 0;
};

/// The gate and the plain calculation side by side, block by block.
struct SideBySide
{
    explicit SideBySide(const GateSettings& s) : rig(s), plain(s, 48000.0) {}

    void Apply(const GateSettings& s)
    {
        rig.Apply(s);
        plain.Apply(s);
    }

    /// One block of `frames` frames from the source through both; answers the largest
    /// difference of their outputs.
    double Block(std::size_t frames)
    {
        left.resize(frames);
        right.resize(frames);
        source.Fill(left.data(), right.data(), frames);
        std::vector<double> refL = left, refR = right;
        rig.Process(left, right, static_cast<int>(frames));
        plain.Block(refL.data(), refR.data(), frames);
        return std::max(MaxDifference(left, refL), MaxDifference(right, refR));
    }

    GateRig rig;
    PlainGate plain;
    BurstSource source;
    std::vector<double> left, right;
};

TEST(GateBlocks, EveryBlockSizeFrom1To4096MatchesThePlainCalculation)
{
    // Pre-Gate and Band Link: the look-ahead rings and every stage cross each block and chunk
    // boundary.
    GateSettings s;
    s.attack = 2.5;
    s.preGate = 1;
    s.bandLink = 60;
    s.ratio = 3.3;
    s.thresholdLo = -40;
    s.thresholdHi = -50;
    s.releaseHi = 120;
    SideBySide gates(s);
    double worst = 0.0;
    for (std::size_t frames = 1; frames <= 4096; ++frames)
    {
        worst = std::max(worst, gates.Block(frames));
        ASSERT_LT(worst, 1e-12) << "block of " << frames;
    }
}

TEST(GateBlocks, SettingsChangedBetweenBlocksMatchThePlainCalculation)
{
    // Each block gets the next of these changes, at block sizes around the chunk size.
    std::vector<GateSettings> steps(14);
    steps[1].crossover = 2500; // the band split is cleared and remade
    steps[2].preGate = 1;      // look-ahead of 48 frames
    steps[3] = steps[2];
    steps[3].attack = 9; // the ring grows to 432 frames
    steps[4] = steps[3];
    steps[4].attack = 0.5;   // and shrinks below its write position
    steps[5].bandLink = 100; // Pre-Gate off: the rings keep their contents
    steps[6] = steps[4];     // on again: the stale contents play out
    steps[7].monitor = 1;
    steps[8].monitor = 2;
    steps[8].ratio = 0.5;
    steps[9].monitor = 3;
    steps[9].ratio = 10;
    steps[10].monitor = 1.5; // the input passes
    steps[11].thresholdLo = -20;
    steps[11].releaseLo = 700;
    steps[12].crossover = 120;
    steps[12].bandLink = 35;
    steps[13] = steps[12];
    steps[13].preGate = 1;
    steps[13].monitor = 3;
    const std::size_t sizes[] = {1, 63, 64, 65, 129, 500, 7, 2000, 128, 3};

    SideBySide gates(steps[0]);
    std::size_t block = 0;
    for (int round = 0; round < 4; ++round)
        for (const GateSettings& s : steps)
        {
            gates.Apply(s);
            const std::size_t frames = sizes[block++ % std::size(sizes)];
            ASSERT_LT(gates.Block(frames), 1e-12) << "block " << block << " of " << frames;
        }
}

TEST(GateBlocks, MonitorModesAgreeInBothPrecisions)
{
    // Float samples in and out: the path is the one of doubles, rounded once on the way out.
    for (const double monitor : {0.0, 1.0, 2.0, 3.0, 1.5})
        for (const bool linked : {false, true})
        {
            GateSettings s;
            s.monitor = monitor;
            s.preGate = linked ? 1 : 0;
            s.bandLink = linked ? 100 : 0;
            s.attack = 4;
            GateRig doubles(s), floats(s);
            PlainGate plain(s, 48000.0);
            BurstSource source;
            for (const std::size_t frames : {1u, 37u, 64u, 65u, 300u, 1000u})
            {
                std::vector<double> left(frames), right(frames);
                source.Fill(left.data(), right.data(), frames);
                std::vector<float> leftF(frames), rightF(frames);
                for (std::size_t j = 0; j < frames; ++j)
                {
                    leftF[j] = static_cast<float>(left[j]);
                    left[j] = leftF[j];
                    rightF[j] = static_cast<float>(right[j]);
                    right[j] = rightF[j];
                }
                std::vector<double> refL = left, refR = right;
                doubles.Process(left, right, static_cast<int>(frames));
                floats.Process(leftF, rightF, static_cast<int>(frames));
                plain.Block(refL.data(), refR.data(), frames);
                ASSERT_LT(std::max(MaxDifference(left, refL), MaxDifference(right, refR)), 1e-12)
                    << "monitor " << monitor << " linked " << linked << " block " << frames;
                for (std::size_t j = 0; j < frames; ++j)
                {
                    ASSERT_EQ(leftF[j], static_cast<float>(left[j])) << monitor << " " << j;
                    ASSERT_EQ(rightF[j], static_cast<float>(right[j])) << monitor << " " << j;
                }
            }
        }
}

TEST(GateBlocks, SampleCellsPathAndSharedBuffersGiveTheSameBits)
{
    GateSettings s;
    s.preGate = 1;
    s.attack = 1.3;
    s.bandLink = 40;
    GateRig separate(s), inPlace(s), cells(s);
    BurstSource source;
    for (const std::size_t frames : {1u, 64u, 65u, 200u, 777u})
    {
        std::vector<double> inL(frames), inR(frames);
        source.Fill(inL.data(), inR.data(), frames);
        const auto n = static_cast<std::int32_t>(frames);

        std::vector<double> outL(frames), outR(frames);
        const double* in[2] = {inL.data(), inR.data()};
        double* out[2] = {outL.data(), outR.data()};
        TXalto::Process(separate.gate, const_cast<double* const*>(in), out, n);

        std::vector<double> ioL = inL, ioR = inR;
        double* io[2] = {ioL.data(), ioR.data()};
        TXalto::Process(inPlace.gate, io, io, n);

        // The frames one at a time through the sample cells, as for other channel counts.
        std::vector<double> cellL = inL, cellR = inR;
        double* cellIo[2] = {cellL.data(), cellR.data()};
        {
            const DenormalGuard denormals;
            cells.gate.BlockSection();
            cells.gate.TXalto::ProcessFrames(cellIo, cellIo, n, 2);
            cells.gate.FinishBlock();
        }

        ASSERT_EQ(std::memcmp(outL.data(), ioL.data(), frames * sizeof(double)), 0) << frames;
        ASSERT_EQ(std::memcmp(outR.data(), ioR.data(), frames * sizeof(double)), 0) << frames;
        ASSERT_EQ(std::memcmp(outL.data(), cellL.data(), frames * sizeof(double)), 0) << frames;
        ASSERT_EQ(std::memcmp(outR.data(), cellR.data(), frames * sizeof(double)), 0) << frames;
    }
}

// FNV-1a of the output bits of the signal path for fixed coefficients, over the monitor modes,
// Pre-Gate and Band Link and block sizes around the chunk size. Computed natively; the 32- and
// 64-bit Windows builds must give the same.
TEST(GateBlocks, ChecksumOfOutputIsTheSameOnEveryBuild)
{
    gate::GateCoefficients c;
    c.splitCoef = 0.0633;
    c.threshLoGain = 0.0056;
    c.threshHiGain = 0.0125;
    c.gateRatio = 2.7;
    c.attackCoef = 0.96;
    c.attackMix = 1.0 - c.attackCoef;
    c.releaseCoefLo = 0.9989;
    c.releaseMixLo = 1.0 - c.releaseCoefLo;
    c.releaseCoefHi = 0.996;
    c.releaseMixHi = 1.0 - c.releaseCoefHi;
    c.peakCoef = 0.99896;
    c.smoothCoef = 0.00366;
    c.holdRatioLo = 0.566;
    c.holdRatioHi = 1.2;
    c.linkAmount = 0.75;
    c.linkRest = 1.0 - c.linkAmount;
    c.ringLength = 77;

    const DenormalGuard denormals; // as in every processing call
    std::uint64_t hash = 0xCBF29CE484222325;
    std::vector<double> ring(16384, 0.0);
    for (int variant = 0; variant < 10; ++variant)
    {
        gate::GateFrameState state;
        BurstSource source(4000);
        std::size_t block = 0;
        for (int frames : {1, 64, 65, 100, 512, 63, 4000})
        {
            std::vector<double> left(static_cast<std::size_t>(frames));
            std::vector<double> right(left.size());
            source.Fill(left.data(), right.data(), left.size());
            state.noiseOffset = 1e-10 * static_cast<double>(++block);
            const double* l = left.data();
            const double* r = right.data();
            switch (variant)
            {
            case 0:
                gate::RunBlock<0, false, false>(state, c, ring.data(), l, r, left.data(),
                                                right.data(), frames);
                break;
            case 1:
                gate::RunBlock<0, true, true>(state, c, ring.data(), l, r, left.data(),
                                              right.data(), frames);
                break;
            case 2:
                gate::RunBlock<1, false, true>(state, c, ring.data(), l, r, left.data(),
                                               right.data(), frames);
                break;
            case 3:
                gate::RunBlock<2, true, false>(state, c, ring.data(), l, r, left.data(),
                                               right.data(), frames);
                break;
            case 4:
                gate::RunBlock<3, false, false>(state, c, ring.data(), l, r, left.data(),
                                                right.data(), frames);
                break;
            case 5:
                gate::RunBlock<-1, true, true>(state, c, ring.data(), l, r, left.data(),
                                               right.data(), frames);
                break;
            default:
            {
                // Float samples, monitor "Output" at other ratios.
                c.gateRatio = 0.5 + 2.37 * (variant - 6);
                std::vector<float> leftF(left.begin(), left.end());
                std::vector<float> rightF(right.begin(), right.end());
                gate::RunBlock<0, false, true>(state, c, ring.data(), leftF.data(), rightF.data(),
                                               leftF.data(), rightF.data(), frames);
                left.assign(leftF.begin(), leftF.end());
                right.assign(rightF.begin(), rightF.end());
                break;
            }
            }
            for (std::size_t j = 0; j < left.size(); ++j)
                for (const double value : {left[j], right[j]})
                {
                    std::uint64_t bits;
                    std::memcpy(&bits, &value, sizeof bits);
                    for (int byte = 0; byte < 8; ++byte)
                        hash = (hash ^ ((bits >> (8 * byte)) & 0xFF)) * 0x100000001B3;
                }
        }
    }
    EXPECT_EQ(hash, 5648337305236755252u);
}

} // namespace
} // namespace vrn::test
