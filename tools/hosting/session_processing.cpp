// A HostSession's processing: one block at a time, and whole renders split into blocks.
#include "tools/hosting/host_session.h"

#include <algorithm>

namespace vrn
{
namespace
{

// A channel count the session can allocate buffers for.
bool ChannelCountOk(int32 count)
{
    return count >= 0 && count <= kHostMaxChannels;
}

// Lays out `buffers` for the plug-in's channel counts when they differ from the current ones.
template <typename Sample>
void FollowChannels(BlockBuffers<Sample>& buffers, const AEffect& effect, int32 blockSize)
{
    const auto ins = static_cast<std::size_t>(effect.numInputs);
    const auto outs = static_cast<std::size_t>(effect.numOutputs);
    if (buffers.Inputs() == nullptr || buffers.NumInputs() != ins || buffers.NumOutputs() != outs)
        buffers.Layout(ins, outs, static_cast<std::size_t>(blockSize));
}

} // namespace

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

bool HostSession::PrepareBlock(int32 frames, std::string& error)
{
    // The plug-in may change its channel counts from inside a call (audioMasterIOChanged); the
    // buffers follow.
    if (!CanProcess(error))
        return false;
    const auto count =
        static_cast<std::size_t>(std::clamp(frames, int32{0}, settings.maxBlockSize));
    if (settings.precision == ProcessPrecision::Double)
    {
        FollowChannels(doubles, *effect, settings.maxBlockSize);
        doubles.Clear(count);
    }
    else
    {
        FollowChannels(floats, *effect, settings.maxBlockSize);
        floats.Clear(count);
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
        const int32 block = static_cast<int32>(std::min<std::uint64_t>(
            frames - offset, static_cast<std::uint64_t>(settings.maxBlockSize)));
        if (!PrepareBlock(block, error))
            return false;
        // Rendered output keeps the shape it was given.
        if (inputs != nullptr && (inputs->size() != static_cast<std::size_t>(effect->numInputs) ||
                                  outputs->size() != static_cast<std::size_t>(effect->numOutputs)))
        {
            error = "the plug-in changed its channel counts while rendering";
            return false;
        }
        // Only rendering passes buffers, and those are indexed by size_t, so the offset fits.
        const auto start = static_cast<std::size_t>(offset);
        if (settings.precision == ProcessPrecision::Double)
            CopyBlock(doubles, inputs, start, block, nullptr);
        else
            CopyBlock(floats, inputs, start, block, nullptr);
        ProcessBlock(block);
        if (settings.precision == ProcessPrecision::Double)
            CopyBlock(doubles, nullptr, start, block, outputs);
        else
            CopyBlock(floats, nullptr, start, block, outputs);
        offset += static_cast<std::uint64_t>(block);
    }
    return true;
}

// Copies `frames` frames from `inputs` at `offset` into the input buffers, or from the output
// buffers into `outputs` at `offset`; a null side is left alone.
template <typename Sample>
void HostSession::CopyBlock(BlockBuffers<Sample>& buffers, const std::vector<const double*>* inputs,
                            std::size_t offset, int32 frames,
                            std::vector<std::vector<double>>* outputs)
{
    const auto count = static_cast<std::size_t>(frames);
    for (std::size_t c = 0; inputs != nullptr && c < buffers.NumInputs(); ++c)
    {
        const double* source = (*inputs)[c];
        Sample* in = buffers.Input(c);
        for (std::size_t i = 0; source != nullptr && i < count; ++i)
            in[i] = static_cast<Sample>(source[offset + i]);
    }
    for (std::size_t c = 0; outputs != nullptr && c < buffers.NumOutputs() && c < outputs->size();
         ++c)
    {
        const Sample* out = buffers.Output(c);
        for (std::size_t i = 0; i < count; ++i)
            (*outputs)[c][offset + i] = static_cast<double>(out[i]);
    }
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
