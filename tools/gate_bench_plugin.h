#pragma once
// One VST2 plug-in instance of the benchmark; any number of them live in one process at once.

#include "host/vst2_abi.h"
#include "tools/plugin_library.h"

#include <cstddef>
#include <string>
#include <vector>

namespace vrn
{

/// A loaded, opened and resumed plug-in instance that processes stereo float blocks with
/// separate input and output buffers. Unlike HostSession, several can be open at the same time:
/// the host callback finds its instance through the AEffect record.
class GateBenchPlugin
{
public:
    GateBenchPlugin() = default;
    /// Suspends and closes the instance, then unloads the library.
    ~GateBenchPlugin();
    GateBenchPlugin(const GateBenchPlugin&) = delete;
    GateBenchPlugin& operator=(const GateBenchPlugin&) = delete;

    /// Loads `path`, creates the instance and sends effOpen, effSetSampleRate (`sampleRate`,
    /// Hz), effSetBlockSize (`blockSize`, 1..65536 frames) and effMainsChanged(1). Refuses,
    /// with `error` saying why, a library without entry point, a null or foreign record and a
    /// plug-in with fewer than two inputs or outputs or without processReplacing.
    [[nodiscard]] bool Open(const std::string& path, double sampleRate, int32 blockSize,
                            std::string& error);

    /// Suspends, closes and unloads; safe to repeat.
    void Close() noexcept;

    /// True between a successful Open and Close.
    bool IsOpen() const { return effect != nullptr; }

    /// The plug-in's own name (effGetEffectName, else effGetProductString; may be empty).
    std::string EffectName();

    /// Number of parameters.
    int32 NumParameters() const;

    /// Index for a decimal index, an exact name or a name differing only in case; -1 if none.
    int32 FindParameter(const std::string& key);

    /// Name, display text and unit label of parameter `index` (0..NumParameters-1).
    std::string ParameterName(int32 index) { return QueryText(effGetParamName, index); }
    std::string ParameterDisplay(int32 index) { return QueryText(effGetParamDisplay, index); }
    std::string ParameterLabel(int32 index) { return QueryText(effGetParamLabel, index); }

    /// Sets parameter `index` to the normalised `value` (0..1).
    void SetParameter(int32 index, float value);

    /// Sets parameter `index` to the normalised value whose display reads closest to `target`
    /// (in the parameter's own unit), assuming the display is monotonic over 0..1. False with
    /// `error` when the display is not a number or does not change; `note` tells when the
    /// target lies outside the range and the nearer end was taken.
    [[nodiscard]] bool SetParameterByDisplay(int32 index, double target, std::string& note,
                                             std::string& error);

    /// The latency the plug-in reports (samples).
    int32 Latency() const { return effect != nullptr ? effect->initialDelay : 0; }

    /// Number of inputs and outputs the plug-in declares (at least 2 each once open).
    int32 NumInputs() const { return effect != nullptr ? effect->numInputs : 0; }
    int32 NumOutputs() const { return effect != nullptr ? effect->numOutputs : 0; }

    /// Copies `frames` (1..block size) samples of each channel into the input buffers, zeroes
    /// the outputs and follows changed channel counts. False with `error` when the plug-in has
    /// changed to a shape it cannot be driven with any more.
    [[nodiscard]] bool LoadBlock(const float* left, const float* right, int32 frames,
                                 std::string& error);

    // --- measured: the plug-in's processing and nothing else
    /// Runs processReplacing over the loaded block.
    void Process(int32 frames)
    {
        effect->processReplacing(effect, inputs.data(), outputs.data(), frames);
        samplePosition += static_cast<double>(frames);
    }

    /// Output channel 0 (left) or 1 (right) of the last processed block.
    const float* Output(int channel) const { return outputs[static_cast<std::size_t>(channel)]; }

    /// The callback handed to entry points; serves every open instance.
    static intptr VRN_VST_CALL HostCallback(AEffect* effect, int32 opcode, int32 index,
                                            intptr value, void* ptr, float opt) noexcept;

private:
    intptr Dispatch(int32 opcode, int32 index = 0, intptr value = 0, void* ptr = nullptr,
                    float opt = 0.0f);
    std::string QueryText(int32 opcode, int32 index);
    [[nodiscard]] bool LayOutBuffers(std::string& error);
    bool DisplayNumber(int32 index, float value, double& number);
    intptr HandleCallback(int32 opcode, int32 index, intptr value, void* ptr);

    PluginLibrary library;
    AEffect* effect = nullptr;
    bool resumed = false;
    double sampleRate = 48000.0;
    int32 blockSize = 512;
    double samplePosition = 0.0;
    VstTimeInfo timeInfo{};
    int32 laidInputs = -1;
    int32 laidOutputs = -1;
    std::vector<float> storage;
    std::vector<float*> inputs;
    std::vector<float*> outputs;
};

} // namespace vrn
