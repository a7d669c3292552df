// Fuzz target: dispatcher calls alone, one after the other: any opcode, index, value and option,
// null pointers and buffers of the sizes the interface gives. Without processing between them an
// input costs little, so this target runs many more of them than the host-sequence target and goes
// deeper into texts, chunks, events and vendor calls. Every call must return, texts end within the
// host's buffer, every parameter stay within 0 … 1 and the instance process finite output after.
#include "tests/fuzz/fuzz_dispatcher_calls.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vrn::fuzz;
    Instance& plugin = NextInstance();
    Reader in(data, size);
    DispatcherCalls calls(plugin, in);
    while (in.More())
    {
        if (!calls.Dispatch())
            return 0;
        Require(ParametersInRange(plugin.effect), "parameters within 0..1");
    }
    plugin.ProcessAndCheck(64);
    return 0;
}
