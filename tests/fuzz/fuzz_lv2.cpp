// Fuzz target: the LV2 instance under an arbitrary sequence of host calls: control values of
// any bits, runs of any length, activation changes, state saves and restores of any blob. The
// gate must stay finite and save its 260-byte chunk throughout.
#include "lv2/lv2_identity.h"

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern "C" const LV2_Descriptor* lv2_descriptor(std::uint32_t index);

namespace
{

LV2_URID Map(LV2_URID_Map_Handle, const char* uri)
{
    // Two URIs matter; every other one gets a number of its own.
    if (std::strcmp(uri, vrn::lv2::kChunkKeyUri) == 0)
        return 1;
    if (std::strcmp(uri, LV2_ATOM__Chunk) == 0)
        return 2;
    return 3;
}

/// The blob a restore hands over, and what a save stored.
struct Blob
{
    std::uint32_t type = 0;
    std::vector<std::uint8_t> bytes;
};

const void* Retrieve(LV2_State_Handle handle, std::uint32_t key, std::size_t* size,
                     std::uint32_t* type, std::uint32_t* flags)
{
    const auto* blob = static_cast<const Blob*>(handle);
    if (key != 1 || blob->bytes.empty())
        return nullptr;
    *size = blob->bytes.size();
    *type = blob->type;
    *flags = LV2_STATE_IS_POD;
    return blob->bytes.data();
}

LV2_State_Status Store(LV2_State_Handle handle, std::uint32_t key, const void* value,
                       std::size_t size, std::uint32_t type, std::uint32_t)
{
    auto* blob = static_cast<Blob*>(handle);
    if (key != 1 || type != 2)
        std::abort();
    const auto* bytes = static_cast<const std::uint8_t*>(value);
    blob->bytes.assign(bytes, bytes + size);
    return LV2_STATE_SUCCESS;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vrn::lv2;
    const LV2_Descriptor* descriptor = lv2_descriptor(0);
    LV2_URID_Map map = {nullptr, &Map};
    const LV2_Feature mapFeature = {LV2_URID__map, &map};
    const LV2_Feature* features[] = {&mapFeature, nullptr};
    LV2_Handle gate = descriptor->instantiate(descriptor, 48000.0, "", features);
    if (!gate)
        std::abort();
    const auto* state =
        static_cast<const LV2_State_Interface*>(descriptor->extension_data(LV2_STATE__interface));
    std::array<float, kControlPortCount> controls{};
    for (std::uint32_t i = 0; i < kControlPortCount; ++i)
        descriptor->connect_port(gate, kFirstControl + i, &controls[i]);
    float latency = 0.0f;
    descriptor->connect_port(gate, kLatency, &latency);
    std::vector<float> left(2048), right(2048);
    descriptor->connect_port(gate, kInputLeft, left.data());
    descriptor->connect_port(gate, kInputRight, right.data());
    descriptor->connect_port(gate, kOutputLeft, left.data());
    descriptor->connect_port(gate, kOutputRight, right.data());
    descriptor->activate(gate);

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
            controls[argument % kControlPortCount] = value;
            break;
        case 2:
        {
            const std::uint32_t frames = argument * 8u;
            for (std::uint32_t j = 0; j < frames; ++j)
            {
                left[j] = 0.5f * std::sin(0.01f * static_cast<float>(j));
                right[j] = (argument & 1) ? value : 0.001f;
            }
            descriptor->run(gate, frames);
            break;
        }
        case 3:
            descriptor->deactivate(gate);
            descriptor->activate(gate);
            break;
        case 4:
        {
            Blob blob;
            blob.type = (argument & 1) ? 2 : 3;
            blob.bytes.assign(data + at, data + size);
            at = size;
            state->restore(gate, &Retrieve, &blob, 0, nullptr);
            break;
        }
        default:
        {
            Blob saved;
            if (state->save(gate, &Store, &saved, 0, nullptr) != LV2_STATE_SUCCESS ||
                saved.bytes.size() != 260)
                std::abort();
            break;
        }
        }
    }

    // Finite controls and a finite signal give finite audio once more.
    for (float& control : controls)
        if (!std::isfinite(control))
            control = 0.0f;
    for (int pass = 0; pass < 2; ++pass)
    {
        for (std::size_t j = 0; j < 256; ++j)
        {
            left[j] = 0.5f * std::sin(0.01f * static_cast<float>(j));
            right[j] = 0.001f;
        }
        descriptor->run(gate, 256);
    }
    for (std::size_t j = 0; j < 256; ++j)
        if (!std::isfinite(left[j]) || !std::isfinite(right[j]))
            std::abort();
    if (!(latency >= 0.0f && latency <= 1999.0f))
        std::abort();
    descriptor->deactivate(gate);
    descriptor->cleanup(gate);
    return 0;
}
