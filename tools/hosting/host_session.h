#pragma once
// One VST2 plug-in instance driven by a tool: host callback, opening, parameters, chunks,
// processing. Any number of sessions may be open at once.

#include "host/vst2_abi.h"
#include "tools/hosting/block_buffers.h"
#include "tools/hosting/plugin_library.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vrn
{

/// Sample type handed to the plug-in's processing.
enum class ProcessPrecision
{
    Float,  ///< processReplacing with float buffers
    Double, ///< processDoubleReplacing with double buffers
};

/// What the host tells the plug-in about itself and its transport.
struct HostSettings
{
    double sampleRate = 48000.0;                          ///< Hz, > 0
    int32 maxBlockSize = 512;                             ///< frames per process call, 1..65536
    ProcessPrecision precision = ProcessPrecision::Float; ///< sample type of processing
    int32 hostVersion = kVstVersion; ///< answer to audioMasterVersion (0: too old)
    bool timeInfo = true;            ///< false: audioMasterGetTime answers 0
    double tempo = 120.0;            ///< transport tempo in BPM, > 0
    std::string product = "vsthost"; ///< answer to audioMasterGetProductString, <= 63 characters
};

/// Outcome of HostSession::Open.
enum class OpenResult
{
    Ok,         ///< instance opened and resumed
    LoadFailed, ///< the library could not be loaded
    NoEntry,    ///< the library exports no entry point
    NoEffect,   ///< the entry point returned null
    BadMagic,   ///< the returned record does not carry kEffectMagic
};

/// How FindParameter compares names.
enum class NameMatch
{
    Exact,        ///< the name must match exactly
    IgnoringCase, ///< an exact match first, then one that differs only in case
};

/// Size of every text buffer handed to the plug-in (bytes, zeroed, always terminated).
constexpr std::size_t kHostTextBufferSize = 512;

/// Most channels per direction the session accepts from a plug-in.
constexpr int32 kHostMaxChannels = 256;

/// Largest block size a session may be configured with (frames).
constexpr int32 kHostMaxBlockSize = 65536;

/// One loaded plug-in instance. The host callback finds its session through the plug-in's
/// record; see HostCallback for calls made before the record exists.
class HostSession
{
public:
    /// A closed session using `settings` (copied) once opened.
    explicit HostSession(const HostSettings& settings);
    /// Closes the instance if it is still open.
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    /// Loads the library, calls its entry point with HostCallback, checks the magic, then
    /// sends effOpen, effSetSampleRate, effSetBlockSize and effMainsChanged(1).
    [[nodiscard]] OpenResult Open(const std::string& path, std::string& error);

    /// Suspends a resumed instance, sends effClose and unloads the library. Safe to repeat.
    void Close() noexcept;

    /// True between a successful Open and Close (or a raw effClose).
    bool IsOpen() const { return effect != nullptr; }

    /// The plug-in's record; null when not open.
    AEffect* Effect() const { return effect; }

    /// The settings the session reports to the plug-in.
    const HostSettings& Settings() const { return settings; }

    /// Receives every host callback as one line `host: opcode=N index=I value=V opt=F`.
    void SetTraceSink(std::function<void(const std::string&)> sink);

    /// Answers the plug-in's audioMasterSizeWindow (width, height in pixels): 1 when `handler`
    /// made the editor's window that size; without a handler (the default) the request
    /// answers 0.
    void SetWindowSizeHandler(std::function<bool(int32 width, int32 height)> handler);

    /// Plain dispatcher call; answers 0 when not open.
    intptr Dispatch(int32 opcode, int32 index = 0, intptr value = 0, void* ptr = nullptr,
                    float opt = 0.0f);

    /// Dispatcher call with a zeroed kHostTextBufferSize-byte scratch buffer as ptr; `text`
    /// receives the buffer as text. Keeps track of effMainsChanged and effClose sent this way.
    intptr DispatchWithScratch(int32 opcode, int32 index, intptr value, float opt,
                               std::string& text);

    /// Text answer of a string opcode (effGetEffectName, effGetParamName, ...).
    std::string QueryText(int32 opcode, int32 index = 0);

    /// The plug-in's own name: effGetEffectName, else effGetProductString; may be empty.
    std::string EffectName();

    /// Raw answer of effCanDo for `feature`.
    intptr CanDo(const std::string& feature);

    /// Number of parameters, inputs and outputs (0 when not open).
    int32 NumParameters() const;
    int32 NumInputs() const { return effect != nullptr ? effect->numInputs : 0; }
    int32 NumOutputs() const { return effect != nullptr ? effect->numOutputs : 0; }

    /// Parameter index for a decimal index or a parameter name; -1 when unknown.
    int32 FindParameter(const std::string& key, NameMatch match = NameMatch::Exact);

    /// Name, display text and unit label of parameter `index` (0..NumParameters-1).
    std::string ParameterName(int32 index) { return QueryText(effGetParamName, index); }
    std::string ParameterDisplay(int32 index) { return QueryText(effGetParamDisplay, index); }
    std::string ParameterLabel(int32 index) { return QueryText(effGetParamLabel, index); }

    /// Normalised value of parameter `index` (usually 0..1).
    float GetParameter(int32 index);

    /// Sets parameter `index` to the normalised `value`, passed on unchanged.
    void SetParameter(int32 index, float value);

    /// Copies the plug-in's chunk (effGetChunk, index 0); false with `error` when the plug-in
    /// answers a negative or absurd size, or a size without data.
    [[nodiscard]] bool GetChunk(std::vector<unsigned char>& bytes, std::string& error);

    /// Hands `bytes` to effSetChunk (index 0, value = size) and returns its answer.
    intptr SetChunk(const std::vector<unsigned char>& bytes);

    /// Sends effMainsChanged(0): the plug-in stops processing.
    void Suspend();

    /// Sends effMainsChanged(1): the plug-in gets ready to process.
    void Resume();

    /// True after Resume (or a raw effMainsChanged with value != 0).
    bool IsResumed() const { return resumed; }

    /// The latency the plug-in reports now (AEffect::initialDelay, samples).
    int32 Latency() const;

    /// Transport position: frames processed since Open.
    double SamplePosition() const { return samplePosition; }

    /// True when the plug-in can process at the configured precision; else `error` says why.
    [[nodiscard]] bool CanProcess(std::string& error) const;

    /// Processes `frames` frames through the plug-in in blocks of at most maxBlockSize frames.
    /// `inputs` holds one pointer per plug-in input (null: silence), each `frames` long;
    /// `outputs` becomes numOutputs channels of `frames` samples.
    [[nodiscard]] bool Render(const std::vector<const double*>& inputs, std::size_t frames,
                              std::vector<std::vector<double>>& outputs, std::string& error);

    /// Processes `frames` frames of silence in blocks and drops the output.
    [[nodiscard]] bool ProcessSilence(std::uint64_t frames, std::string& error);

    /// Readies the buffers of the configured precision for one call of `frames` frames
    /// (1..maxBlockSize): checks CanProcess, follows changed channel counts and zeroes every
    /// input and output, so that a plug-in which leaves a channel untouched produces silence.
    [[nodiscard]] bool PrepareBlock(int32 frames, std::string& error);

    /// The buffers of the next call, as PrepareBlock left them.
    BlockBuffers<float>& FloatBuffers() { return floats; }
    BlockBuffers<double>& DoubleBuffers() { return doubles; }

    // --- measured by the benchmark: the plug-in's processing and nothing else
    /// Processes the prepared block (`frames` as prepared) and advances the transport.
    void ProcessBlock(int32 frames)
    {
        if (settings.precision == ProcessPrecision::Double)
            effect->processDoubleReplacing(effect, doubles.Inputs(), doubles.Outputs(), frames);
        else
            effect->processReplacing(effect, floats.Inputs(), floats.Outputs(), frames);
        samplePosition += static_cast<double>(frames);
    }

    /// The callback handed to entry points; serves every open session. A call is answered by
    /// the session whose record it names; a call whose record is null or not yet known (the
    /// entry point is still running) by the session being opened, else by the only open one.
    /// With no such session it answers 0.
    static intptr VRN_VST_CALL HostCallback(AEffect* effect, int32 opcode, int32 index,
                                            intptr value, void* ptr, float opt) noexcept;

private:
    intptr HandleCallback(int32 opcode, int32 index, intptr value, void* ptr, float opt);
    template <typename Sample>
    void CopyBlock(BlockBuffers<Sample>& buffers, const std::vector<const double*>* inputs,
                   std::size_t offset, int32 frames, std::vector<std::vector<double>>* outputs);
    bool RunBlocks(const std::vector<const double*>* inputs, std::uint64_t frames,
                   std::vector<std::vector<double>>* outputs, std::string& error);

    HostSettings settings;
    PluginLibrary library;
    AEffect* effect = nullptr;
    bool resumed = false;
    double samplePosition = 0.0;
    VstTimeInfo timeInfo{};
    std::function<void(const std::string&)> traceSink;
    std::function<bool(int32, int32)> windowSizeHandler;
    BlockBuffers<float> floats;
    BlockBuffers<double> doubles;
};

/// Maps file channels onto `numInputs` plug-in inputs: a mono file feeds both inputs of a
/// two-input plug-in; otherwise input i gets file channel i, or null (silence) past the end.
std::vector<const double*> MapInputChannels(const std::vector<std::vector<double>>& channels,
                                            int32 numInputs);

} // namespace vrn
