// Fuzz target: the LV2 instance under an arbitrary sequence of host calls: control values of
// any bits, runs of any length, activation changes, state saves and restores of any blob. The
// gate must stay finite and save its 260-byte chunk throughout.
#include "tests/fuzz/fuzz_signal.h"
#include "tests/lv2/lv2_host.h"

#include <lv2/atom/atom.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace
{

using vrn::test::Lv2Instance;

/// How many inputs share one instance: making one costs more than most inputs, and a fresh
/// one every so often still lets state that outlives the reset show.
constexpr int kInputsPerInstance = 1000;

/// The instance for the next input, as a fresh one: its first state restored, deactivated and
/// activated again, every control back at its default; a new one every kInputsPerInstance.
Lv2Instance& NextInstance()
{
    static std::unique_ptr<Lv2Instance> gate;
    static std::vector<vrn::test::StoredProperty> fresh;
    static std::array<float, vrn::lv2::kControlPortCount> defaults{};
    static int inputs = 0;
    if (!gate || ++inputs % kInputsPerInstance == 0)
    {
        gate.reset();
        gate = std::make_unique<Lv2Instance>();
        if (!gate->handle)
            std::abort();
        fresh = gate->Save();
        defaults = gate->controls;
        return *gate;
    }
    gate->controls = defaults;
    gate->Restore(fresh);
    gate->Deactivate();
    gate->Activate();
    return *gate;
}

/// `frames` frames of the tone on the left and `rightLevel` on the right through `gate`.
VRN_FUZZ_NOT_COVERED void RunSignal(Lv2Instance& gate, std::vector<float>& left,
                                    std::vector<float>& right, std::uint32_t frames,
                                    float rightLevel)
{
    for (std::uint32_t j = 0; j < frames; ++j)
    {
        left[j] = vrn::fuzz::Tone(j);
        right[j] = rightLevel;
    }
    gate.Run(left.data(), right.data(), left.data(), right.data(), frames);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Lv2Instance& gate = NextInstance();
    static std::vector<float> left(2048), right(2048);

    // Records of six bytes: an operation, an argument byte and four bytes of value; a restore
    // takes the rest of the input as its blob.
    std::size_t at = 0;
    while (at + 6 <= size)
    {
        const std::uint8_t operation = data[at] % 6;
        const std::uint8_t argument = data[at + 1];
        float value = 0.0f;
        std::memcpy(&value, data + at + 2, sizeof value);
        at += 6;
        switch (operation)
        {
        case 0:
        case 1:
            gate.controls[argument % gate.controls.size()] = value;
            break;
        case 2:
            // Any bits in the right channel, 0 … 2040 frames.
            RunSignal(gate, left, right, argument * 8u, (argument & 1) ? value : 0.001f);
            break;
        case 3:
            gate.Deactivate();
            gate.Activate();
            break;
        case 4:
        {
            vrn::test::StoredProperty blob;
            blob.key = gate.map.Map(vrn::lv2::kChunkKeyUri);
            blob.type = gate.map.Map((argument & 1) ? LV2_ATOM__Chunk : LV2_ATOM__String);
            blob.value.assign(data + at, data + size);
            at = size;
            gate.Restore({blob});
            break;
        }
        default:
            if (gate.SaveChunk().value.size() != 260)
                std::abort();
            break;
        }
    }

    // Finite controls and a finite signal give finite audio once more.
    for (float& control : gate.controls)
        if (!std::isfinite(control))
            control = 0.0f;
    RunSignal(gate, left, right, 256, 0.001f);
    RunSignal(gate, left, right, 256, 0.001f);
    if (!vrn::fuzz::AllFinite(left.data(), right.data(), 256))
        std::abort();
    if (!(gate.latency >= 0.0f && gate.latency <= 1999.0f))
        std::abort();
    return 0;
}
