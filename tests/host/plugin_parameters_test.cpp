// Parameters, chunks, MIDI and audio as a host sees them through the AEffect.
#include "tests/host/fake_host.h"

#include "effect/gate_effect.h"
#include "host/vest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace vrn::test
{
namespace
{

TXaltoEffect& GateOf(Plugin& plugin)
{
    auto* wrapper = static_cast<CVeST*>(plugin.effect->object);
    return *static_cast<TXaltoEffect*>(wrapper->effect);
}

std::vector<float> Floats(const std::vector<unsigned char>& bytes)
{
    std::vector<float> values(bytes.size() / 4);
    std::memcpy(values.data(), bytes.data(), values.size() * 4);
    return values;
}

TEST(Parameters, NamesLabelsAndDefaultDisplays)
{
    Plugin plugin;
    const char* names[] = {"Attack",       "Release Lo", "Release Hi",        "Threshold Lo",
                           "Threshold Hi", "Crossover",  "Ratio [Exp<>Gate]", "Monitor",
                           "Pre-Gate",     "Band Link"};
    const char* displays[] = {"0.00",   "20.00", "20.00",  "-45.00", "-45.00",
                              "500.00", "2.00",  "Output", "Off",    "0.00"};
    for (int32 i = 0; i < 10; ++i)
    {
        EXPECT_EQ(plugin.Text(effGetParamName, i), names[i]);
        EXPECT_EQ(plugin.Text(effGetParamLabel, i), "");
        EXPECT_EQ(plugin.Text(effGetParamDisplay, i), displays[i]);
    }
}

TEST(Parameters, NormalisedValues)
{
    Plugin plugin;
    EXPECT_EQ(plugin.Get(3), 0.5f); // -45 in -90..0
    EXPECT_FLOAT_EQ(plugin.Get(5), (500.0f - 100.0f) / 7900.0f);
    EXPECT_FLOAT_EQ(plugin.Get(6), 1.5f / 9.5f);
    EXPECT_EQ(plugin.Get(7), 0.0f);
}

TEST(Parameters, SetQuantisesToTheStep)
{
    Plugin plugin;
    TXaltoEffect& gate = GateOf(plugin);
    plugin.Set(0, 0.5f);
    EXPECT_DOUBLE_EQ(gate.Slider(1), 5.0);
    plugin.Set(9, 1.0f);
    EXPECT_EQ(gate.Slider(10), 100.0);
    plugin.Set(2, 0.0f);
    EXPECT_EQ(gate.Slider(3), 5.0);
    plugin.Set(5, 0.123456f); // 100 + 0.123456 × 7900 = 1075.3 → 1080 on the 10 Hz grid
    EXPECT_EQ(gate.Slider(6), 1080.0);
    EXPECT_EQ(plugin.Text(effGetParamDisplay, 5), "1080.00");
    plugin.Set(7, 1.0f);
    EXPECT_EQ(plugin.Text(effGetParamDisplay, 7), "Hi-band");
    plugin.Set(8, 1.0f);
    EXPECT_EQ(plugin.Text(effGetParamDisplay, 8), "On");
}

TEST(Parameters, AnUnchangedValueRunsNoSliderSection)
{
    Plugin plugin;
    TXaltoEffect& gate = GateOf(plugin);
    gate.controlValues[0] = -1.0; // SliderSection would overwrite this
    plugin.Set(0, 0.001f);        // 0.01 ms quantises to the current 0
    EXPECT_EQ(gate.controlValues[0], -1.0);
    plugin.Set(0, 0.1f);
    EXPECT_DOUBLE_EQ(gate.controlValues[0], 1.0);
}

TEST(Parameters, HostileValuesNeverLeaveTheRange)
{
    Plugin plugin;
    TXaltoEffect& gate = GateOf(plugin);
    plugin.Set(5, std::nanf(""));
    EXPECT_EQ(gate.Slider(6), 500.0);
    plugin.Set(5, 1e30f);
    EXPECT_EQ(gate.Slider(6), 8000.0);
    plugin.Set(5, -INFINITY);
    EXPECT_EQ(gate.Slider(6), 100.0);
}

TEST(Parameters, DisplayTruncatesTowardTheLowerOption)
{
    Plugin plugin;
    TXaltoEffect& gate = GateOf(plugin);
    gate.Slider(8) = 2.9;
    EXPECT_EQ(plugin.Text(effGetParamDisplay, 7), "Lo-band");
    gate.Slider(8) = 7.0;
    EXPECT_EQ(plugin.Text(effGetParamDisplay, 7), "Hi-band");
    gate.Slider(8) = -3.0;
    EXPECT_EQ(plugin.Text(effGetParamDisplay, 7), "Output");
    gate.Slider(6) = std::nan("");
    EXPECT_EQ(plugin.Text(effGetParamDisplay, 5).substr(0, 3).find_first_of("nN"), 0u);
}

TEST(Chunk, FreshGateGivesTheMarkerAndSixtyFourSliders)
{
    Plugin plugin;
    const std::vector<unsigned char> bytes = plugin.Chunk();
    ASSERT_EQ(bytes.size(), 260u);
    // -1000.0f little-endian, then Attack 0.0 and Release Lo 20.0.
    const unsigned char golden[] = {0x00, 0x00, 0x7A, 0xC4, 0, 0, 0, 0, 0x00, 0x00, 0xA0, 0x41};
    EXPECT_EQ(std::memcmp(bytes.data(), golden, sizeof golden), 0);
    const std::vector<float> v = Floats(bytes);
    const float sliders[] = {0, 20, 20, -45, -45, 500, 2, 0, 0, 0};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(v[static_cast<std::size_t>(i + 1)], sliders[i]) << i;
    for (std::size_t i = 11; i < 65; ++i)
        EXPECT_EQ(v[i], 0.0f);
}

TEST(Chunk, RoundTripRestoresEverySlider)
{
    std::vector<unsigned char> saved;
    {
        Plugin source;
        for (int32 i = 0; i < 10; ++i)
            source.Set(i, 0.1f * static_cast<float>(i + 1) - 0.03f);
        GateOf(source).Slider(40) = 12.5; // an undeclared cell travels too
        saved = source.Chunk();
    }
    Plugin target;
    EXPECT_EQ(target.Dispatch(effSetChunk, 0, static_cast<intptr>(saved.size()), saved.data()),
              static_cast<intptr>(saved.size()));
    EXPECT_EQ(target.Chunk(), saved);
    EXPECT_EQ(GateOf(target).Slider(40), 12.5);
    // Coefficients follow the restored sliders at once.
    EXPECT_EQ(GateOf(target).Coefficients().crossoverHz, GateOf(target).Slider(6));
}

TEST(Chunk, RatioComesBackAtFloatPrecision)
{
    Plugin plugin;
    GateOf(plugin).Slider(7) = 2.1;
    std::vector<unsigned char> bytes = plugin.Chunk();
    plugin.Dispatch(effSetChunk, 0, static_cast<intptr>(bytes.size()), bytes.data());
    EXPECT_EQ(GateOf(plugin).Slider(7), static_cast<double>(2.1f));
}

TEST(Chunk, ShortChunksRestoreWhatTheyCover)
{
    Plugin plugin;
    TXaltoEffect& gate = GateOf(plugin);
    gate.Slider(20) = 3.0;
    std::vector<float> chunk{-1000.0f, 1, 30, 40, -20, -30, 50, 3, 2, 1.5f, 25};
    plugin.Dispatch(effSetChunk, 0, static_cast<intptr>(chunk.size() * 4), chunk.data());
    EXPECT_EQ(gate.Slider(1), 1.0);
    EXPECT_EQ(gate.Slider(6), 50.0); // below the Crossover minimum: taken as is
    EXPECT_EQ(gate.Slider(9), 1.5);
    EXPECT_EQ(gate.Slider(10), 25.0);
    EXPECT_EQ(gate.Slider(20), 3.0);
    EXPECT_EQ(gate.serialIndex, 65.0);
    EXPECT_NEAR(gate.Coefficients().splitCoef, 1.0 - std::exp(-6.283185307179586 * 50.0 / 48000.0),
                1e-15);
}

TEST(Chunk, ValuesOutsideTheRangesStayInForceButTheHostReadsThemWithinZeroAndOne)
{
    // Hand-made or from a newer version: every value is outside its slider's range. The
    // sliders keep them; the host, which takes parameters as 0..1 only, reads the nearest end.
    Plugin plugin;
    std::vector<float> chunk{-1000.0f, 20, 2000, 1, 6, -120, 50, 12, 7, 3, -50};
    plugin.Dispatch(effSetChunk, 0, static_cast<intptr>(chunk.size() * 4), chunk.data());
    const float expected[] = {1, 1, 0, 1, 0, 0, 1, 1, 1, 0};
    for (int32 i = 0; i < 10; ++i)
        EXPECT_EQ(plugin.Get(i), expected[i]) << i;
    EXPECT_EQ(GateOf(plugin).Slider(6), 50.0); // Crossover 50 Hz lies below the range
    EXPECT_EQ(plugin.Text(effGetParamDisplay, 5), "50.00");
    EXPECT_EQ(plugin.Text(effGetParamDisplay, 7), "Hi-band");

    std::vector<double> left(48000), right(48000);
    for (std::size_t j = 0; j < left.size(); ++j)
    {
        left[j] = j < 24000 ? 0.8 * std::sin(0.05 * static_cast<double>(j)) : 0.0;
        right[j] = j % 7 == 0 ? 0.9 : -0.2;
    }
    for (const int block : {512, 1, 64})
    {
        std::vector<double> l = left, r = right;
        plugin.Process(l, r, block);
        for (std::size_t j = 0; j < l.size(); ++j)
        {
            ASSERT_TRUE(std::isfinite(l[j]) && std::isfinite(r[j])) << j;
            ASSERT_LE(std::fabs(l[j]), 2.0) << j; // the gate never amplifies beyond the split
        }
    }
}

TEST(Chunk, BadChunksChangeNothingAndAreTaken)
{
    Plugin plugin;
    TXaltoEffect& gate = GateOf(plugin);
    const std::vector<unsigned char> before = plugin.Chunk();
    std::vector<float> wrong{-999.0f, 5, 5, 5};
    EXPECT_EQ(plugin.Dispatch(effSetChunk, 0, 16, wrong.data()), 16);
    unsigned char three[3] = {0, 0, 0x7A};
    EXPECT_EQ(plugin.Dispatch(effSetChunk, 0, 3, three), 3);
    EXPECT_EQ(plugin.Chunk(), before);

    // Non-finite values in a stored chunk keep the slider's value.
    std::vector<float> poisoned{-1000.0f, NAN, INFINITY, 30};
    plugin.Dispatch(effSetChunk, 0, 16, poisoned.data());
    EXPECT_EQ(gate.Slider(1), 0.0);
    EXPECT_EQ(gate.Slider(2), 20.0);
    EXPECT_EQ(gate.Slider(3), 30.0);
}

TEST(Chunk, SetChunkBeforeResumeRunsInitOnce)
{
    Plugin plugin(48000.0, 512, false);
    TXaltoEffect& gate = GateOf(plugin);
    EXPECT_EQ(gate.releaseMaxMs, 0.0);
    std::vector<unsigned char> bytes = plugin.Chunk();
    plugin.Dispatch(effSetChunk, 0, static_cast<intptr>(bytes.size()), bytes.data());
    EXPECT_EQ(gate.releaseMaxMs, 1000.0);
    EXPECT_EQ(gate.initCount, 1);
    EXPECT_EQ(gate.Cell(1000002), 10003.0);
    EXPECT_EQ(gate.strings.Slot(10003), "Lo-Band");
    EXPECT_TRUE(gate.strings.Contains(10027));
    EXPECT_EQ(gate.strings.Slot(10027), "");
    EXPECT_EQ(gate.frameRate, 30.0);
}

TEST(Audio, LatencyReachesTheHostAtTheNextBlock)
{
    Plugin plugin;
    plugin.Set(0, 0.1f); // attack 1 ms
    plugin.Set(8, 1.0f); // Pre-Gate on
    EXPECT_EQ(plugin.effect->initialDelay, 0);
    float* none[2] = {nullptr, nullptr};
    plugin.effect->processReplacing(plugin.effect, none, none, 0);
    EXPECT_EQ(plugin.effect->initialDelay, 48);
    plugin.Set(8, 0.0f);
    plugin.effect->processReplacing(plugin.effect, none, none, 0);
    EXPECT_EQ(plugin.effect->initialDelay, 0);
    EXPECT_EQ(plugin.host.Count(audioMasterIOChanged), 0);
}

TEST(Audio, FloatAndDoublePathsAgree)
{
    Plugin a, b;
    std::vector<double> l(4800), r(4800);
    std::vector<float> lf(4800), rf(4800);
    for (std::size_t j = 0; j < l.size(); ++j)
    {
        lf[j] = static_cast<float>(0.5 * std::sin(0.01 * static_cast<double>(j)));
        rf[j] = static_cast<float>(0.3 * std::sin(0.2 * static_cast<double>(j)));
        l[j] = lf[j];
        r[j] = rf[j];
    }
    a.Process(l, r, 256);
    b.ProcessFloat(lf, rf, 256);
    for (std::size_t j = 0; j < l.size(); ++j)
        ASSERT_NEAR(lf[j], l[j], 1e-6) << j;
}

TEST(Midi, QueueKeepsTheLastThousandEvents)
{
    Plugin plugin;
    auto* wrapper = static_cast<CVeST*>(plugin.effect->object);
    auto send = [&](int count)
    {
        std::vector<VstMidiEvent> events(static_cast<std::size_t>(count));
        std::vector<VstEvent*> pointers;
        for (int i = 0; i < count; ++i)
        {
            VstMidiEvent& e = events[static_cast<std::size_t>(i)];
            e.type = kVstMidiType;
            e.byteSize = sizeof(VstMidiEvent);
            e.deltaFrames = i;
            e.midiData[0] = static_cast<char>(0x90);
            e.midiData[1] = static_cast<char>(i % 128);
            e.midiData[2] = 100;
            pointers.push_back(reinterpret_cast<VstEvent*>(&e));
        }
        VstEvent sysex{};
        sysex.type = kVstSysExType;
        pointers.push_back(&sysex);
        std::vector<unsigned char> list(sizeof(VstEvents) + pointers.size() * sizeof(VstEvent*));
        auto* header = reinterpret_cast<VstEvents*>(list.data());
        header->numEvents = static_cast<int32>(pointers.size());
        std::memcpy(reinterpret_cast<unsigned char*>(header->events), pointers.data(),
                    pointers.size() * sizeof(VstEvent*));
        EXPECT_EQ(plugin.Dispatch(effProcessEvents, 0, 0, header), 1);
    };
    MidiMessage message;
    send(1000);
    EXPECT_FALSE(wrapper->NextMidiEvent(message)); // the writer lapped the reader
    send(1001);
    ASSERT_TRUE(wrapper->NextMidiEvent(message));
    EXPECT_EQ(message.deltaFrames, 1000);
    EXPECT_EQ(message.status, 0x90);
    EXPECT_EQ(message.data1, 1000 % 128);
    EXPECT_EQ(message.data2, 100);
    EXPECT_FALSE(wrapper->NextMidiEvent(message));
    EXPECT_EQ(message.deltaFrames, 0);
}

} // namespace
} // namespace vrn::test
