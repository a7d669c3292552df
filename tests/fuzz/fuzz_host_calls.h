#pragma once
// The host calls both sequence targets decode: what a host does besides the dispatcher's
// editor and lifecycle opcodes, on the audio thread or another of its threads.

#include "tests/fuzz/fuzz_input.h"
#include "tests/fuzz/fuzz_plugin.h"

#include <cstdint>
#include <vector>

namespace vrn::fuzz
{

constexpr std::size_t kMaxFrames = 4096;         ///< per processing call
constexpr std::size_t kMaxFramesPerInput = 4096; ///< keeps one input cheap

/// Decodes and makes parameter, processing, chunk and suspend/resume calls on one instance,
/// checking what each answers.
class HostCalls
{
public:
    static constexpr unsigned kKinds = 7; ///< how many calls Call chooses from

    HostCalls(Instance& instance, Reader& reader) : plugin(instance), in(reader) {}

    /// Makes call `kind` (0 … kKinds − 1) with decoded arguments.
    void Call(unsigned kind)
    {
        switch (kind)
        {
        case 0:
            SetParameter();
            break;
        case 1:
            (void)plugin.effect->getParameter(plugin.effect, ParameterIndex());
            break;
        case 2:
            Process<float>(plugin.effect->processReplacing);
            break;
        case 3:
            Process<double>(plugin.effect->processDoubleReplacing);
            break;
        case 4:
            SaveChunk();
            break;
        case 5:
            LoadChunk();
            break;
        default:
        {
            const unsigned on = in.Choose(2);
            Trace(on ? "resume" : "suspend");
            plugin.Dispatch(effMainsChanged, 0, on);
            break;
        }
        }
    }

    /// Mostly a declared parameter, sometimes any index.
    int32 ParameterIndex()
    {
        if (in.Choose(8) != 0)
            return static_cast<int32>(in.Choose(static_cast<unsigned>(plugin.effect->numParams)));
        return in.Int();
    }

    /// Forgets the plug-in's own chunk bytes (after a call that may have been a chunk call).
    void ForgetHandedOutChunk() { handedOut = nullptr; }

protected:
    Instance& plugin;
    Reader& in;

private:
    void SetParameter()
    {
        const int32 index = ParameterIndex();
        const float value = in.Float();
        Trace("setParameter %d %g", index, static_cast<double>(value));
        plugin.effect->setParameter(plugin.effect, index, value);
    }

    template <class Sample, class ProcessFunction>
    void Process(ProcessFunction process)
    {
        // Mostly blocks of up to two of the signal path's 64-frame chunks, some long ones, some
        // negative counts (nothing to process).
        const unsigned length = in.Choose(8);
        int32 frames = static_cast<int32>(in.Choose(129));
        if (length == 0)
            frames = static_cast<int32>(in.Take<std::uint16_t>() % (kMaxFrames + 1));
        else if (length == 1)
            frames = -1 - static_cast<int32>(in.Take<std::uint16_t>());
        if (frames > 0 && framesUsed + static_cast<std::size_t>(frames) > kMaxFramesPerInput)
            frames = 0;
        const std::size_t n = frames > 0 ? static_cast<std::size_t>(frames) : 0;
        framesUsed += n;

        // Separate buffers of exactly `n` frames: AddressSanitizer sees any access beyond.
        std::vector<Sample> inL(n), inR(n), outL(n), outR(n);
        FillSignal(inL);
        FillSignal(inR);
        Sample* inputs[2] = {inL.data(), inR.data()};
        Sample* outputs[2] = {outL.data(), outR.data()};
        Sample** in2 = inputs;
        Sample** out2 = outputs;
        switch (in.Choose(5))
        {
        case 0: // in place
            out2 = inputs;
            break;
        case 1: // both channels and the outputs in one buffer
            inputs[1] = inputs[0];
            out2 = inputs;
            break;
        case 2: // no buffers, or a missing channel
            in2 = in.Choose(2) == 0 ? nullptr : inputs;
            outputs[1] = nullptr;
            break;
        default:
            break;
        }
        Trace("process%s %d frames, %s", sizeof(Sample) == 4 ? "Replacing" : "DoubleReplacing",
              frames,
              !in2 || !outputs[1] ? "null buffers"
                                  : (out2 == inputs ? "in place" : "separate outputs"));
        process(plugin.effect, in2, out2, frames);
        if (out2 == outputs && outputs[1] == nullptr)
            return;
        Require(AllFinite(out2[0], out2[1], n), "finite output");
    }

