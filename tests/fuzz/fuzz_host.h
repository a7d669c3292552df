#pragma once
// One plug-in instance for the fuzz targets, with a host that answers like a real one.

#include "host/plugin_entry.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace vrn::fuzz
{

inline intptr VRN_VST_CALL FuzzHost(AEffect*, int32 opcode, int32, intptr, void*, float)
{
    static VstTimeInfo time = []
    {
        VstTimeInfo t{};
        t.tempo = 120.0;
        t.timeSigNumerator = 4;
        t.timeSigDenominator = 4;
        t.flags = kVstTempoValid | kVstTimeSigValid | kVstTransportPlaying;
        return t;
    }();
    if (opcode == audioMasterVersion)
        return 2400;
    if (opcode == audioMasterGetTime)
        return reinterpret_cast<intptr>(&time);
    return 0;
}

/// An opened, resumed instance at 48 kHz; closed at destruction.
class Instance
{
public:
    Instance()
    {
        effect = CreateGatePlugin(&FuzzHost);
        if (!effect)
            std::abort();
        Dispatch(effOpen);
        Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
        Dispatch(effMainsChanged, 0, 1);
    }
    ~Instance() { Dispatch(effClose); }
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    intptr Dispatch(int32 opcode, int32 index = 0, intptr value = 0, void* ptr = nullptr,
                    float opt = 0.0f)
    {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }

    /// Processes a finite signal twice; the second block's output must be finite.
    void ProcessAndCheck(int frames)
    {
        std::vector<float> left(static_cast<std::size_t>(frames)), right(left.size());
        for (int pass = 0; pass < 2; ++pass)
        {
            for (std::size_t j = 0; j < left.size(); ++j)
            {
                left[j] = 0.5f * std::sin(0.01f * static_cast<float>(j));
                right[j] = 0.001f;
            }
            float* io[2] = {left.data(), right.data()};
            effect->processReplacing(effect, io, io, frames);
        }
        for (std::size_t j = 0; j < left.size(); ++j)
            if (!std::isfinite(left[j]) || !std::isfinite(right[j]))
                std::abort();
    }

    AEffect* effect = nullptr;
};

} // namespace vrn::fuzz
