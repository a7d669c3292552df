// The library's descriptor: one plug-in under its URI, safe answers to odd calls.
#include "tests/lv2/lv2_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace vrn::test
{
namespace
{

TEST(Lv2Descriptor, OneGateUnderItsUri)
{
    const LV2_Descriptor* descriptor = lv2_descriptor(0);
    ASSERT_NE(descriptor, nullptr);
    EXPECT_STREQ(descriptor->URI, lv2::kPluginUri);
    EXPECT_EQ(lv2_descriptor(1), nullptr);
    EXPECT_NE(descriptor->extension_data(LV2_STATE__interface), nullptr);
    EXPECT_EQ(descriptor->extension_data("urn:nothing"), nullptr);
    EXPECT_EQ(descriptor->extension_data(nullptr), nullptr);
}

TEST(Lv2Descriptor, RefusesRatesNoHostCanMean)
{
    const LV2_Descriptor* descriptor = lv2_descriptor(0);
    const LV2_Feature* none[] = {nullptr};
    for (const double rate : {0.0, -48000.0, std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity()})
        EXPECT_EQ(descriptor->instantiate(descriptor, rate, "", none), nullptr) << rate;
    // Without a feature list at all, at an unusual rate.
    LV2_Handle handle = descriptor->instantiate(descriptor, 22050.0, nullptr, nullptr);
    ASSERT_NE(handle, nullptr);
    descriptor->cleanup(handle);
}

TEST(Lv2Descriptor, NullHandlesAreIgnored)
{
    const LV2_Descriptor* descriptor = lv2_descriptor(0);
    float value = 0.0f;
    descriptor->connect_port(nullptr, 0, &value);
    descriptor->activate(nullptr);
    descriptor->run(nullptr, 64);
    descriptor->deactivate(nullptr);
    descriptor->cleanup(nullptr);
    const auto* state =
        static_cast<const LV2_State_Interface*>(descriptor->extension_data(LV2_STATE__interface));
    EXPECT_EQ(state->save(nullptr, nullptr, nullptr, 0, nullptr), LV2_STATE_ERR_UNKNOWN);
    EXPECT_EQ(state->restore(nullptr, nullptr, nullptr, 0, nullptr), LV2_STATE_ERR_UNKNOWN);
    Lv2Instance gate;
    EXPECT_EQ(state->save(gate.handle, nullptr, nullptr, 0, nullptr), LV2_STATE_ERR_UNKNOWN);
    EXPECT_EQ(state->restore(gate.handle, nullptr, nullptr, 0, nullptr), LV2_STATE_ERR_UNKNOWN);
}

TEST(Lv2Descriptor, RunsBeforeActivationAndAtHighRates)
{
    // Hosts must activate first; one that does not still gets finite audio.
    Lv2Instance early(48000.0, true, false);
    std::vector<float> left(512, 0.3f), right(512, -0.3f);
    early.Run(left, right);
    for (const float sample : left)
        ASSERT_TRUE(std::isfinite(sample));
    // 384 kHz with a 10 ms look-ahead: the delay is bounded, the latency says so.
    Lv2Instance fast(384000.0);
    fast.controls[0] = 10.0f;
    fast.controls[8] = 1.0f;
    fast.Run(left, right);
    EXPECT_EQ(fast.latency, 1999.0f);
    for (const float sample : left)
        ASSERT_TRUE(std::isfinite(sample));
}

} // namespace
} // namespace vrn::test
