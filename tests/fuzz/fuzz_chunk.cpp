// Fuzz target: arbitrary bytes and sizes as a host chunk, then processing and a chunk round trip.
#include "tests/fuzz/fuzz_plugin.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vrn;
    fuzz::Instance& plugin = fuzz::NextInstance();
    // Unaligned on purpose: hosts hand over any buffer.
    std::vector<std::uint8_t> bytes(size + 1);
    if (size > 0)
        std::memcpy(bytes.data() + 1, data, size);
    const auto answer =
        plugin.Dispatch(effSetChunk, 0, static_cast<intptr>(size), bytes.data() + 1);
    fuzz::Require(answer == static_cast<intptr>(size), "setChunk answers the size passed");
    fuzz::Require(fuzz::ParametersInRange(plugin.effect), "parameters within 0..1");
    plugin.ProcessAndCheck(64);
    void* state = nullptr;
    const auto stateSize = plugin.Dispatch(effGetChunk, 0, 0, &state);
    fuzz::Require(stateSize == 260 && state != nullptr, "a chunk of 260 bytes");
    return 0;
}
