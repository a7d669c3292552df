// The gate's LV2 instance: lifecycle, control ports, processing and state.
#include "lv2/lv2_plugin.h"

#include "runtime/parameter_rules.h"

#include <lv2/atom/atom.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace vrn::lv2
{

namespace
{
/// Frames one processing call takes at most (the effect counts frames in 32 bits).
constexpr std::uint32_t kMaxCallFrames = 1u << 30;

/// Two control values are the same when they are equal or both NaN.
bool SameValue(float a, float b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

/// `buffer` advanced by `frames`, or null when there is no buffer.
float* Advanced(float* buffer, std::uint32_t frames)
{
    return buffer ? buffer + frames : nullptr;
}
} // namespace

CLv2Plugin::CLv2Plugin(double rate, const LV2_URID_Map* map)
    : effect(std::make_unique<TXaltoEffect>()), sampleRate(rate)
{
    lastControls.fill(std::numeric_limits<float>::quiet_NaN());
    if (map && map->map)
    {
        chunkKey = map->map(map->handle, kChunkKeyUri);
        chunkType = map->map(map->handle, LV2_ATOM__Chunk);
    }
    effect->vest = this;
    effect->Reset();
    void* bytes = nullptr;
    const std::int32_t size = effect->GetState(&bytes);
    if (size > 0 && bytes)
    {
        const auto* first = static_cast<const unsigned char*>(bytes);
        freshState.assign(first, first + size);
    }
}

CLv2Plugin::~CLv2Plugin()
{
    effect->CloseHook();
}

void CLv2Plugin::Activate()
{
    effect->Resume();
}

void CLv2Plugin::Deactivate()
{
    effect->SuspendHook();
}

bool CLv2Plugin::NextMidiEvent(MidiMessage& out)
{
    out = MidiMessage{};
    return false;
}

// --- state

LV2_State_Status CLv2Plugin::Save(LV2_State_Store_Function store, LV2_State_Handle handle)
{
    if (!chunkKey || !chunkType)
        return LV2_STATE_ERR_NO_FEATURE;
    if (!store)
        return LV2_STATE_ERR_UNKNOWN;
    void* bytes = nullptr;
    const std::int32_t size = effect->GetState(&bytes);
    if (size <= 0 || !bytes)
        return LV2_STATE_ERR_UNKNOWN;
    // The chunk is little-endian floats whatever the machine: portable as it stands.
    return store(handle, chunkKey, bytes, static_cast<std::size_t>(size), chunkType,
                 LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
}

LV2_State_Status CLv2Plugin::Restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle)
{
    if (!chunkKey || !chunkType)
        return LV2_STATE_ERR_NO_FEATURE;
    if (!retrieve)
        return LV2_STATE_ERR_UNKNOWN;
    std::size_t size = 0;
    std::uint32_t type = 0;
    std::uint32_t flags = 0;
    const void* bytes = retrieve(handle, chunkKey, &size, &type, &flags);
    if (!bytes || size == 0)
    {
        // A host resets an instance by restoring an empty state: back to the fresh sliders.
        bytes = freshState.data();
        size = freshState.size();
    }
    else if (type != chunkType)
    {
        return LV2_STATE_ERR_BAD_TYPE;
    }
    // A chunk never comes near 2 GiB; anything longer is not one of ours.
    if (size > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        return LV2_STATE_ERR_UNKNOWN;
    // A chunk without the marker is taken and ignored, as the VST 2.4 build does.
    effect->SetState(bytes, static_cast<std::int32_t>(size));
    // The ports are the host's: a host that saved its control values with the chunk gives
    // them back, and a value equal to the restored one (within the tolerance) changes nothing.
    lastControls.fill(std::numeric_limits<float>::quiet_NaN());
    return LV2_STATE_SUCCESS;
}

// --- audio thread

void CLv2Plugin::ConnectPort(std::uint32_t port, void* data)
{
    auto* buffer = static_cast<float*>(data);
    if (port < kControlPortCount)
        controls[port] = buffer;
    else if (port == kInputLeft || port == kInputRight)
        inputs[port - kInputLeft] = buffer;
    else if (port == kOutputLeft || port == kOutputRight)
        outputs[port - kOutputLeft] = buffer;
    else if (port == kLatency)
        latencyPort = buffer;
}

void CLv2Plugin::ReadControls()
{
    const std::vector<SliderInfo>& sliders = effect->SliderInfos();
    for (std::size_t i = 0; i < kControlPortCount && i < sliders.size(); ++i)
    {
        if (!controls[i])
            continue;
        const float value = *controls[i];
        if (SameValue(value, lastControls[i]))
            continue;
        lastControls[i] = value;
        // The quantisation and the store step of a VST 2.4 host's setParameter.
        const SliderInfo& info = sliders[i];
        ParameterRules::Store(*effect, info, ParameterRules::QuantiseValue(info, value));
    }
}

void CLv2Plugin::Run(std::uint32_t frames)
{
    ReadControls();
    // One processing call per run, so block boundaries (and the detector offset renewed at
    // each) fall where the host put them; only absurdly long runs are split.
    std::uint32_t done = 0;
    do
    {
        const std::uint32_t count = std::min(frames - done, kMaxCallFrames);
        float* in[2] = {Advanced(inputs[0], done), Advanced(inputs[1], done)};
        float* out[2] = {Advanced(outputs[0], done), Advanced(outputs[1], done)};
        TXalto::Process(*effect, in, out, static_cast<std::int32_t>(count));
        done += count;
    } while (done < frames);
    if (latencyPort)
        *latencyPort = static_cast<float>(latency);
}

} // namespace vrn::lv2