    template <class Sample>
    VRN_FUZZ_NOT_COVERED void FillSignal(std::vector<Sample>& samples)
    {
        static const char* const kKinds[] = {"silence", "tone", "input bytes", "edge values"};
        const unsigned kind = in.Choose(4);
        Trace("  signal: %s", kKinds[kind]);
        switch (kind)
        {
        case 0: // silence
            break;
        case 1: // a tone
            for (std::size_t j = 0; j < samples.size(); ++j)
                samples[j] = static_cast<Sample>(1.4f * Tone(j));
            break;
        case 2: // input bytes, up to ±8 (+18 dBFS)
            for (Sample& s : samples)
                s = static_cast<Sample>(in.Take<std::int16_t>() / 4096.0);
            break;
        default: // a tone with edge values (NaN, infinities, denormals, huge) strewn in
        {
            const std::size_t every = 1 + in.Choose(64);
            for (std::size_t j = 0; j < samples.size(); ++j)
                samples[j] = static_cast<Sample>(j % every == 0 ? in.Float() : Tone(j));
        }
        }
    }

    void SaveChunk()
    {
        Trace("getChunk");
        void* data = nullptr;
        const intptr size = plugin.Dispatch(effGetChunk, 0, 0, &data);
        Require(size == 260 && data != nullptr, "a chunk of 260 bytes");
        const auto* bytes = static_cast<const unsigned char*>(data);
        saved.assign(bytes, bytes + size);
        handedOut = data;
    }

    void LoadChunk()
    {
        std::vector<unsigned char> bytes;
        void* data = nullptr;
        switch (in.Choose(4))
        {
        case 0: // the plug-in's own buffer, straight back (valid until the next chunk call)
            if (!handedOut)
                return;
            data = handedOut;
            bytes.resize(saved.size());
            break;
        case 1: // a saved chunk, maybe cut short
            bytes = saved;
            bytes.resize(in.Take<std::uint16_t>() % (bytes.size() + 1));
            break;
        case 2: // a saved chunk with one value changed
            bytes = saved;
            if (bytes.size() >= 4)
            {
                const float value = in.Float();
                std::memcpy(bytes.data() + 4 * in.Choose(static_cast<unsigned>(bytes.size() / 4)),
                            &value, sizeof value);
            }
            break;
        default: // input bytes
            bytes.resize(in.Take<std::uint16_t>() % (kMaxChunkBytes + 1));
            bytes.resize(in.Bytes(bytes.data(), bytes.size()));
            break;
        }
        // Unaligned on purpose: hosts hand over any buffer.
        std::vector<unsigned char> copy(bytes.size() + 1);
        if (!data)
        {
            if (!bytes.empty())
                std::memcpy(copy.data() + 1, bytes.data(), bytes.size());
            data = copy.data() + 1;
        }
        const auto size = static_cast<intptr>(bytes.size());
        Trace("setChunk %lld bytes", static_cast<long long>(size));
        Require(plugin.Dispatch(effSetChunk, static_cast<int32>(in.Choose(2)), size, data) == size,
                "setChunk answers the size passed");
        handedOut = nullptr;
    }

    std::vector<unsigned char> saved; ///< the last chunk the plug-in handed out, copied
    void* handedOut = nullptr;        ///< the plug-in's own chunk bytes while still valid
    std::size_t framesUsed = 0;
};

} // namespace vrn::fuzz
