// The library's LV2 entry point and the descriptor's trampolines to CLv2Plugin.
#include "lv2/lv2_identity.h"
#include "lv2/lv2_plugin.h"

#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <cmath>
#include <cstring>

namespace vrn::lv2
{
namespace
{

CLv2Plugin* Of(LV2_Handle instance)
{
    return static_cast<CLv2Plugin*>(instance);
}

const LV2_URID_Map* FindMap(const LV2_Feature* const* features)
{
    for (; features && *features; ++features)
        if ((*features)->URI && std::strcmp((*features)->URI, LV2_URID__map) == 0)
            return static_cast<const LV2_URID_Map*>((*features)->data);
    return nullptr;
}

LV2_Handle Instantiate(const LV2_Descriptor*, double sampleRate, const char*,
                       const LV2_Feature* const* features) noexcept
{
    if (!std::isfinite(sampleRate) || sampleRate <= 0.0)
        return nullptr;
    try
    {
        return new CLv2Plugin(sampleRate, FindMap(features));
    }
    catch (...)
    {
        return nullptr;
    }
}

void ConnectPort(LV2_Handle instance, std::uint32_t port, void* data) noexcept
{
    if (instance)
        Of(instance)->ConnectPort(port, data);
}

void Activate(LV2_Handle instance) noexcept
{
    if (instance)
        Of(instance)->Activate();
}

void Run(LV2_Handle instance, std::uint32_t frames) noexcept
{
    if (instance)
        Of(instance)->Run(frames);
}

void Deactivate(LV2_Handle instance) noexcept
{
    if (instance)
        Of(instance)->Deactivate();
}

void Cleanup(LV2_Handle instance) noexcept
{
    delete Of(instance);
}

LV2_State_Status Save(LV2_Handle instance, LV2_State_Store_Function store, LV2_State_Handle handle,
                      std::uint32_t, const LV2_Feature* const*) noexcept
{
    if (!instance)
        return LV2_STATE_ERR_UNKNOWN;
    try
    {
        return Of(instance)->Save(store, handle);
    }
    catch (...)
    {
        return LV2_STATE_ERR_UNKNOWN;
    }
}

LV2_State_Status Restore(LV2_Handle instance, LV2_State_Retrieve_Function retrieve,
                         LV2_State_Handle handle, std::uint32_t, const LV2_Feature* const*) noexcept
{
    if (!instance)
        return LV2_STATE_ERR_UNKNOWN;
    try
    {
        return Of(instance)->Restore(retrieve, handle);
    }
    catch (...)
    {
        return LV2_STATE_ERR_UNKNOWN;
    }
}

const void* ExtensionData(const char* uri) noexcept
{
    static const LV2_State_Interface state = {&Save, &Restore};
    if (uri && std::strcmp(uri, LV2_STATE__interface) == 0)
        return &state;
    return nullptr;
}

const LV2_Descriptor kDescriptor = {
    kPluginUri, &Instantiate, &ConnectPort, &Activate, &Run, &Deactivate, &Cleanup, &ExtensionData,
};

} // namespace
} // namespace vrn::lv2

extern "C"
{

    /// The LV2 entry point: the library holds one plug-in, the gate.
    LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(std::uint32_t index)
    {
        return index == 0 ? &vrn::lv2::kDescriptor : nullptr;
    }

} // extern "C"
