// What a host calls on its audio thread while it plays automation (parameter sets and reads,
// display texts, the program) never allocates or locks, even while the editor drags its rows
// and another thread sets parameters: a lock the editor held would make the audio thread wait.
#include "editor/draw_context.h"
#include "editor/draw_surface.h"
#include "host/plugin_entry.h"
#include "host/vest.h"
#include "tests/realtime/counting.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

namespace vrn
{
namespace
{

VstTimeInfo timeInfo{};

// Answers without locking, so that only the plug-in's own locks are counted.
intptr VRN_VST_CALL Host(AEffect*, int32 opcode, int32, intptr, void*, float)
{
    if (opcode == audioMasterVersion)
        return 2400;
    if (opcode == audioMasterGetTime)
        return reinterpret_cast<intptr>(&timeInfo);
    return 0;
}

unsigned Next(unsigned& seed)
{
    seed = seed * 1664525u + 1013904223u;
    return seed;
}

/// The UI thread's share: editor paints and drags through the view's table entries, and
/// parameter sets, until `stop`.
void DragTheEditor(AEffect* effect, const std::atomic<bool>& stop)
{
    auto* wrapper = static_cast<CVeST*>(effect->object);
    auto* context = new CDrawContext(nullptr, {0, 0, 450, 500}, nullptr);
    const VeSTCallbacks& table = wrapper->callbacks;
    unsigned seed = 3;
    while (!stop.load())
    {
        const unsigned r = Next(seed);
        const auto x = static_cast<int32>(100 + r % 300);
        const auto y = static_cast<int32>(30 + (r >> 9) % 350);
        switch ((r >> 20) % 4)
        {
        case 0:
            table.mouseDown(wrapper, x, y, kLButton | ((r >> 24) & 1 ? kShift : 0));
            break;
        case 1:
            table.mouseUp(wrapper, x, y, 0);
            break;
        case 2:
            effect->setParameter(effect, static_cast<int32>(r % 10),
                                 static_cast<float>(r >> 8) / 16777216.0f);
            break;
        default:
            table.mouseMoved(wrapper, x, y, 0);
            break;
        }
        wrapper->paintContext = context;
        table.editorPaint(wrapper, 450, 500);
        wrapper->paintContext = nullptr;
    }
    context->release();
}

TEST(AudioThreadCalls, ParameterCallsNeitherAllocateNorLockWhileTheEditorDrags)
{
    timeInfo.tempo = 120.0;
    timeInfo.flags = kVstTempoValid | kVstTransportPlaying;
    AEffect* effect = CreateGatePlugin(&Host);
    ASSERT_NE(effect, nullptr);
    const auto dispatch = [effect](int32 opcode, int32 index = 0, intptr value = 0,
                                   void* ptr = nullptr, float opt = 0.0f)
    { return effect->dispatcher(effect, opcode, index, value, ptr, opt); };
    dispatch(effOpen);
    dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    dispatch(effSetBlockSize, 0, 64);
    dispatch(effMainsChanged, 0, 1);

    std::vector<float> left(64), right(64);
    float* io[2] = {left.data(), right.data()};
    effect->processReplacing(effect, io, io, 64); // warm-up
    std::atomic<bool> stop{false};
    std::thread ui(DragTheEditor, effect, std::cref(stop));

    realtime::allocations = 0;
    realtime::locks = 0;
    unsigned seed = 11;
    char text[256];
    double sum = 0.0;
    for (int block = 0; block < 3000; ++block)
    {
        for (std::size_t j = 0; j < left.size(); ++j)
            left[j] = right[j] = 0.3f * std::sin(0.01f * static_cast<float>(block * 64) +
                                                 0.01f * static_cast<float>(j));
        realtime::counting = true;
        // Automation: a few parameter changes and reads before each block, as hosts do.
        for (int change = 0; change < 3; ++change)
        {
            const unsigned r = Next(seed);
            const auto index = static_cast<int32>(r % 10);
            effect->setParameter(effect, index, static_cast<float>(r >> 8) / 16777216.0f);
            sum += effect->getParameter(effect, index);
            dispatch(effGetParamDisplay, index, 0, text);
        }
        dispatch(effSetProgram, 0, 0);
        sum += static_cast<double>(dispatch(effGetProgram));
        effect->processReplacing(effect, io, io, 64);
        realtime::counting = false;
    }
    stop = true;
    ui.join();

    EXPECT_EQ(realtime::allocations.load(), 0);
    EXPECT_EQ(realtime::locks.load(), 0);
    EXPECT_TRUE(std::isfinite(sum));
    dispatch(effClose);
}

} // namespace
} // namespace vrn
