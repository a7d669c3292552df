#pragma once
// The plug-in instance the fuzz targets drive, with a host that answers like a real one, and
// one instance shared by the inputs of a run.

#include "host/plugin_entry.h"
#include "tests/fuzz/fuzz_signal.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
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

constexpr float kSampleRate = 48000.0f; ///< Hz, what every instance starts with
constexpr int32 kBlockSize = 512;       ///< frames
constexpr std::size_t kMaxChunkBytes =
    1100; ///< the most a decoded chunk holds: a little more than 260

/// Stops the run (libFuzzer keeps the input) when `holds` is false, saying what failed.
inline void Require(bool holds, const char* what)
{
    if (holds)
        return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

/// True when every parameter the host reads lies within 0 … 1.
inline bool ParametersInRange(AEffect* effect)
{
    for (int32 i = 0; i < effect->numParams; ++i)
    {
        const float value = effect->getParameter(effect, i);
        if (!(value >= 0.0f && value <= 1.0f))
            return false;
    }
    return true;
}

/// An opened, resumed instance at 48 kHz; closed at destruction.
class Instance
{
public:
    Instance()
    {
        effect = CreateGatePlugin(&FuzzHost);
        Require(effect != nullptr, "the entry point makes an instance");
        Dispatch(effOpen);
        Dispatch(effSetSampleRate, 0, 0, nullptr, kSampleRate);
        Dispatch(effSetBlockSize, 0, kBlockSize);
        Dispatch(effMainsChanged, 0, 1);
        void* state = nullptr;
        const auto size = Dispatch(effGetChunk, 0, 0, &state);
        Require(size > 0 && state != nullptr, "a fresh instance hands out its chunk");
        const auto* bytes = static_cast<const unsigned char*>(state);
        reference.assign(bytes, bytes + size);
    }
    ~Instance() { Close(); }
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    intptr Dispatch(int32 opcode, int32 index = 0, intptr value = 0, void* ptr = nullptr,
                    float opt = 0.0f)
    {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }

    /// Sends effClose, after which the instance is gone.
    void Close()
    {
        if (effect)
            Dispatch(effClose);
        effect = nullptr;
    }
    bool IsOpen() const { return effect != nullptr; }

    /// Brings the instance back to where it started, through the interface as a host that
    /// reuses an instance would: suspend, the first sample rate and block size, the first
    /// chunk, program name, resume. Filter and envelope states carry over, as in a host.
    void Restore()
    {
        Dispatch(effMainsChanged, 0, 0);
        Dispatch(effSetSampleRate, 0, 0, nullptr, kSampleRate);
        Dispatch(effSetBlockSize, 0, kBlockSize);
        Dispatch(effSetChunk, 0, static_cast<intptr>(reference.size()), reference.data());
        char name[] = "VARNE Gate";
        Dispatch(effSetProgramName, 0, 0, name);
        Dispatch(effMainsChanged, 0, 1);
    }

    /// Processes two blocks of `frames` frames of a finite signal; the output must be finite.
    VRN_FUZZ_NOT_COVERED void ProcessAndCheck(int frames)
    {
        const auto n = static_cast<std::size_t>(frames);
        left.resize(n);
        right.resize(n);
        for (int pass = 0; pass < 2; ++pass)
        {
            for (std::size_t j = 0; j < n; ++j)
            {
                left[j] = Tone(j);
                right[j] = 0.001f;
            }
            float* io[2] = {left.data(), right.data()};
            effect->processReplacing(effect, io, io, frames);
            Require(AllFinite(left.data(), right.data(), n), "finite output");
        }
    }

    AEffect* effect = nullptr;

private:
    std::vector<unsigned char> reference; ///< the chunk of the fresh instance
    std::vector<float> left, right;
};

/// How many inputs share one instance. Making one zero-fills several 512 KB memory blocks,
/// which costs more than most inputs; a fresh one every so often still lets leaks and state
/// that outlives Restore show.
constexpr int kInputsPerInstance = 10000;

/// The instance for the next input: the previous one restored, or a fresh one for the first
/// input, every kInputsPerInstance inputs, and after an input closed it.
inline Instance& NextInstance()
{
    static std::unique_ptr<Instance> instance;
    static int inputs = 0;
    if (!instance || !instance->IsOpen() || ++inputs % kInputsPerInstance == 0)
    {
        instance.reset();
        instance = std::make_unique<Instance>();
    }
    else
    {
        instance->Restore();
    }
    return *instance;
}

} // namespace vrn::fuzz
