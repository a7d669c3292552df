#pragma once
// The channel buffers of one processing call: separate inputs and outputs, each channel aligned.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vrn
{

/// Input and output channels of `Sample` (float or double) for one process call. Every channel
/// starts on a 64-byte boundary, so no plug-in is measured with split loads.
template <typename Sample>
class BlockBuffers
{
public:
    /// Lays out `inputs` and `outputs` channels of `frames` samples each (frames >= 1), zeroed.
    void Layout(std::size_t inputs, std::size_t outputs, std::size_t frames)
    {
        constexpr std::size_t kAlign = 64 / sizeof(Sample);
        const std::size_t stride = (frames + kAlign - 1) / kAlign * kAlign;
        storage.assign((inputs + outputs) * stride + kAlign, Sample{});
        const auto address = reinterpret_cast<std::uintptr_t>(storage.data());
        const std::size_t skip = (64 - address % 64) % 64 / sizeof(Sample);
        Sample* base = storage.data() + skip;
        // One spare null entry keeps each pointer array valid for a plug-in without channels.
        inputPointers.assign(inputs + 1, nullptr);
        outputPointers.assign(outputs + 1, nullptr);
        for (std::size_t c = 0; c < inputs; ++c)
            inputPointers[c] = base + c * stride;
        for (std::size_t c = 0; c < outputs; ++c)
            outputPointers[c] = base + (inputs + c) * stride;
        numInputs = inputs;
        numOutputs = outputs;
    }

    /// Channel counts of the current layout.
    std::size_t NumInputs() const { return numInputs; }
    std::size_t NumOutputs() const { return numOutputs; }

    /// Channel `c` (below NumInputs or NumOutputs).
    Sample* Input(std::size_t c) { return inputPointers[c]; }
    Sample* Output(std::size_t c) { return outputPointers[c]; }
    const Sample* Output(std::size_t c) const { return outputPointers[c]; }

    /// The pointer arrays handed to the plug-in.
    Sample** Inputs() { return inputPointers.data(); }
    Sample** Outputs() { return outputPointers.data(); }

    /// Zeroes the first `frames` samples of every channel.
    void Clear(std::size_t frames)
    {
        for (std::size_t c = 0; c < numInputs; ++c)
            std::fill(inputPointers[c], inputPointers[c] + frames, Sample{});
        for (std::size_t c = 0; c < numOutputs; ++c)
            std::fill(outputPointers[c], outputPointers[c] + frames, Sample{});
    }

private:
    std::vector<Sample> storage;
    std::vector<Sample*> inputPointers;
    std::vector<Sample*> outputPointers;
    std::size_t numInputs = 0;
    std::size_t numOutputs = 0;
};

} // namespace vrn
