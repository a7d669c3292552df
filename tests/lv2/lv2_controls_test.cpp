// Control ports: read at every run, quantised and clamped as VST 2.4 host values are, handed to
// the effect only when they change.
#include "tests/lv2/lv2_host.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

namespace vrn::test
{
namespace
{

void RunEmpty(Lv2Instance& gate)
{
    gate.Run(nullptr, nullptr, nullptr, nullptr, 0);
}

TEST(Lv2Controls, DefaultsAndStepsAsTheSliderTable)
{
    Lv2Instance gate;
    RunEmpty(gate);
    const std::vector<double> fresh = Sliders(gate.Gate());
    EXPECT_EQ(fresh[0], 0.0);
    EXPECT_EQ(fresh[1], 20.0);
    EXPECT_EQ(fresh[5], 500.0);
    EXPECT_EQ(fresh[6], 2.0);
    // Values between grid points take the nearest step, as a host's normalised value does.
    gate.controls[0] = 2.54f;
    gate.controls[5] = 1234.0f;
    gate.controls[6] = 2.16f;
    gate.controls[7] = 1.6f;
    RunEmpty(gate);
    EXPECT_DOUBLE_EQ(gate.Gate().Slider(1), 2.5);
    EXPECT_DOUBLE_EQ(gate.Gate().Slider(6), 1230.0);
    EXPECT_DOUBLE_EQ(gate.Gate().Slider(7), 2.2);
    EXPECT_DOUBLE_EQ(gate.Gate().Slider(8), 2.0);
}

TEST(Lv2Controls, OutOfRangeValuesClampToTheRange)
{
    Lv2Instance gate;
    gate.controls[0] = 50.0f;   // attack above 10 ms
    gate.controls[1] = -3.0f;   // release below 5 ms
    gate.controls[3] = 6.0f;    // threshold above 0 dB
    gate.controls[5] = 1.0e30f; // crossover
    gate.controls[7] = 9.0f;    // monitor beyond "Hi-band"
    gate.controls[9] = -100.0f; // band link below 0 %
    RunEmpty(gate);
    EXPECT_EQ(gate.Gate().Slider(1), 10.0);
    EXPECT_EQ(gate.Gate().Slider(2), 5.0);
    EXPECT_EQ(gate.Gate().Slider(4), 0.0);
    EXPECT_EQ(gate.Gate().Slider(6), 8000.0);
    EXPECT_EQ(gate.Gate().Slider(8), 3.0);
    EXPECT_EQ(gate.Gate().Slider(10), 0.0);
}

TEST(Lv2Controls, NaNIsIgnoredAndInfinitiesClamp)
{
    Lv2Instance gate;
    gate.controls[5] = 2000.0f;
    RunEmpty(gate);
    gate.controls[5] = std::numeric_limits<float>::quiet_NaN();
    gate.controls[0] = std::numeric_limits<float>::infinity();
    gate.controls[3] = -std::numeric_limits<float>::infinity();
    gate.controls[8] = std::numeric_limits<float>::quiet_NaN();
    for (int run = 0; run < 3; ++run)
        RunEmpty(gate);
    EXPECT_EQ(gate.Gate().Slider(6), 2000.0) << "a NaN keeps the last value";
    EXPECT_EQ(gate.Gate().Slider(1), 10.0);
    EXPECT_EQ(gate.Gate().Slider(4), -90.0);
    EXPECT_EQ(gate.Gate().Slider(9), 0.0);
    // The next real value is taken.
    gate.controls[5] = 3000.0f;
    RunEmpty(gate);
    EXPECT_EQ(gate.Gate().Slider(6), 3000.0);
}

TEST(Lv2Controls, OnlyChangedValuesReachTheSliders)
{
    Lv2Instance gate;
    gate.controls[2] = 300.0f;
    RunEmpty(gate);
    ASSERT_EQ(gate.Gate().Slider(3), 300.0);
    // Something else moves the slider (a chunk, an editor): an unchanged port leaves it.
    gate.Gate().Slider(3) = 640.0;
    RunEmpty(gate);
    EXPECT_EQ(gate.Gate().Slider(3), 640.0);
    gate.controls[2] = 301.0f;
    RunEmpty(gate);
    EXPECT_EQ(gate.Gate().Slider(3), 301.0);
}

TEST(Lv2Controls, AfterARestoreTheHostsControlValuesWin)
{
    Lv2Instance source;
    source.controls[0] = 7.0f;
    source.controls[6] = 2.1f;
    source.controls[9] = 80.0f;
    RunEmpty(source);
    StoredProperty chunk = source.SaveChunk();
    const float undeclared = 0.25f; // slider 40, which no port reaches
    std::memcpy(chunk.value.data() + 40 * sizeof(float), &undeclared, sizeof undeclared);

    // A host that restores its control values with the chunk: the chunk's values stay, to the
    // bit (a Ratio of 2.1 as the 32-bit float it was saved as).
    Lv2Instance gate;
    gate.controls = source.controls;
    ASSERT_EQ(gate.Restore({chunk}), LV2_STATE_SUCCESS);
    RunEmpty(gate);
    EXPECT_EQ(gate.Gate().Slider(1), 7.0);
    EXPECT_EQ(gate.Gate().Slider(7), static_cast<double>(2.1f));
    EXPECT_EQ(gate.Gate().Slider(10), 80.0);
    EXPECT_EQ(gate.Gate().Slider(40), 0.25);

    // A host whose control differs from the chunk (it saved between a change and the next
    // run): the control it shows is the one in force after the next run.
    Lv2Instance other;
    other.controls = source.controls;
    other.controls[0] = 3.0f;
    ASSERT_EQ(other.Restore({chunk}), LV2_STATE_SUCCESS);
    EXPECT_EQ(other.Gate().Slider(1), 7.0);
    RunEmpty(other);
    EXPECT_EQ(other.Gate().Slider(1), 3.0);
    EXPECT_EQ(other.Gate().Slider(10), 80.0);
    EXPECT_EQ(other.Gate().Slider(40), 0.25);
}

} // namespace
} // namespace vrn::test
