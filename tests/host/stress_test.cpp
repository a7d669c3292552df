// Several host threads at once: processing on one, parameters, displays, chunks and meters on
// others, the editor painting and dragging on its own. Run under ThreadSanitizer this proves the
// exchange between the threads race-free.
#include "tests/host/fake_host.h"

#include "editor/draw_context.h"
#include "editor/draw_surface.h"
#include "effect/gate_effect.h"
#include "host/vest.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>
#include <vector>

namespace vrn::test
{
namespace
{

// The label tables the gate writes in its init section: cell and the string number it holds.
constexpr std::pair<std::int32_t, double> kLabelCells[] = {
    {1000000, 10001.0}, {1000001, 10002.0}, {1000002, 10003.0},
    {1000003, 10004.0}, {1000010, 10005.0}, {1000011, 10006.0},
};

// What the editor does on the UI thread: read the label tables. A cell is either not written
// yet (0) or holds its string number, never anything else.
bool LabelTablesReadSound(const TXaltoEffect& gate)
{
    for (const auto& [cell, number] : kLabelCells)
    {
        const double value = gate.LoadCell(cell);
        if (value != 0.0 && value != number)
            return false;
    }
    return true;
}

double StressSeconds()
{
    const char* text = std::getenv("VRN_STRESS_SECONDS");
    const double seconds = text ? std::atof(text) : 0.5;
    return seconds > 0.0 ? seconds : 0.5;
}

TEST(Stress, HostThreadsAtOnceKeepTheGateSound)
{
    Plugin plugin;
    AEffect* effect = plugin.effect;
    auto* wrapper = static_cast<CVeST*>(effect->object);
    auto& gate = *static_cast<TXaltoEffect*>(wrapper->effect);

    std::atomic<bool> stop{false};
    std::atomic<long> operations{0};
    std::atomic<bool> nonFinite{false};
    std::atomic<bool> labelsUnsound{false};

    std::thread audio(
        [&]
        {
            std::vector<float> left(256), right(256);
            float* io[2] = {left.data(), right.data()};
            unsigned seed = 1;
            while (!stop.load())
            {
                for (std::size_t j = 0; j < left.size(); ++j)
                {
                    seed = seed * 1664525u + 1013904223u;
                    const float noise = static_cast<float>(seed >> 8) / 8388608.0f - 1.0f;
                    left[j] = 0.5f * noise;
                    right[j] = 0.01f * noise;
                }
                // Automation played on the audio thread itself, between its blocks.
                const auto index = static_cast<int32>(seed % 10);
                effect->setParameter(effect, index, static_cast<float>(seed >> 8) / 16777216.0f);
                (void)effect->getParameter(effect, index);
                effect->processReplacing(effect, io, io, 256);
                for (float v : left)
                    if (!std::isfinite(v))
                        nonFinite = true;
                ++operations;
            }
        });
    std::thread parameters(
        [&]
        {
            unsigned seed = 7;
            char text[256];
            while (!stop.load())
            {
                seed = seed * 1664525u + 1013904223u;
                const auto index = static_cast<int32>(seed % 10);
                effect->setParameter(effect, index, static_cast<float>(seed >> 8) / 16777216.0f);
                (void)effect->getParameter(effect, index);
                effect->dispatcher(effect, effGetParamDisplay, index, 0, text, 0.0f);
                effect->dispatcher(effect, effGetParamName, index, 0, text, 0.0f);
                ++operations;
            }
        });
    std::thread chunks(
        [&]
        {
            char name[] = "Stressed";
            char text[256];
            while (!stop.load())
            {
                void* data = nullptr;
                const auto size = effect->dispatcher(effect, effGetChunk, 0, 0, &data, 0.0f);
                std::vector<unsigned char> copy(static_cast<const unsigned char*>(data),
                                                static_cast<const unsigned char*>(data) + size);
                effect->dispatcher(effect, effSetChunk, 0, size, copy.data(), 0.0f);
                effect->dispatcher(effect, effSetProgramName, 0, 0, name, 0.0f);
                effect->dispatcher(effect, effGetProgramName, 0, 0, text, 0.0f);
                ++operations;
            }
        });
    std::thread editor(
        [&]
        {
            // The editor view's paints and mouse events through the table, as the window
            // delivers them; the context draws nothing.
            auto* context = new CDrawContext(nullptr, {0, 0, 450, 500}, nullptr);
            const VeSTCallbacks& table = wrapper->callbacks;
            unsigned seed = 3;
            while (!stop.load())
            {
                seed = seed * 1664525u + 1013904223u;
                const auto x = static_cast<int32>(100 + seed % 300);
                const auto y = static_cast<int32>(30 + (seed >> 9) % 350);
                const int32 buttons = kLButton | ((seed >> 24) & 1 ? kShift : 0);
                switch ((seed >> 20) % 3)
                {
                case 0:
                    table.mouseMoved(wrapper, x, y, 0);
                    break;
                case 1:
                    table.mouseDown(wrapper, x, y, buttons);
                    break;
                default:
                    table.mouseUp(wrapper, x, y, 0);
                    break;
                }
                wrapper->paintContext = context;
                table.editorPaint(wrapper, 450, 500);
                wrapper->paintContext = nullptr;
                double sum = 0.0;
                for (const SharedDouble& value : gate.controlValues)
                    sum += value;
                (void)gate.Coefficients();
                if (!std::isfinite(sum))
                    nonFinite = true;
                if (!LabelTablesReadSound(gate))
                    labelsUnsound = true;
                ++operations;
            }
            context->release();
        });

    std::this_thread::sleep_for(std::chrono::duration<double>(StressSeconds()));
    stop = true;
    for (std::thread* t : {&audio, &parameters, &chunks, &editor})
        t->join();
    std::printf("stress: %.1f s, %ld operations\n", StressSeconds(), operations.load());

    EXPECT_FALSE(nonFinite.load());
    EXPECT_FALSE(labelsUnsound.load());
    // After the threads stop the state is the last values set.
    const float last[10] = {0.3f, 0.2f, 0.1f, 0.5f, 0.6f, 0.7f, 0.8f, 0.0f, 1.0f, 0.4f};
    for (int32 i = 0; i < 10; ++i)
        effect->setParameter(effect, i, last[i]);
    for (int32 i = 0; i < 10; ++i)
        EXPECT_NEAR(effect->getParameter(effect, i), last[i], 0.01f) << i;
    const gate::GateCoefficients c = gate.Coefficients();
    EXPECT_EQ(c.attackMs, gate.Slider(1).Load());
    EXPECT_EQ(c.crossoverHz, gate.Slider(6).Load());
    std::vector<float> left(64, 0.1f), right(64, 0.1f);
    float* io[2] = {left.data(), right.data()};
    effect->processReplacing(effect, io, io, 64);
    EXPECT_EQ(gate.audio.coefficients.crossoverHz, gate.Slider(6).Load());
}

TEST(Stress, EditorReadsLabelTablesWhileAChunkRestoreCreatesThem)
{
    // Before any resume the label tables' memory block does not exist: the first chunk
    // restore creates it (its init section runs) while the editor reads the tables.
    for (int round = 0; round < 20; ++round)
    {
        Plugin plugin(48000.0, 256, false);
        AEffect* effect = plugin.effect;
        auto& gate = *static_cast<TXaltoEffect*>(static_cast<CVeST*>(effect->object)->effect);
        ASSERT_FALSE(gate.HasBlock(1000000 >> CXaltoMemory::kBlockShift));
        void* data = nullptr;
        const auto size = effect->dispatcher(effect, effGetChunk, 0, 0, &data, 0.0f);
        std::vector<unsigned char> chunk(static_cast<const unsigned char*>(data),
                                         static_cast<const unsigned char*>(data) + size);

        std::atomic<bool> started{false};
        std::atomic<bool> stop{false};
        std::atomic<bool> unsound{false};
        std::thread editor(
            [&]
            {
                started = true;
                while (!stop.load())
                    if (!LabelTablesReadSound(gate))
                        unsound = true;
            });
        while (!started.load())
            std::this_thread::yield();
        effect->dispatcher(effect, effSetChunk, 0, size, chunk.data(), 0.0f);
        stop = true;
        editor.join();

        EXPECT_FALSE(unsound.load());
        for (const auto& [cell, number] : kLabelCells)
            EXPECT_EQ(gate.LoadCell(cell), number) << cell;
    }
}

} // namespace
} // namespace vrn::test
