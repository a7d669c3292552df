// The editor benchmark's allocation counter, on a real loaded library.
#include "tools/hosting/plugin_library.h"
#include "tools/vsthost/allocation_counter.h"

#include <gtest/gtest.h>

#include <string>

namespace vrn
{
namespace
{

intptr VRN_VST_CALL TestHost(AEffect*, int32 opcode, int32, intptr, void*, float)
{
    return opcode == audioMasterVersion ? 2400 : 0;
}

TEST(AllocationCounter, CountsWhatThePluginAllocatesAndNothingElse)
{
    PluginLibrary library;
    std::string error;
    ASSERT_TRUE(library.Load(VRN_FAKE_PLUGIN, error)) << error;
    const char* name = nullptr;
    const PluginEntryProc entry = library.FindEntry(name);
    ASSERT_NE(entry, nullptr);

    AEffect* effect = nullptr;
    {
        const AllocationCounter counter(reinterpret_cast<const void*>(entry));
        ASSERT_TRUE(counter.counting());
        // This program's own allocations are not the plug-in's.
        auto* mine = new std::string(100, 'x');
        delete mine;
        EXPECT_EQ(counter.count(), 0);
        // The plug-in makes its instance on the heap.
        effect = entry(&TestHost);
        ASSERT_NE(effect, nullptr);
        EXPECT_GE(counter.count(), 1);
    }
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}

} // namespace
} // namespace vrn
