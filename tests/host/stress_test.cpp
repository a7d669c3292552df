// Several host threads at once: processing on one, parameters, displays, chunks and meters on
// others. Run under ThreadSanitizer this proves the exchange between the threads race-free.
#include "tests/host/fake_host.h"

#include "effect/gate_effect.h"
#include "host/vest.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace vrn::test
{
namespace
{

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
            while (!stop.load())
            {
                double sum = gate.meterLo.Take() + gate.meterHi.Take();
                for (const SharedDouble& value : gate.controlValues)
                    sum += value;
                (void)gate.Coefficients();
                if (!std::isfinite(sum))
                    nonFinite = true;
                ++operations;
            }
        });

    std::this_thread::sleep_for(std::chrono::duration<double>(StressSeconds()));
    stop = true;
    for (std::thread* t : {&audio, &parameters, &chunks, &editor})
        t->join();
    std::printf("stress: %.1f s, %ld operations\n", StressSeconds(), operations.load());

    EXPECT_FALSE(nonFinite.load());
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
    EXPECT_EQ(gate.audio.coefficients->crossoverHz, gate.Slider(6).Load());
}

} // namespace
} // namespace vrn::test
