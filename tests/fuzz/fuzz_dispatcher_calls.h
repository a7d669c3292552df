#pragma once
// The dispatcher calls the host-facing targets decode: any opcode (mostly the interface's), index,
// value and option, with the pointer argument null or a buffer of the size the interface gives
// (or of decoded bytes), and checks of what the plug-in writes into it.

#include "tests/fuzz/fuzz_input.h"
#include "tests/fuzz/fuzz_plugin.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vrn::fuzz
{

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

inline PointerRule RuleFor(int32 opcode)
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

inline bool Terminated(const std::vector<unsigned char>& text)
{
    for (unsigned char c : text)
        if (c == 0)
            return true;
    return false;
}

/// Decodes and makes one dispatcher call after the other on one instance.
class DispatcherCalls
{
public:
    DispatcherCalls(Instance& instance, Reader& reader) : plugin(instance), in(reader) {}

    /// Makes the next decoded dispatcher call; false once it closed the plug-in.
    bool Dispatch()
    {
        const int32 opcode = Opcode();
        // The editor window needs a window system; the editor target opens it on a fake one.
        if (opcode == effEditOpen)
            return true;
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
        Trace("dispatch %d index %d value %lld opt %g ptr %s (%zu bytes)", opcode, index,
              static_cast<long long>(value), static_cast<double>(opt), ptr ? "buffer" : "null",
              ptr ? buffer.size() : std::size_t{0});
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

private:
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

    Instance& plugin;
    Reader& in;
    std::vector<unsigned char> buffer; ///< the pointer argument of the last call
    std::vector<VstEvent> events;
};

} // namespace vrn::fuzz
