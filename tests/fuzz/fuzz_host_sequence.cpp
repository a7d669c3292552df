// Fuzz target: a host that misbehaves. Byte-decoded sequences of dispatcher calls (any opcode,
// index, value and option; null pointers and buffers of decoded sizes), parameter sets and
// gets, processing calls of any length in both precisions, chunk saves and loads, suspend and
// resume, sample-rate and block-size changes, in any order. Every call must return, the output
// stay finite and every parameter the host reads stay within 0 … 1.
#include "tests/fuzz/fuzz_input.h"
#include "tests/fuzz/fuzz_plugin.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace
{

using namespace vrn;
using fuzz::Reader;
using fuzz::Require;

constexpr std::size_t kMaxFrames = 4096;         ///< per processing call
constexpr std::size_t kMaxFramesPerInput = 8192; ///< keeps one input cheap
constexpr std::size_t kMaxChunkBytes = 1100;     ///< a little more than 260

/// What the interface lets a host pass in `ptr`, per opcode.
enum class Pointer
{
    kUnused,   ///< the plug-in must not write through it: any small buffer
    kTextIn,   ///< a terminated text
    kTextOut,  ///< a text buffer of a fixed size that the plug-in terminates
    kTextSlot, ///< a text buffer the plug-in may leave as it is
    kRectOut,  ///< an ERect* to fill
    kChunkOut, ///< a void* to fill
    kChunkIn,  ///< `value` bytes
    kEvents,   ///< a VstEvents list
};

struct PointerRule
{
    Pointer kind;
    std::size_t size; ///< bytes of the host's buffer for the fixed-size kinds
};

PointerRule RuleFor(int32 opcode)
{
    // Parameter texts: hosts give at least 64 bytes (the interface's limit of 8 is ignored by
    // every host); the plug-in writes at most that.
    constexpr std::size_t kParameterText = 64;
    switch (opcode)
    {
    case effSetProgramName:
    case effCanDo:
    case effString2Parameter:
        return {Pointer::kTextIn, 0};
    case effGetProgramName:
        return {Pointer::kTextOut, kVstMaxProgNameLen};
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
        return {Pointer::kTextOut, kParameterText};
    case effGetEffectName:
        return {Pointer::kTextOut, kVstMaxEffectNameLen};
    case effGetVendorString:
        return {Pointer::kTextOut, kVstMaxVendorStrLen};
    case effGetProductString:
        return {Pointer::kTextOut, kVstMaxProductStrLen};
    case effGetProgramNameIndexed:
        return {Pointer::kTextSlot, kVstMaxProgNameLen};
    case effShellGetNextPlugin:
        return {Pointer::kTextSlot, kVstMaxProductStrLen};
    case effEditGetRect:
        return {Pointer::kRectOut, sizeof(ERect*)};
    case effGetChunk:
        return {Pointer::kChunkOut, sizeof(void*)};
    case effSetChunk:
        return {Pointer::kChunkIn, 0};
    case effProcessEvents:
        return {Pointer::kEvents, 0};
    default:
        return {Pointer::kUnused, 0};
    }
}

bool Terminated(const std::vector<unsigned char>& text)
{
    for (unsigned char c : text)
        if (c == 0)
            return true;
    return false;
}

/// One input's calls on one instance.
class HostSequence
{
public:
    HostSequence(fuzz::Instance& instance, Reader& reader) : plugin(instance), in(reader) {}

    /// Runs the next decoded call; false once the host closed the plug-in.
    bool Step()
    {
        switch (in.Choose(9))
        {
        case 0:
            if (!Dispatch())
                return false;
            break;
        case 1:
            SetParameter();
            break;
        case 2:
            (void)plugin.effect->getParameter(plugin.effect, ParameterIndex());
            break;
        case 3:
            Process<float>(plugin.effect->processReplacing);
            break;
        case 4:
            Process<double>(plugin.effect->processDoubleReplacing);
            break;
        case 5:
            SaveChunk();
            break;
        case 6:
            LoadChunk();
            break;
        case 7:
        {
            const unsigned on = in.Choose(2);
            fuzz::Trace(on ? "resume" : "suspend");
            plugin.Dispatch(effMainsChanged, 0, on);
            break;
        }
        default:
            RateAndBlock();
            break;
        }
        Require(fuzz::ParametersInRange(plugin.effect), "parameters within 0..1");
        return true;
    }

private:
    /// Mostly a declared parameter, sometimes any index.
    int32 ParameterIndex()
    {
        if (in.Choose(8) != 0)
            return static_cast<int32>(in.Choose(static_cast<unsigned>(plugin.effect->numParams)));
        return in.Int();
    }

    void SetParameter()
    {
        const int32 index = ParameterIndex();
        const float value = in.Float();
        fuzz::Trace("setParameter %d %g", index, static_cast<double>(value));
        plugin.effect->setParameter(plugin.effect, index, value);
    }

    /// Mostly an opcode of the interface, sometimes any number. Opening (which clears and
    /// rebuilds the effect's memory) and closing are rare: they cost as much as a new instance.
    int32 Opcode()
    {
        const auto pick = in.Take<std::uint8_t>();
        if (pick < 240)
            return effClose + 1 + pick % (effGetNumMidiOutputChannels - effClose);
        if (pick == 255)
        {
            const unsigned rare = in.Choose(8);
            if (rare < 2)
                return rare == 0 ? effOpen : effClose;
        }
        return in.Take<std::int32_t>();
    }

    bool Dispatch()
    {
        const int32 opcode = Opcode();
        // The editor window needs a window system; the editor target opens it on a fake one.
        if (opcode == effEditOpen)
            return true;
        handedOut = nullptr; // any call may have been a chunk call
        if (opcode == effClose)
        {
            plugin.Close();
            return false;
        }
        const int32 index = in.Int();
        auto value = static_cast<intptr>(in.Choose(4) == 0 ? in.Take<std::int32_t>() : in.Int());
        const float opt = in.Float();
        const PointerRule rule = RuleFor(opcode);
        void* ptr = in.Choose(4) == 0 ? nullptr : MakeBuffer(rule, value);
        fuzz::Trace("dispatch %d index %d value %lld opt %g ptr %s (%zu bytes)", opcode, index,
                    static_cast<long long>(value), static_cast<double>(opt),
                    ptr ? "buffer" : "null", ptr ? buffer.size() : std::size_t{0});
        const intptr answer = plugin.Dispatch(opcode, index, value, ptr, opt);

        if (ptr && rule.kind == Pointer::kTextOut)
            Require(Terminated(buffer), "texts end within the host's buffer");
        if (ptr && rule.kind == Pointer::kChunkOut && answer != 0)
            Require(answer == 260 && *static_cast<void**>(ptr) != nullptr, "a chunk of 260 bytes");
        if (ptr && rule.kind == Pointer::kRectOut && answer != 0)
        {
            const ERect* rect = *static_cast<ERect**>(ptr);
            Require(rect && rect->right - rect->left == 450 && rect->bottom - rect->top == 500,
                    "the editor rectangle");
        }
        return true;
    }

    /// The host's buffer for a call with `rule`; `value` becomes a byte count that fits it
    /// for chunks.
    void* MakeBuffer(const PointerRule& rule, intptr& value)
    {
        switch (rule.kind)
        {
        case Pointer::kUnused:
            FillBuffer(1 + in.Choose(64));
            break;
        case Pointer::kTextIn:
            FillBuffer(1 + in.Choose(200));
            buffer.back() = 0;
            break;
        case Pointer::kTextOut:
        case Pointer::kTextSlot:
        case Pointer::kRectOut:
        case Pointer::kChunkOut:
            FillBuffer(rule.size);
            break;
        case Pointer::kChunkIn:
        {
            const std::size_t bytes = in.Take<std::uint16_t>() % (kMaxChunkBytes + 1);
            FillBuffer(bytes > 0 ? bytes : 1);
            // A count the buffer holds, or one the plug-in refuses without reading.
            if (value >= 0)
                value = in.Choose(2) == 0 ? static_cast<intptr>(bytes)
                                          : value % static_cast<intptr>(bytes + 1);
            break;
        }
        case Pointer::kEvents:
            return MakeEvents();
        }
        return buffer.data();
    }

    void FillBuffer(std::size_t bytes)
    {
        // Exactly the size asked for: AddressSanitizer sees every byte beyond it.
        buffer.assign(bytes, 0x55);
        in.Bytes(buffer.data(), bytes);
    }

    /// A list of up to eight events of decoded bytes, some MIDI, some of other types, some
    /// pointers null.
    void* MakeEvents()
    {
        const unsigned count = in.Choose(9);
        events.assign(count, VstEvent{});
        const std::size_t listBytes =
            offsetof(VstEvents, events) + (count > 2 ? count : 2) * sizeof(VstEvent*);
        buffer.assign(listBytes, 0);
        auto* list = reinterpret_cast<VstEvents*>(buffer.data());
        list->numEvents = static_cast<int32>(count);
        VstEvent** slots = list->events;
        for (unsigned i = 0; i < count; ++i)
        {
            in.Bytes(&events[i], sizeof(VstEvent));
            const unsigned type = in.Choose(4);
            if (type < 2)
                events[i].type = type == 0 ? kVstMidiType : kVstSysExType;
            slots[i] = in.Choose(8) == 0 ? nullptr : &events[i];
        }
        return list;
    }

    template <class Sample, class ProcessFunction>
    void Process(ProcessFunction process)
    {
        // Mostly short blocks (the signal path works 64 frames at a time), some long ones, some
        // negative counts (nothing to process).
        const unsigned length = in.Choose(8);
        int32 frames = static_cast<int32>(in.Choose(256));
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
        fuzz::Trace("process%s %d frames, %s",
                    sizeof(Sample) == 4 ? "Replacing" : "DoubleReplacing", frames,
                    !in2 || !outputs[1] ? "null buffers"
                                        : (out2 == inputs ? "in place" : "separate outputs"));
        process(plugin.effect, in2, out2, frames);
        if (out2 == outputs && outputs[1] == nullptr)
            return;
        for (std::size_t j = 0; j < n; ++j)
            Require(std::isfinite(static_cast<double>(out2[0][j])) &&
                        std::isfinite(static_cast<double>(out2[1][j])),
                    "finite output");
    }

    template <class Sample>
    void FillSignal(std::vector<Sample>& samples)
    {
        static const char* const kKinds[] = {"silence", "tone", "input bytes", "edge values"};
        const unsigned kind = in.Choose(4);
        fuzz::Trace("  signal: %s", kKinds[kind]);
        switch (kind)
        {
        case 0: // silence
            break;
        case 1: // a tone
            for (std::size_t j = 0; j < samples.size(); ++j)
                samples[j] = static_cast<Sample>(0.7 * std::sin(0.02 * static_cast<double>(j)));
            break;
        case 2: // input bytes, up to ±8 (+18 dBFS)
            for (Sample& s : samples)
                s = static_cast<Sample>(in.Take<std::int16_t>() / 4096.0);
            break;
        default: // a tone with edge values (NaN, infinities, denormals, huge) strewn in
        {
            const std::size_t every = 1 + in.Choose(64);
            for (std::size_t j = 0; j < samples.size(); ++j)
                samples[j] =
                    j % every == 0
                        ? static_cast<Sample>(in.Float())
                        : static_cast<Sample>(0.5 * std::sin(0.05 * static_cast<double>(j)));
        }
        }
    }

    void SaveChunk()
    {
        fuzz::Trace("getChunk");
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
        fuzz::Trace("setChunk %lld bytes", static_cast<long long>(size));
        Require(plugin.Dispatch(effSetChunk, static_cast<int32>(in.Choose(2)), size, data) == size,
                "setChunk answers the size passed");
        handedOut = nullptr;
    }

    void RateAndBlock()
    {
        const float rate = in.Float();
        const int32 block = in.Int();
        fuzz::Trace("sample rate %g, block size %d", static_cast<double>(rate), block);
        plugin.Dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        plugin.Dispatch(effSetBlockSize, 0, block);
        if (in.Choose(2) == 0)
            plugin.Dispatch(effMainsChanged, 0, 1);
    }

    fuzz::Instance& plugin;
    Reader& in;
    std::vector<unsigned char> buffer; ///< the pointer argument of the last dispatcher call
    std::vector<VstEvent> events;
    std::vector<unsigned char> saved; ///< the last chunk the plug-in handed out, copied
    void* handedOut = nullptr;        ///< the plug-in's own chunk bytes while still valid
    std::size_t framesUsed = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Instance& plugin = fuzz::NextInstance();
    Reader in(data, size);
    HostSequence host(plugin, in);
    while (in.More())
        if (!host.Step())
            return 0;
    plugin.ProcessAndCheck(64);
    return 0;
}
