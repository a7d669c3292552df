// The shipped LV2 library's run never allocates, frees or locks, with its controls changing at
// every run and after a state restore. Counted by the replacements in realtime_test.cpp.
#include "tests/lv2/lv2_host.h"
#include "tests/realtime/counting.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <atomic>
#include <cmath>
#include <vector>

namespace vrn
{
namespace
{

TEST(Lv2RealtimeSafety, RunNeitherAllocatesNorLocks)
{
    void* library = dlopen(VRN_LV2_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    using Entry = const LV2_Descriptor* (*)(std::uint32_t);
    auto entry = reinterpret_cast<Entry>(dlsym(library, "lv2_descriptor"));
    ASSERT_NE(entry, nullptr);
    {
        test::Lv2Instance gate(48000.0, true, true, entry(0));
        ASSERT_NE(gate.handle, nullptr);
        std::vector<float> left(4096), right(4096);
        auto run = [&](std::uint32_t frames, double level)
        {
            for (std::size_t j = 0; j < frames; ++j)
            {
                left[j] = static_cast<float>(level * std::sin(0.05 * static_cast<double>(j)));
                right[j] = static_cast<float>(level * std::cos(0.3 * static_cast<double>(j)));
            }
            realtime::counting = true;
            gate.Run(left.data(), right.data(), left.data(), right.data(), frames);
            realtime::counting = false;
        };
        run(512, 0.5); // warm-up
        realtime::allocations = 0;
        realtime::locks = 0;

        // Every control moving at every run, through Pre-Gate, Band Link, every monitor mode
        // and new crossovers; runs of 0, 1 and 4096 frames.
        for (int i = 0; i < 200; ++i)
        {
            gate.controls[0] = static_cast<float>(i % 11);
            gate.controls[1] = static_cast<float>(5 + i);
            gate.controls[3] = static_cast<float>(-i % 90);
            gate.controls[5] = static_cast<float>(100 + 37 * i);
            gate.controls[6] = 0.5f + static_cast<float>(i % 20) * 0.5f;
            gate.controls[7] = static_cast<float>(i % 4);
            gate.controls[8] = static_cast<float>(i % 2);
            gate.controls[9] = static_cast<float>(i % 101);
            run(i % 3 == 0 ? 0u : (i % 3 == 1 ? 1u : 4096u), i % 2 ? 0.5 : 0.0001);
        }
        gate.controls[5] = NAN;
        run(512, NAN); // non-finite audio and controls
        run(512, 0.5);

        // A state saved and restored between runs (not counted), then runs after the restore.
        const test::StoredProperty chunk = gate.SaveChunk();
        ASSERT_EQ(chunk.value.size(), 260u);
        ASSERT_EQ(gate.Restore({chunk}), LV2_STATE_SUCCESS);
        run(512, 0.5);
        gate.controls[0] = 3.0f;
        run(512, 0.5);

        EXPECT_EQ(realtime::allocations.load(), 0);
        EXPECT_EQ(realtime::locks.load(), 0);
        EXPECT_EQ(gate.latency, 144.0f) << "3 ms of look-ahead at 48 kHz, from the last run";
    }
    dlclose(library);
}

} // namespace
} // namespace vrn
