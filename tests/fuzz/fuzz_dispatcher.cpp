// Fuzz target: sequences of dispatcher calls (any opcode, index, value, option, with null or
// scratch pointers) interleaved with processing calls of any frame count.
#include "tests/fuzz/fuzz_plugin.h"

#include <cstdint>
#include <cstring>

namespace
{

/// Reads fixed-size values from the fuzz input; zeros once it is used up.
class Reader
{
public:
    Reader(const std::uint8_t* d, std::size_t n) : data(d), size(n) {}
    bool More() const { return at < size; }
    template <class T>
    T Take()
    {
        T value{};
        const std::size_t n = sizeof(T) < size - at ? sizeof(T) : size - at;
        std::memcpy(&value, data + at, n);
        at += n;
        return value;
    }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vrn;
    fuzz::Instance plugin;
    Reader in(data, size);
    alignas(16) unsigned char scratch[1024];
    std::vector<float> left(2048), right(2048);

    while (in.More())
    {
        const auto kind = in.Take<std::uint8_t>();
        if (kind < 40)
        {
            // Processing with any frame count up to the buffers, possibly aliased.
            auto frames = static_cast<int32>(in.Take<std::int16_t>() % 2048);
            float* io[2] = {left.data(), right.data()};
            float* out[2] = {kind % 2 ? left.data() : right.data(), right.data()};
            plugin.effect->processReplacing(plugin.effect, io, out, frames);
            continue;
        }
        auto opcode = static_cast<int32>(in.Take<std::uint8_t>() % 80);
        // effClose ends the instance; the destructor sends it.
        if (opcode == effClose)
            continue;
        const auto index = in.Take<int32>();
        auto value = static_cast<intptr>(in.Take<int32>());
        const auto opt = in.Take<float>();
        const auto pointerKind = in.Take<std::uint8_t>() % 3;
        void* ptr = nullptr;
        if (pointerKind == 1)
        {
            std::memset(scratch, 0, sizeof scratch);
            ptr = scratch;
        }
        else if (pointerKind == 2)
        {
            // Text-shaped input: fuzz bytes, terminated inside the buffer.
            for (std::size_t i = 0; i + 1 < sizeof scratch; ++i)
                scratch[i] = in.More() ? in.Take<std::uint8_t>() : 0;
            scratch[sizeof scratch - 1] = 0;
            ptr = scratch;
        }
        if (opcode == effSetChunk && ptr)
            value = value < 0 ? 0 : value % static_cast<intptr>(sizeof scratch);
        if (opcode == effSetChunk && !ptr)
            value = 0;
        if (opcode == effProcessEvents && ptr)
        {
            // A well-formed list of up to four events made from fuzz bytes.
            auto* events = reinterpret_cast<VstEvents*>(scratch);
            auto* pool = reinterpret_cast<VstEvent*>(scratch + 64);
            events->numEvents = static_cast<int32>(index & 3);
            VstEvent** list = events->events;
            for (int32 i = 0; i < events->numEvents; ++i)
                list[i] = &pool[i];
        }
        if (opcode == effEditOpen || opcode == effEditClose || opcode == effEditIdle)
            continue; // the editor window needs a real parent window
        plugin.Dispatch(opcode, index, value, ptr, opt);
    }
    plugin.ProcessAndCheck(64);
    return 0;
}
