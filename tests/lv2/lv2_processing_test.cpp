// The LV2 instance processes exactly as the VST 2.4 build does: same bits for the same input,
// settings and block lengths, whatever the host's block lengths, buffers and control changes.
#include "tests/host/fake_host.h"
#include "tests/lv2/lv2_host.h"

#include "host/vest.h"
#include "runtime/parameter_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace vrn::test
{
namespace
{

/// Whether `a` and `b` hold the same samples, bit for bit.
bool SameBits(const std::vector<float>& a, const std::vector<float>& b)
{
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0);
}

/// An LV2 instance and a VST 2.4 instance fed the same blocks and the same settings.
struct TwinGates
{
    Lv2Instance lv2;
    Plugin vst;
    std::size_t position = 0; ///< frames of the test signal used so far

    /// Sets control `index` to `value` in the slider's units on both: the LV2 port, and the
    /// VST parameter to the same value normalised.
    void Set(std::uint32_t index, float value)
    {
        lv2.controls[index] = value;
        const SliderInfo& info = lv2.Gate().SliderInfos()[index];
        vst.Set(static_cast<int32>(index),
                static_cast<float>(ParameterRules::Normalise(info, value)));
    }

    /// One block of `frames` frames of the test signal through both; expects the same bits.
    void Block(std::uint32_t frames, bool inPlace = false)
    {
        std::vector<float> left(frames), right(frames);
        FillBursts(left, right, position);
        position += frames;
        std::vector<float> vstLeft = left, vstRight = right;
        float* vstChannels[2] = {vstLeft.data(), vstRight.data()};
        vst.effect->processReplacing(vst.effect, vstChannels, vstChannels,
                                     static_cast<int32>(frames));
        std::vector<float> outL(frames), outR(frames);
        if (inPlace)
        {
            lv2.Run(left, right);
            outL = left;
            outR = right;
        }
        else
        {
            lv2.Run(left.data(), right.data(), outL.data(), outR.data(), frames);
        }
        ASSERT_EQ(Sliders(lv2.Gate()), Sliders(GateOf(vst)));
        ASSERT_TRUE(SameBits(outL, vstLeft))
            << "block of " << frames << " at " << position - frames;
        ASSERT_TRUE(SameBits(outR, vstRight))
            << "block of " << frames << " at " << position - frames;
    }

    static TXaltoEffect& GateOf(Plugin& plugin)
    {
        return *static_cast<TXaltoEffect*>(static_cast<CVeST*>(plugin.effect->object)->effect);
    }
};

TEST(Lv2Processing, BlockLengthsAndBuffersMatchTheVstBuild)
{
    TwinGates gates;
    for (const std::uint32_t frames : {0u, 1u, 4096u, 7u, 0u, 513u, 64u, 1u, 65u, 3000u})
        gates.Block(frames);
    // Inputs and outputs in the same buffers.
    for (const std::uint32_t frames : {1u, 4096u, 100u})
        gates.Block(frames, true);
}

TEST(Lv2Processing, ControlsChangedBetweenRunsMatchTheVstBuild)
{
    TwinGates gates;
    gates.Block(2048);
    // Pre-Gate with a 2.5 ms look-ahead, a hard gate, Band Link and a new crossover.
    gates.Set(0, 2.5f);
    gates.Set(8, 1.0f);
    gates.Set(6, 10.0f);
    gates.Set(3, -30.0f);
    gates.Block(4096);
    gates.Set(9, 60.0f);
    gates.Set(5, 1210.0f);
    gates.Block(999);
    for (const float monitor : {1.0f, 2.0f, 3.0f, 0.0f})
    {
        gates.Set(7, monitor);
        gates.Block(700);
    }
}

TEST(Lv2Processing, ControlsChangedAtEveryRunMatchTheVstBuild)
{
    TwinGates gates;
    // A host automating two controls, with one change per run of 32 frames.
    for (int run = 0; run < 300; ++run)
    {
        gates.Set(4, static_cast<float>(-80 + (run % 70)));
        gates.Set(1, static_cast<float>(5 + 3 * run));
        gates.Set(0, static_cast<float>(run % 20) * 0.5f);
        gates.Block(32);
    }
}

TEST(Lv2Processing, NonFiniteAudioIsSafeAndMatchesTheVstBuild)
{
    TwinGates gates;
    gates.Set(8, 1.0f); // the look-ahead rings see the bad samples too
    gates.Block(1000);
    const float bad[] = {std::numeric_limits<float>::quiet_NaN(),
                         std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity(), 3.0e38f};
    for (const float value : bad)
    {
        std::vector<float> left(256, value), right(256, 0.25f);
        std::vector<float> outL(256), outR(256);
        gates.lv2.Run(left.data(), right.data(), outL.data(), outR.data(), 256);
        float* channels[2] = {left.data(), right.data()};
        gates.vst.effect->processReplacing(gates.vst.effect, channels, channels, 256);
        EXPECT_TRUE(SameBits(outL, left)) << value;
        EXPECT_TRUE(SameBits(outR, right)) << value;
        for (const float sample : outR)
            ASSERT_TRUE(std::isfinite(sample)) << value;
        // Afterwards the gate works on, as the VST build does.
        gates.Block(2000);
    }
}

TEST(Lv2Processing, ActivateAndDeactivateAreResumeAndSuspend)
{
    TwinGates gates;
    gates.Set(2, 300.0f);
    gates.Block(3000);
    gates.lv2.Deactivate();
    gates.vst.Dispatch(effMainsChanged, 0, 0);
    gates.lv2.Activate();
    gates.vst.Dispatch(effMainsChanged, 0, 1);
    gates.Block(3000);
}

TEST(Lv2Processing, LatencyPortReportsTheLookAhead)
{
    Lv2Instance gate;
    std::vector<float> left(64, 0.0f), right(64, 0.0f);
    gate.Run(left, right);
    EXPECT_EQ(gate.latency, 0.0f);
    gate.controls[0] = 1.0f; // attack 1 ms: 48 samples at 48 kHz
    gate.controls[8] = 1.0f;
    gate.Run(left.data(), right.data(), left.data(), right.data(), 0);
    EXPECT_EQ(gate.latency, 48.0f) << "a run of 0 frames reports it too";
    gate.controls[0] = 10.0f;
    gate.Run(left, right);
    EXPECT_EQ(gate.latency, 480.0f);
    gate.controls[8] = 0.0f;
    gate.Run(left, right);
    EXPECT_EQ(gate.latency, 0.0f) << "no latency once the look-ahead is off";

    Lv2Instance slow(44100.0);
    slow.controls[0] = 10.0f;
    slow.controls[8] = 1.0f;
    slow.Run(left, right);
    EXPECT_EQ(slow.latency, 441.0f);
}

TEST(Lv2Processing, ReadsNoUnconnectedPort)
{
    Lv2Instance gate;
    // A host that disconnects controls and audio: the run is safe and writes nothing.
    for (std::uint32_t port = 0; port < lv2::kPortCount; ++port)
        gate.descriptor->connect_port(gate.handle, port, nullptr);
    gate.descriptor->run(gate.handle, 128);
    gate.descriptor->connect_port(gate.handle, 99, &gate.latency); // no such port
    gate.descriptor->run(gate.handle, 0);
    EXPECT_EQ(gate.latency, -1.0f);
}

} // namespace
} // namespace vrn::test
