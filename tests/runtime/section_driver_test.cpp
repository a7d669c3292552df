// The section driver: which sections run for which host event, and the state vector.
#include "runtime/xalto.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace vrn
{
namespace
{

/// An effect that records its sections and stores slider 1 in the state.
class RecordingEffect final : public TXalto
{
public:
    std::vector<std::string> calls;
    bool serializes = true;

    void SliderSection() override { calls.push_back("slider"); }
    void BlockSection() override { calls.push_back("block"); }
    void SampleSection() override
    {
        ++frames;
        samples[0] *= 2.0;
        samples[1] += 1.0;
    }
    void InitSection() override { calls.push_back("init"); }
    void SerializeSection() override
    {
        calls.push_back("serialize");
        if (!serializes)
            return;
        double value = Slider(1);
        StateStream().Transfer(value);
        Slider(1) = value;
    }
    int frames = 0;
};

class RedrawCounter : public IHostServices
{
public:
    int redraws = 0;
    std::int32_t ChannelCount() const override { return 2; }
    double SampleRate() const override { return 48000.0; }
    double BlockSize() const override { return 64.0; }
    double Tempo() override { return 0.0; }
    bool TimeForBlock(BlockTime&) override { return false; }
    void ReportLatency(std::int32_t) override {}
    bool EditorSize(std::int32_t&, std::int32_t&) const override { return false; }
    bool RequestRedraw() override { return ++redraws > 0; }
    bool NextMidiEvent(MidiMessage&) override { return false; }
};

std::vector<float> Floats(std::initializer_list<float> values)
{
    return std::vector<float>(values);
}

TEST(SectionDriver, ResumeRunsInitThenSliders)
{
    RecordingEffect effect;
    effect.Resume();
    effect.Resume();
    EXPECT_EQ(effect.calls, (std::vector<std::string>{"init", "slider", "init", "slider"}));
    EXPECT_EQ(effect.initCount, 0);
}

TEST(SectionDriver, ProcessingRunsOneBlockAndOneSamplePerFrame)
{
    RedrawCounter host;
    RecordingEffect effect;
    effect.vest = &host;
    std::vector<float> left{1, 2, 3}, right{1, 2, 3};
    float* io[2] = {left.data(), right.data()}; // in place: each frame read before written
    TXalto::Process(effect, io, io, 3);
    EXPECT_EQ(effect.calls, std::vector<std::string>{"block"});
    EXPECT_EQ(effect.frames, 3);
    EXPECT_EQ(left, Floats({2, 4, 6}));
    EXPECT_EQ(right, Floats({2, 3, 4}));

    TXalto::Process(effect, io, io, 0);
    TXalto::Process(effect, io, io, -5);
    EXPECT_EQ(effect.calls, (std::vector<std::string>{"block", "block", "block"}));
    EXPECT_EQ(effect.frames, 3);
}

TEST(SectionDriver, FreshStateIsTheMarkerAndTheValues)
{
    RecordingEffect effect;
    effect.Slider(1) = 2.1;
    void* data = nullptr;
    ASSERT_EQ(effect.GetState(&data), 8);
    float values[2];
    std::memcpy(values, data, sizeof values);
    EXPECT_EQ(values[0], -1000.0f);
    EXPECT_EQ(values[1], 2.1f);

    effect.serializes = false;
    EXPECT_EQ(effect.GetState(&data), 0);
    EXPECT_EQ(data, nullptr);
}

TEST(SectionDriver, SetStateRunsInitOnceThenSerializeAndSliders)
{
    RecordingEffect effect;
    const std::vector<float> chunk = Floats({-1000.0f, 7.5f});
    EXPECT_EQ(effect.SetState(chunk.data(), 8), 8);
    EXPECT_EQ(effect.Slider(1), 7.5);
    EXPECT_EQ(effect.SetState(chunk.data(), 8), 8);
    EXPECT_EQ(effect.calls,
              (std::vector<std::string>{"init", "serialize", "slider", "serialize", "slider"}));
    EXPECT_EQ(effect.initCount, 2);
}

TEST(SectionDriver, BadChunksAreTakenAndIgnored)
{
    RecordingEffect effect;
    effect.Slider(1) = 4.0;
    const std::vector<float> wrongMarker = Floats({-999.0f, 1.0f});
    EXPECT_EQ(effect.SetState(wrongMarker.data(), 8), 8);
    EXPECT_EQ(effect.SetState(wrongMarker.data(), 3), 3);
    EXPECT_EQ(effect.SetState(nullptr, 0), 0);
    EXPECT_EQ(effect.SetState(wrongMarker.data(), -8), 0);
    EXPECT_TRUE(effect.calls.empty());
    EXPECT_EQ(effect.Slider(1), 4.0);

    // An unaligned chunk with trailing bytes.
    unsigned char bytes[11] = {};
    const float marker = -1000.0f, value = 9.0f;
    std::memcpy(bytes + 1, &marker, 4);
    std::memcpy(bytes + 5, &value, 4);
    EXPECT_EQ(effect.SetState(bytes + 1, 10), 10);
    EXPECT_EQ(effect.Slider(1), 9.0);
}

TEST(SectionDriver, ResetClearsMemoryAndStrings)
{
    RecordingEffect effect;
    effect.Cell(5) = 1.0;
    effect.strings.Assign(3, "x");
    effect.lastRedrawTick = 99;
    effect.Slider(1) = 6.0;
    effect.Reset();
    EXPECT_EQ(effect.LoadCell(5), 0.0);
    EXPECT_EQ(effect.BlockCount(), 1u); // kept, zero-filled, for the next use
    EXPECT_EQ(effect.strings.Count(), 0.0);
    EXPECT_EQ(effect.lastRedrawTick, 0u);
    EXPECT_EQ(effect.Slider(1), 6.0); // sliders survive
}

// The redraw timer reads this clock in the tests below, not the machine's.
std::uint32_t fakeNow = 0;
std::uint32_t FakeClock()
{
    return fakeNow;
}

TEST(SectionDriver, RedrawsArePacedByTheFrameRate)
{
    RedrawCounter host;
    RecordingEffect effect;
    effect.vest = &host;
    effect.redrawClock = &FakeClock;
    fakeNow = 5000;
    effect.frameRate = 0.0;
    effect.RedrawTick();
    EXPECT_EQ(host.redraws, 0);

    effect.frameRate = 30.0; // more than 33.3 ms between redraws
    effect.RedrawTick();
    EXPECT_EQ(host.redraws, 1);
    fakeNow += 33;
    effect.RedrawTick();
    EXPECT_EQ(host.redraws, 1);
    fakeNow += 1;
    effect.RedrawTick();
    EXPECT_EQ(host.redraws, 2);
    effect.RedrawTick(); // the same millisecond: too soon
    EXPECT_EQ(host.redraws, 2);
}

TEST(SectionDriver, RedrawTimerKeepsRunningAcrossTheClockWrap)
{
    RedrawCounter host;
    RecordingEffect effect;
    effect.vest = &host;
    effect.redrawClock = &FakeClock;
    effect.frameRate = 30.0;

    // A machine up for more than 2^31 ms: the first tick after Reset must still redraw.
    effect.Reset();
    fakeNow = 0x80000010u;
    effect.RedrawTick();
    EXPECT_EQ(host.redraws, 1);

    // The last redraw just before the 32-bit wrap, the next ones just after it.
    fakeNow = 0xFFFFFFF0u;
    effect.RedrawTick();
    EXPECT_EQ(host.redraws, 2);
    fakeNow = 0x0000000Au; // 26 ms later
    effect.RedrawTick();
    EXPECT_EQ(host.redraws, 2);
    fakeNow = 0x00000013u; // 35 ms later
    effect.RedrawTick();
    EXPECT_EQ(host.redraws, 3);
    // That redraw was due at 0x11.33 (one period after the last), so the next is due at 0x32.67.
    fakeNow = 0x00000032u;
    effect.RedrawTick();
    EXPECT_EQ(host.redraws, 3);
    fakeNow = 0x00000033u;
    effect.RedrawTick();
    EXPECT_EQ(host.redraws, 4);
}

/// Redraws requested over `seconds` of idle calls every `idleMs`, the clock stepping `stepMs`;
/// `times` collects the clock readings of the redraws.
int RedrawsWith(double stepMs, double idleMs, double seconds, std::vector<double>* times = nullptr)
{
    RedrawCounter host;
    RecordingEffect effect;
    effect.vest = &host;
    effect.redrawClock = &FakeClock;
    effect.frameRate = 30.0;
    int last = 0;
    for (double t = 1000.0; t < 1000.0 + seconds * 1000.0; t += idleMs)
    {
        fakeNow = static_cast<std::uint32_t>(std::floor(t / stepMs) * stepMs);
        effect.RedrawTick();
        if (times && host.redraws != last)
            times->push_back(fakeNow);
        last = host.redraws;
    }
    return host.redraws;
}

TEST(SectionDriver, ThePlatformClockStepsAtMostTwoMilliseconds)
{
    // Watch the redraw timer's own clock advance 100 times. A preempted thread may see a longer
    // jump now and then, so the typical step (the median) is what must be fine.
    const TXalto::MillisecondClockFunction clock = RecordingEffect().redrawClock;
    std::vector<std::uint32_t> steps;
    std::uint32_t last = clock();
    for (long spins = 0; steps.size() < 100 && spins < 2000000000L; ++spins)
    {
        const std::uint32_t now = clock();
        if (now != last)
            steps.push_back(now - last);
        last = now;
    }
    ASSERT_EQ(steps.size(), 100u);
    std::nth_element(steps.begin(), steps.begin() + 50, steps.end());
    EXPECT_LE(steps[50], 2u);
}

TEST(SectionDriver, ThirtyRedrawsASecondWhateverTheClockStepAndIdleRhythm)
{
    // Windows' tick count steps 15.6 ms; hosts idle every 10 ms or so.
    for (double step : {1.0, 15.625})
        for (double idle : {10.0, 7.0, 16.0})
        {
            std::vector<double> times;
            const int redraws = RedrawsWith(step, idle, 10.0, &times);
            EXPECT_GE(redraws, 280) << "clock step " << step << " ms, idle every " << idle;
            EXPECT_LE(redraws, 310) << "clock step " << step << " ms, idle every " << idle;
            for (std::size_t i = 1; i < times.size(); ++i)
                ASSERT_GT(times[i] - times[i - 1], 1000.0 / 30.0 / 2.0) << "never a burst";
        }
    // Idle calls rarer than the period: one redraw per call, no catching up afterwards.
    EXPECT_EQ(RedrawsWith(1.0, 50.0, 10.0), 200);
}

} // namespace
} // namespace vrn
