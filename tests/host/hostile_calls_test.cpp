// Hostile audio and odd call orders: the plug-in stays finite, answers safely and recovers.
#include "tests/host/fake_host.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

namespace vrn::test
{
namespace
{

bool AllFinite(const std::vector<double>& v)
{
    for (double x : v)
        if (!std::isfinite(x))
            return false;
    return true;
}

std::vector<double> Tone(std::size_t frames, double level)
{
    std::vector<double> v(frames);
    for (std::size_t j = 0; j < frames; ++j)
        v[j] = level * std::sin(0.03 * static_cast<double>(j));
    return v;
}

TEST(HostileAudio, NonFiniteInputIsForgottenWithinOneBlock)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double poison : {nan, inf, -inf, DBL_MAX, -DBL_MAX})
    {
        Plugin plugin;
        plugin.Set(8, 1.0f); // Pre-Gate keeps old audio in its rings: those must be cleared too
        plugin.Set(0, 1.0f);
        plugin.Set(9, 0.5f);
        std::vector<double> l = Tone(512, 0.5), r = Tone(512, 0.5);
        l[17] = poison;
        r[300] = poison;
        plugin.Process(l, r, 512);
        std::vector<double> after = Tone(512, 0.5), afterR = Tone(512, 0.5);
        plugin.Process(after, afterR, 512);
        EXPECT_TRUE(AllFinite(after)) << poison;
        EXPECT_TRUE(AllFinite(afterR)) << poison;
    }
}

TEST(HostileAudio, ExtremeButFiniteSignalsStayFiniteAndBounded)
{
    Plugin plugin;
    std::vector<double> square(48000), dc(48000, 1.0), tiny(48000, 1e-310);
    for (std::size_t j = 0; j < square.size(); ++j)
        square[j] = (j / 24) % 2 ? 1.0 : -1.0;
    for (std::vector<double>* signal : {&square, &dc, &tiny})
    {
        std::vector<double> l = *signal, r = *signal;
        plugin.Process(l, r, 512);
        ASSERT_TRUE(AllFinite(l));
        for (double v : l)
            ASSERT_LE(std::fabs(v),
                      2.0); // the gate only attenuates (plus the band-split overshoot)
    }
}

TEST(HostileAudio, HugeFiniteSamplesAreSilenceAndTheOutputStaysFinite)
{
    // Found by fuzzing: near ±FLT_MAX the high band (input minus low band) grows up to twice
    // as large as any float, so the float output turned infinite within the block (and near
    // ±DBL_MAX the double one).
    for (const bool doublePrecision : {false, true})
    {
        Plugin plugin;
        plugin.Set(7, 1.0f); // Monitor: Hi-band
        plugin.Set(9, 1.0f); // Band Link 100 %
        const double huge = doublePrecision ? DBL_MAX : FLT_MAX;
        std::vector<double> l = Tone(512, 0.5), r = Tone(512, 0.5);
        // Long runs of −huge pull the low band down; then +huge stands far above it.
        for (std::size_t j = 0; j < l.size(); ++j)
            l[j] = r[j] = j % 32 == 31 ? huge : -huge;
        if (doublePrecision)
        {
            plugin.Process(l, r, 512);
            EXPECT_TRUE(AllFinite(l) && AllFinite(r));
            continue;
        }
        std::vector<float> fl(l.begin(), l.end()), fr(r.begin(), r.end());
        plugin.ProcessFloat(fl, fr, 512);
        for (std::size_t j = 0; j < fl.size(); ++j)
            ASSERT_TRUE(std::isfinite(fl[j]) && std::isfinite(fr[j])) << j;
    }
}

TEST(HostileAudio, AnyBlockSizeAndAliasedBuffersGiveTheSameResult)
{
    std::vector<double> l1 = Tone(3000, 0.4), r1 = Tone(3000, 0.2);
    std::vector<double> l2 = l1, r2 = r1;
    Plugin a, b;
    a.Process(l1, r1, 1); // one frame per block
    // Separate output buffers, blocks of 512.
    std::vector<double> outL(l2.size()), outR(r2.size());
    for (std::size_t start = 0; start < l2.size(); start += 512)
    {
        const auto n = static_cast<int32>(std::min<std::size_t>(512, l2.size() - start));
        double* in[2] = {l2.data() + start, r2.data() + start};
        double* out[2] = {outL.data() + start, outR.data() + start};
        b.effect->processDoubleReplacing(b.effect, in, out, n);
    }
    // Blocks of one frame renew the detector offset every frame: allow for it (≤ 1e-9).
    for (std::size_t j = 0; j < l1.size(); ++j)
        ASSERT_NEAR(l1[j], outL[j], 1e-8) << j;

    // Left and right output written into the same buffer as the left input.
    Plugin c;
    std::vector<double> shared = Tone(512, 0.3);
    double* in[2] = {shared.data(), shared.data()};
    double* out[2] = {shared.data(), shared.data()};
    c.effect->processDoubleReplacing(c.effect, in, out, 512);
    EXPECT_TRUE(AllFinite(shared));
}

TEST(HostileOrder, ProcessingBeforeResumeAndAfterSuspendIsFinite)
{
    Plugin plugin(48000.0, 512, false); // opened, never resumed
    std::vector<double> l = Tone(1024, 0.5), r = Tone(1024, 0.5);
    plugin.Process(l, r);
    EXPECT_TRUE(AllFinite(l));
    plugin.Dispatch(effMainsChanged, 0, 0); // suspend without a resume
    plugin.Dispatch(effMainsChanged, 0, 1);
    plugin.Dispatch(effMainsChanged, 0, 1); // resume twice
    std::vector<unsigned char> chunk = plugin.Chunk();
    plugin.Dispatch(effMainsChanged, 0, 0);
    plugin.Dispatch(effSetChunk, 0, static_cast<intptr>(chunk.size()), chunk.data());
    plugin.Process(l, r);
    EXPECT_TRUE(AllFinite(l));
    EXPECT_EQ(plugin.Chunk(), chunk);
}

TEST(HostileOrder, HostileSampleRatesKeepTheGateFinite)
{
    for (float rate : {0.0f, -48000.0f, 1.0f, 1e9f, std::numeric_limits<float>::quiet_NaN(),
                       std::numeric_limits<float>::infinity()})
    {
        Plugin plugin;
        plugin.Dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        plugin.Dispatch(effMainsChanged, 0, 1);
        plugin.Set(8, 1.0f);
        plugin.Set(0, 1.0f);
        std::vector<double> l = Tone(2048, 0.5), r = Tone(2048, 0.5);
        plugin.Process(l, r);
        EXPECT_TRUE(AllFinite(l)) << rate;
        EXPECT_GE(plugin.effect->initialDelay, 0);
        EXPECT_LE(plugin.effect->initialDelay, 1999);
    }
}

TEST(HostileOrder, CloseRightAfterOpen)
{
    FakeHost host;
    FakeHost::current = &host;
    for (int i = 0; i < 3; ++i)
    {
        AEffect* effect = CreateGatePlugin(&FakeHost::Callback);
        ASSERT_NE(effect, nullptr);
        effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
        EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1);
    }
    FakeHost::current = nullptr;
}

} // namespace
} // namespace vrn::test
