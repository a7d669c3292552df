// Fuzz target: a host that misbehaves. Byte-decoded sequences of dispatcher calls (any opcode,
// index, value and option; null pointers and buffers of decoded sizes), parameter sets and
// gets, processing calls of any length in both precisions, chunk saves and loads, suspend and
// resume, sample-rate and block-size changes, in any order. Every call must return, the output
// stay finite and every parameter the host reads stay within 0 … 1.
#include "tests/fuzz/fuzz_dispatcher_calls.h"
#include "tests/fuzz/fuzz_host_calls.h"

#include <cstddef>
#include <cstdint>

namespace
{

using namespace vrn;
using fuzz::Reader;
using fuzz::Require;

/// One input's calls on one instance.
class HostSequence : public fuzz::HostCalls
{
public:
    HostSequence(fuzz::Instance& instance, Reader& reader)
        : HostCalls(instance, reader), dispatcher(instance, reader)
    {
    }

    /// Runs the next decoded call; false once the host closed the plug-in.
    bool Step()
    {
        const unsigned kind = in.Choose(2 + HostCalls::kKinds);
        if (kind == 0)
        {
            ForgetHandedOutChunk(); // the call may be a chunk call
            if (!dispatcher.Dispatch())
                return false;
        }
        else if (kind == 1)
        {
            RateAndBlock();
        }
        else
        {
            Call(kind - 2);
        }
        Require(fuzz::ParametersInRange(plugin.effect), "parameters within 0..1");
        return true;
    }

private:
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

    fuzz::DispatcherCalls dispatcher;
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
