// Fuzz target: arbitrary bytes and sizes as a host chunk, then processing and a chunk round trip.
#include "tests/fuzz/fuzz_host.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    vrn::fuzz::Instance plugin;
    // Unaligned on purpose: hosts hand over any buffer.
    std::vector<std::uint8_t> bytes(size + 1);
    if (size > 0)
        std::memcpy(bytes.data() + 1, data, size);
    const auto answer =
        plugin.Dispatch(vrn::effSetChunk, 0, static_cast<vrn::intptr>(size), bytes.data() + 1);
    if (answer != static_cast<vrn::intptr>(size))
        std::abort();
    plugin.ProcessAndCheck(256);
    void* state = nullptr;
    const auto stateSize = plugin.Dispatch(vrn::effGetChunk, 0, 0, &state);
    if (stateSize != 260 || !state)
        std::abort();
    return 0;
}
