// State: the same 260-byte chunk as the VST 2.4 build, one atom:Chunk property; bad blobs
// change nothing.
#include "tests/host/fake_host.h"
#include "tests/lv2/lv2_host.h"

#include <lv2/atom/atom.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <limits>
#include <thread>

namespace vrn::test
{
namespace
{

void RunEmpty(Lv2Instance& gate)
{
    gate.Run(nullptr, nullptr, nullptr, nullptr, 0);
}

std::vector<unsigned char> ChunkOf(const std::vector<float>& values)
{
    std::vector<unsigned char> bytes(values.size() * sizeof(float));
    std::memcpy(bytes.data(), values.data(), bytes.size());
    return bytes;
}

TEST(Lv2State, SavesTheVstChunkAsOneChunkProperty)
{
    Lv2Instance gate;
    Plugin vst;
    gate.controls[6] = 2.1f;
    gate.controls[4] = -12.0f;
    RunEmpty(gate);
    vst.Set(6, static_cast<float>((2.1 - 0.5) / 9.5));
    vst.Set(4, static_cast<float>((90.0 - 12.0) / 90.0));

    LV2_State_Status status = LV2_STATE_ERR_UNKNOWN;
    const std::vector<StoredProperty> saved = gate.Save(&status);
    ASSERT_EQ(status, LV2_STATE_SUCCESS);
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].key, gate.map.Map(lv2::kChunkKeyUri));
    EXPECT_EQ(saved[0].type, gate.map.Map(LV2_ATOM__Chunk));
    EXPECT_EQ(saved[0].flags, LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
    ASSERT_EQ(saved[0].value.size(), 260u);
    EXPECT_EQ(saved[0].value, vst.Chunk());
    float marker = 0.0f;
    std::memcpy(&marker, saved[0].value.data(), sizeof marker);
    EXPECT_EQ(marker, -1000.0f);
}

TEST(Lv2State, RoundTripRestoresEverySliderAndTheSound)
{
    Lv2Instance source;
    const float settings[] = {3.3f,    250.0f, 40.0f, -50.0f, -20.0f,
                              2500.0f, 6.6f,   0.0f,  1.0f,   35.0f};
    for (std::uint32_t i = 0; i < 10; ++i)
        source.controls[i] = settings[i];
    RunEmpty(source);
    const StoredProperty chunk = source.SaveChunk();

    // A host restores its control values with the state.
    Lv2Instance copy;
    copy.controls = source.controls;
    ASSERT_EQ(copy.Restore({chunk}), LV2_STATE_SUCCESS);
    // Every slider comes back at 32-bit float precision (a Ratio of 6.6 as 6.5999999...).
    const std::vector<double> saved = Sliders(source.Gate());
    const std::vector<double> restored = Sliders(copy.Gate());
    for (std::size_t i = 0; i < saved.size(); ++i)
        EXPECT_EQ(restored[i], static_cast<double>(static_cast<float>(saved[i]))) << i;
    EXPECT_EQ(copy.SaveChunk().value, chunk.value);

    // Instances restored from the same chunk, with the same processing calls behind them,
    // sound the same.
    ASSERT_EQ(source.Restore({chunk}), LV2_STATE_SUCCESS);
    RunEmpty(copy);
    std::vector<float> left(4000), right(4000);
    FillBursts(left, right, 0);
    std::vector<float> left2 = left, right2 = right;
    source.Run(left, right);
    copy.Run(left2, right2);
    EXPECT_EQ(left, left2);
    EXPECT_EQ(right, right2);
    EXPECT_EQ(copy.latency, 158.0f) << "3.3 ms of look-ahead at 48 kHz";
}

TEST(Lv2State, AChunkFromTheVstBuildRestores)
{
    Plugin vst;
    vst.Set(0, 0.42f);
    vst.Set(7, 1.0f);
    Lv2Instance gate;
    StoredProperty chunk;
    chunk.key = gate.map.Map(lv2::kChunkKeyUri);
    chunk.type = gate.map.Map(LV2_ATOM__Chunk);
    chunk.value = vst.Chunk();
    ASSERT_EQ(gate.Restore({chunk}), LV2_STATE_SUCCESS);
    EXPECT_EQ(gate.SaveChunk().value, vst.Chunk());
}

TEST(Lv2State, BadBlobsChangeNothing)
{
    Lv2Instance gate;
    gate.controls[5] = 900.0f;
    RunEmpty(gate);
    const std::vector<unsigned char> before = gate.SaveChunk().value;
    const LV2_URID key = gate.map.Map(lv2::kChunkKeyUri);
    const LV2_URID chunkType = gate.map.Map(LV2_ATOM__Chunk);

    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::vector<float> withoutMarker(65, 1.0f);
    std::vector<float> nonFinite(65, nan);
    nonFinite[0] = -1000.0f;
    nonFinite[6] = std::numeric_limits<float>::infinity();
    const std::vector<std::vector<unsigned char>> blobs = {
        {0x00, 0x00, 0x7a},                        // shorter than the marker
        ChunkOf(withoutMarker),                    // no marker
        std::vector<unsigned char>(1 << 20, 0xFF), // a megabyte of NaN
        ChunkOf(nonFinite),                        // the marker, then NaN and infinity
        ChunkOf({-1000.0f}),                       // only the marker
    };
    for (const std::vector<unsigned char>& blob : blobs)
    {
        StoredProperty property;
        property.key = key;
        property.type = chunkType;
        property.value = blob;
        EXPECT_EQ(gate.Restore({property}), LV2_STATE_SUCCESS) << blob.size();
        EXPECT_EQ(gate.SaveChunk().value, before) << blob.size();
    }

    // A chunk of the right bytes but another type is refused.
    StoredProperty wrongType;
    wrongType.key = key;
    wrongType.type = gate.map.Map(LV2_ATOM__String);
    wrongType.value = ChunkOf(std::vector<float>(65, -1000.0f));
    EXPECT_EQ(gate.Restore({wrongType}), LV2_STATE_ERR_BAD_TYPE);
    EXPECT_EQ(gate.SaveChunk().value, before);
}

TEST(Lv2State, AnEmptyStateResetsToTheFreshInstance)
{
    Lv2Instance fresh;
    Lv2Instance gate;
    gate.controls[1] = 700.0f;
    gate.controls[8] = 1.0f;
    RunEmpty(gate);
    EXPECT_EQ(gate.Restore({}), LV2_STATE_SUCCESS);
    EXPECT_EQ(gate.SaveChunk().value, fresh.SaveChunk().value);
}

TEST(Lv2State, SavesWhileTheAudioThreadRuns)
{
    // Hosts may save on another thread while run goes on (with controls moving).
    Lv2Instance gate;
    std::atomic<bool> done{false};
    std::thread audio(
        [&]
        {
            std::vector<float> left(256), right(256);
            for (int run = 0; run < 2000; ++run)
            {
                FillBursts(left, right, static_cast<std::size_t>(run) * 256);
                gate.controls[5] = static_cast<float>(100 + 10 * (run % 700));
                gate.controls[0] = static_cast<float>(run % 100) * 0.1f;
                gate.Run(left, right);
            }
            done = true;
        });
    int saves = 0;
    while (!done || saves == 0)
    {
        const StoredProperty chunk = gate.SaveChunk();
        ASSERT_EQ(chunk.value.size(), 260u);
        float crossover = 0.0f;
        std::memcpy(&crossover, chunk.value.data() + 6 * sizeof(float), sizeof crossover);
        EXPECT_TRUE(crossover >= 100.0f && crossover <= 7090.0f) << crossover;
        ++saves;
    }
    audio.join();
    EXPECT_GT(saves, 0);
}

TEST(Lv2State, WithoutAMapThereIsNoStateButTheGateWorks)
{
    Lv2Instance gate(48000.0, false);
    LV2_State_Status status = LV2_STATE_SUCCESS;
    EXPECT_TRUE(gate.Save(&status).empty());
    EXPECT_EQ(status, LV2_STATE_ERR_NO_FEATURE);
    EXPECT_EQ(gate.Restore({}), LV2_STATE_ERR_NO_FEATURE);
    gate.controls[0] = 4.0f;
    std::vector<float> left(100, 0.5f), right(100, 0.5f);
    gate.Run(left, right);
    EXPECT_EQ(gate.Gate().Slider(1), 4.0);
}

} // namespace
} // namespace vrn::test
