// Fuzz target: setParameter and getParameter with arbitrary indexes and floats, then displays.
#include "tests/fuzz/fuzz_plugin.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vrn;
    fuzz::Instance& plugin = fuzz::NextInstance();
    AEffect* e = plugin.effect;
    char text[256];
    for (std::size_t at = 0; at + 8 <= size; at += 8)
    {
        int32 index;
        float value;
        std::memcpy(&index, data + at, 4);
        std::memcpy(&value, data + at + 4, 4);
        e->setParameter(e, index, value);
        const float read = e->getParameter(e, index);
        fuzz::Require(index < 0 || index >= e->numParams || (read >= 0.0f && read <= 1.0f),
                      "a parameter reads within 0..1");
        std::memset(text, 0x55, sizeof text);
        plugin.Dispatch(effGetParamDisplay, index, 0, text);
        fuzz::Require(std::memchr(text, 0, 65) != nullptr, "displays fit 64 bytes");
    }
    plugin.ProcessAndCheck(64);
    return 0;
}
