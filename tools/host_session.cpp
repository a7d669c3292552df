// One VST2 plug-in instance driven by the host tool: host callback, opening, parameters, chunks,
// processing.
#include "tools/host_session.h"

#include "tools/host_answers.h"
#include "tools/parameter_lookup.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace vrn
{
namespace
{

constexpr char kProductString[] = "vsthost";

// A chunk larger than this is taken as a broken size answer rather than copied.
constexpr intptr kMaxChunkBytes = intptr{1} << 30;

std::string FormatFloat(const char* format, double value)
{
    char text[64] = {};
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// A channel count the session can allocate buffers for.
bool ChannelCountOk(int32 count)
{
    return count >= 0 && count <= kHostMaxChannels;
}

} // namespace

HostSession* HostSession::current = nullptr;

HostSession::HostSession(const HostSettings& initial) : settings(initial)
{
    settings.maxBlockSize = std::clamp(settings.maxBlockSize, int32{1}, kHostMaxBlockSize);
}

HostSession::~HostSession()
{
    Close();
}

void HostSession::SetTraceSink(std::function<void(const std::string&)> sink)
{
    traceSink = std::move(sink);
}

OpenResult HostSession::Open(const std::string& path, std::string& error)
{
    Close();
    if (current != nullptr)
    {
        error = "another plug-in session is still open";
        return OpenResult::LoadFailed;
    }
    if (!library.Load(path, error))
        return OpenResult::LoadFailed;
    const char* entryName = nullptr;
    const PluginEntryProc entry = library.FindEntry(entryName);
    if (entry == nullptr)
    {
        error = path + " exports none of VSTPluginMain, main, MAIN";
        library.Unload();
        return OpenResult::NoEntry;
    }

    samplePosition = 0.0;
    resumed = false;
    current = this;
    AEffect* created = entry(&HostCallback);
    if (created == nullptr)
    {
        error = std::string("the entry point ") + entryName + " returned no effect";
        library.Unload();
        current = nullptr;
        return OpenResult::NoEffect;
    }
    if (created->magic != kEffectMagic)
    {
        char text[80] = {};
        std::snprintf(text, sizeof text, "wrong magic 0x%08x (expected 0x%08x)",
                      static_cast<unsigned>(created->magic), static_cast<unsigned>(kEffectMagic));
        error = text;
        // Nothing may be called through a record of unknown layout, not even effClose.
        library.Unload();
        current = nullptr;
        return OpenResult::BadMagic;
    }
    effect = created;
    Dispatch(effOpen);
    Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(settings.sampleRate));
    Dispatch(effSetBlockSize, 0, settings.maxBlockSize);
    Resume();
    return OpenResult::Ok;
}

void HostSession::Close() noexcept
{
    if (effect != nullptr)
    {
        if (resumed)
            Dispatch(effMainsChanged, 0, 0);
        resumed = false;
        Dispatch(effClose);
        effect = nullptr;
    }
    library.Unload();
    if (current == this)
        current = nullptr;
}

intptr HostSession::Dispatch(int32 opcode, int32 index, intptr value, void* ptr, float opt)
{
    if (effect == nullptr || effect->dispatcher == nullptr)
        return 0;
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

intptr HostSession::DispatchWithScratch(int32 opcode, int32 index, intptr value, float opt,
                                        std::string& text)
{
    text.clear();
    if (effect == nullptr)
        return 0;
    char scratch[kHostTextBufferSize] = {};
    const intptr answer = Dispatch(opcode, index, value, scratch, opt);
    scratch[kHostTextBufferSize - 1] = '\0';
    text = scratch;
    if (opcode == effMainsChanged)
        resumed = value != 0;
    if (opcode == effClose)
    {
        // The plug-in has freed its record; only the library is left to unload.
        effect = nullptr;
        resumed = false;
    }
    return answer;
}

std::string HostSession::QueryText(int32 opcode, int32 index)
{
    char text[kHostTextBufferSize] = {};
    Dispatch(opcode, index, 0, text);
    text[kHostTextBufferSize - 1] = '\0';
    return text;
}

intptr HostSession::CanDo(const std::string& feature)
{
    // The plug-in gets its own writable copy: some compare in place and touch the buffer.
    std::vector<char> text(std::max(feature.size() + 1, kHostTextBufferSize), '\0');
    std::copy(feature.begin(), feature.end(), text.begin());
    return Dispatch(effCanDo, 0, 0, text.data());
}

int32 HostSession::NumParameters() const
{
    return effect != nullptr ? std::max(effect->numParams, int32{0}) : 0;
}

int32 HostSession::FindParameter(const std::string& key)
{
    return FindParameterIndex(key, NumParameters(),
                              [this](int32 index) { return ParameterName(index); });
}

float HostSession::GetParameter(int32 index)
{
    if (effect == nullptr || effect->getParameter == nullptr)
        return 0.0f;
    return effect->getParameter(effect, index);
}

void HostSession::SetParameter(int32 index, float value)
{
    if (effect != nullptr && effect->setParameter != nullptr)
        effect->setParameter(effect, index, value);
}

bool HostSession::GetChunk(std::vector<unsigned char>& bytes, std::string& error)
{
    bytes.clear();
    void* data = nullptr;
    const intptr size = Dispatch(effGetChunk, 0, 0, &data);
    if (size < 0 || size > kMaxChunkBytes)
    {
        error = "the plug-in answered a chunk size of " + std::to_string(size) + " bytes";
        return false;
    }
    if (size > 0 && data == nullptr)
    {
        error = "the plug-in answered a chunk size of " + std::to_string(size) + " without data";
        return false;
    }
    const auto* first = static_cast<const unsigned char*>(data);
    bytes.assign(first, first + size);
    return true;
}

intptr HostSession::SetChunk(const std::vector<unsigned char>& bytes)
{
    // A writable copy, never a null pointer even for an empty chunk.
    std::vector<unsigned char> copy(bytes);
    copy.push_back(0);
    return Dispatch(effSetChunk, 0, static_cast<intptr>(bytes.size()), copy.data());
}

void HostSession::Suspend()
{
    Dispatch(effMainsChanged, 0, 0);
    resumed = false;
}

void HostSession::Resume()
{
    Dispatch(effMainsChanged, 0, 1);
    resumed = effect != nullptr;
}

int32 HostSession::Latency() const
{
    return effect != nullptr ? effect->initialDelay : 0;
}

bool HostSession::CanProcess(std::string& error) const
{
    if (effect == nullptr)
    {
        error = "no plug-in instance is open";
        return false;
    }
    if (!ChannelCountOk(effect->numInputs) || !ChannelCountOk(effect->numOutputs))
    {
        error = "the plug-in declares " + std::to_string(effect->numInputs) + " inputs and " +
                std::to_string(effect->numOutputs) + " outputs";
        return false;
    }
    if (settings.precision == ProcessPrecision::Double)
    {
        if ((effect->flags & effFlagsCanDoubleReplacing) == 0 ||
            effect->processDoubleReplacing == nullptr)
        {
            error = "the plug-in cannot process double precision";
            return false;
        }
    }
    else if (effect->processReplacing == nullptr)
    {
        error = "the plug-in has no processReplacing";
        return false;
    }
    return true;
}

bool HostSession::Render(const std::vector<const double*>& inputs, std::size_t frames,
                         std::vector<std::vector<double>>& outputs, std::string& error)
{
    outputs.clear();
    if (!CanProcess(error))
        return false;
    if (inputs.size() != static_cast<std::size_t>(effect->numInputs))
    {
        error = "input channel count does not match the plug-in";
        return false;
    }
    outputs.assign(static_cast<std::size_t>(effect->numOutputs), std::vector<double>(frames));
    return RunBlocks(&inputs, frames, &outputs, error);
}

bool HostSession::ProcessSilence(std::uint64_t frames, std::string& error)
{
    if (!CanProcess(error))
        return false;
    return RunBlocks(nullptr, frames, nullptr, error);
}

bool HostSession::RunBlocks(const std::vector<const double*>* inputs, std::uint64_t frames,
                            std::vector<std::vector<double>>* outputs, std::string& error)
{
    for (std::uint64_t offset = 0; offset < frames;)
    {
        // The plug-in may change its channel counts from inside a call (audioMasterIOChanged);
        // the buffers follow, but rendered output keeps the shape it was given.
        if (!CanProcess(error))
            return false;
        if (inputs != nullptr && (inputs->size() != static_cast<std::size_t>(effect->numInputs) ||
                                  outputs->size() != static_cast<std::size_t>(effect->numOutputs)))
        {
            error = "the plug-in changed its channel counts while rendering";
            return false;
        }
        const int32 block = static_cast<int32>(std::min<std::uint64_t>(
            frames - offset, static_cast<std::uint64_t>(settings.maxBlockSize)));
        if (settings.precision == ProcessPrecision::Double)
            RunBlock(doubleStorage, doublePointers, inputs, offset, block, outputs);
        else
            RunBlock(floatStorage, floatPointers, inputs, offset, block, outputs);
        offset += static_cast<std::uint64_t>(block);
    }
    return true;
}

template <typename Sample>
void HostSession::RunBlock(std::vector<Sample>& storage, std::vector<Sample*>& pointers,
                           const std::vector<const double*>* inputs, std::uint64_t offset,
                           int32 frames, std::vector<std::vector<double>>* outputs)
{
    const auto numInputs = static_cast<std::size_t>(effect->numInputs);
    const auto numOutputs = static_cast<std::size_t>(effect->numOutputs);
    const auto block = static_cast<std::size_t>(settings.maxBlockSize);
    const auto count = static_cast<std::size_t>(frames);
    // Only rendering passes buffers, and those are indexed by size_t, so the offset fits.
    const auto start = static_cast<std::size_t>(offset);
    // Inputs and outputs are separate buffers; outputs start zeroed on every call so that a
    // plug-in which leaves a channel untouched produces silence, not the previous block.
    storage.assign((numInputs + numOutputs) * block, Sample{});
    // One spare entry keeps the pointer arrays valid for a plug-in without inputs or outputs.
    pointers.assign(numInputs + numOutputs + 2, nullptr);
    Sample** in = pointers.data();
    Sample** out = pointers.data() + numInputs + 1;
    for (std::size_t c = 0; c < numInputs; ++c)
    {
        in[c] = storage.data() + c * block;
        const double* source = inputs != nullptr ? (*inputs)[c] : nullptr;
        if (source != nullptr)
        {
            for (std::size_t i = 0; i < count; ++i)
                in[c][i] = static_cast<Sample>(source[start + i]);
        }
    }
    for (std::size_t c = 0; c < numOutputs; ++c)
        out[c] = storage.data() + (numInputs + c) * block;

    if constexpr (sizeof(Sample) == sizeof(double))
        effect->processDoubleReplacing(effect, in, out, frames);
    else
        effect->processReplacing(effect, in, out, frames);
    samplePosition += static_cast<double>(frames);

    if (outputs != nullptr)
    {
        for (std::size_t c = 0; c < numOutputs && c < outputs->size(); ++c)
        {
            for (std::size_t i = 0; i < count; ++i)
                (*outputs)[c][start + i] = static_cast<double>(out[c][i]);
        }
    }
}

intptr VRN_VST_CALL HostSession::HostCallback(AEffect* /*effect*/, int32 opcode, int32 index,
                                              intptr value, void* ptr, float opt) noexcept
{
    try
    {
        if (current == nullptr)
            return 0;
        return current->HandleCallback(opcode, index, value, ptr, opt);
    }
    catch (...)
    {
        return 0;
    }
}

intptr HostSession::HandleCallback(int32 opcode, int32 index, intptr value, void* ptr, float opt)
{
    if (traceSink)
    {
        traceSink("host: opcode=" + std::to_string(opcode) + " index=" + std::to_string(index) +
                  " value=" + std::to_string(value) +
                  " opt=" + FormatFloat("%g", static_cast<double>(opt)));
    }
    if (opcode == audioMasterVersion)
        return settings.hostVersion;
    if (opcode == audioMasterGetTime)
    {
        if (!settings.timeInfo)
            return 0;
        timeInfo = TransportAt(samplePosition, settings.sampleRate, settings.tempo);
        return reinterpret_cast<intptr>(&timeInfo);
    }
    return AnswerHostQuery(opcode, ptr, settings.sampleRate, settings.maxBlockSize, kProductString);
}

std::vector<const double*> MapInputChannels(const std::vector<std::vector<double>>& channels,
                                            int32 numInputs)
{
    std::vector<const double*> inputs(static_cast<std::size_t>(std::max(numInputs, int32{0})),
                                      nullptr);
    if (channels.size() == 1 && inputs.size() == 2)
    {
        inputs[0] = channels[0].data();
        inputs[1] = channels[0].data();
        return inputs;
    }
    for (std::size_t c = 0; c < inputs.size() && c < channels.size(); ++c)
        inputs[c] = channels[c].data();
    return inputs;
}

} // namespace vrn
