// The shipped LV2 library's run never allocates, frees or locks, with its controls changing at
// every run and after a state restore. Counted by the replacements in realtime_test.cpp.
#include "lv2/lv2_identity.h"

#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace vrn::realtime
{
extern thread_local bool counting;
extern std::atomic<int> allocations;
extern std::atomic<int> locks;
} // namespace vrn::realtime

namespace vrn
{
namespace
{

using realtime::allocations;
using realtime::locks;

std::vector<std::string> uris;

LV2_URID Map(LV2_URID_Map_Handle, const char* uri)
{
    for (std::size_t i = 0; i < uris.size(); ++i)
        if (uris[i] == uri)
            return static_cast<LV2_URID>(i + 1);
    uris.emplace_back(uri);
    return static_cast<LV2_URID>(uris.size());
}

struct Property
{
    std::uint32_t key = 0;
    std::uint32_t type = 0;
    std::vector<unsigned char> value;
};

LV2_State_Status Store(LV2_State_Handle handle, std::uint32_t key, const void* value,
                       std::size_t size, std::uint32_t type, std::uint32_t)
{
    auto* property = static_cast<Property*>(handle);
    property->key = key;
    property->type = type;
    const auto* bytes = static_cast<const unsigned char*>(value);
    property->value.assign(bytes, bytes + size);
    return LV2_STATE_SUCCESS;
}

const void* Retrieve(LV2_State_Handle handle, std::uint32_t key, std::size_t* size,
                     std::uint32_t* type, std::uint32_t* flags)
{
    const auto* property = static_cast<const Property*>(handle);
    if (key != property->key)
        return nullptr;
    *size = property->value.size();
    *type = property->type;
    *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
    return property->value.data();
}

TEST(Lv2RealtimeSafety, RunNeitherAllocatesNorLocks)
{
    void* library = dlopen(VRN_LV2_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    using Entry = const LV2_Descriptor* (*)(std::uint32_t);
    auto entry = reinterpret_cast<Entry>(dlsym(library, "lv2_descriptor"));
    ASSERT_NE(entry, nullptr);
    const LV2_Descriptor* descriptor = entry(0);
    ASSERT_NE(descriptor, nullptr);

    LV2_URID_Map map = {nullptr, &Map};
    const LV2_Feature mapFeature = {LV2_URID__map, &map};
    const LV2_Feature* features[] = {&mapFeature, nullptr};
    LV2_Handle gate = descriptor->instantiate(descriptor, 48000.0, "", features);
    ASSERT_NE(gate, nullptr);
    std::array<float, lv2::kControlPortCount> controls = {0.0f,   20.0f, 20.0f, -45.0f, -45.0f,
                                                          500.0f, 2.0f,  0.0f,  0.0f,   0.0f};
    for (std::uint32_t i = 0; i < lv2::kControlPortCount; ++i)
        descriptor->connect_port(gate, lv2::kFirstControl + i, &controls[i]);
    float latency = 0.0f;
    descriptor->connect_port(gate, lv2::kLatency, &latency);
    std::vector<float> left(4096), right(4096);
    descriptor->connect_port(gate, lv2::kInputLeft, left.data());
    descriptor->connect_port(gate, lv2::kInputRight, right.data());
    descriptor->connect_port(gate, lv2::kOutputLeft, left.data());
    descriptor->connect_port(gate, lv2::kOutputRight, right.data());
    descriptor->activate(gate);

    auto run = [&](std::uint32_t frames, double level)
    {
        for (std::size_t j = 0; j < frames; ++j)
        {
            left[j] = static_cast<float>(level * std::sin(0.05 * static_cast<double>(j)));
            right[j] = static_cast<float>(level * std::cos(0.3 * static_cast<double>(j)));
        }
        realtime::counting = true;
        descriptor->run(gate, frames);
        realtime::counting = false;
    };
    run(512, 0.5); // warm-up
    allocations = 0;
    locks = 0;

    // Every control moving at every run, through Pre-Gate, Band Link, every monitor mode and
    // new crossovers; runs of 0, 1 and 4096 frames.
    for (int i = 0; i < 200; ++i)
    {
        controls[0] = static_cast<float>(i % 11);
        controls[1] = static_cast<float>(5 + i);
        controls[3] = static_cast<float>(-i % 90);
        controls[5] = static_cast<float>(100 + 37 * i);
        controls[6] = 0.5f + static_cast<float>(i % 20) * 0.5f;
        controls[7] = static_cast<float>(i % 4);
        controls[8] = static_cast<float>(i % 2);
        controls[9] = static_cast<float>(i % 101);
        run(i % 3 == 0 ? 0u : (i % 3 == 1 ? 1u : 4096u), i % 2 ? 0.5 : 0.0001);
    }
    controls[5] = NAN;
    run(512, NAN); // non-finite audio and controls
    run(512, 0.5);

    // A state saved and restored between runs (not counted), then runs with the restored sliders.
    const auto* state =
        static_cast<const LV2_State_Interface*>(descriptor->extension_data(LV2_STATE__interface));
    Property chunk;
    ASSERT_EQ(state->save(gate, &Store, &chunk, 0, nullptr), LV2_STATE_SUCCESS);
    ASSERT_EQ(state->restore(gate, &Retrieve, &chunk, 0, nullptr), LV2_STATE_SUCCESS);
    run(512, 0.5);
    controls[0] = 3.0f;
    run(512, 0.5);

    EXPECT_EQ(allocations.load(), 0);
    EXPECT_EQ(locks.load(), 0);
    EXPECT_EQ(latency, 144.0f) << "3 ms of look-ahead at 48 kHz, reported by the last run";

    descriptor->deactivate(gate);
    descriptor->cleanup(gate);
    dlclose(library);
}

} // namespace
} // namespace vrn
