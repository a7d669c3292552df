// Fuzz target: setParameter and getParameter with arbitrary indexes and floats, then displays.
#include "tests/fuzz/fuzz_host.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    vrn::fuzz::Instance plugin;
    vrn::AEffect* e = plugin.effect;
    char text[256];
    for (std::size_t at = 0; at + 8 <= size; at += 8)
    {
        vrn::int32 index;
        float value;
        std::memcpy(&index, data + at, 4);
        std::memcpy(&value, data + at + 4, 4);
        e->setParameter(e, index, value);
        const float read = e->getParameter(e, index);
        if (index >= 0 && index < 10 && !(read >= -0.001f && read <= 1.001f))
            std::abort(); // a host value never leaves the parameter's range
        std::memset(text, 0x55, sizeof text);
        plugin.Dispatch(vrn::effGetParamDisplay, index, 0, text);
        if (std::memchr(text, 0, 65) == nullptr)
            std::abort(); // displays stay within their 64-byte buffer
    }
    plugin.ProcessAndCheck(128);
    return 0;
}
