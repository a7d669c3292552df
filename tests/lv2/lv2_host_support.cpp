// The scripted LV2 host for the wrapper's tests.
#include "tests/lv2/lv2_host.h"

#include "lv2/lv2_plugin.h"

#include <cmath>
#include <cstring>

namespace vrn::test
{

UridMap::UridMap()
{
    feature.handle = this;
    feature.map = &MapEntry;
}

LV2_URID UridMap::Map(const std::string& uri)
{
    for (std::size_t i = 0; i < uris.size(); ++i)
        if (uris[i] == uri)
            return static_cast<LV2_URID>(i + 1);
    uris.push_back(uri);
    return static_cast<LV2_URID>(uris.size());
}

LV2_URID UridMap::MapEntry(LV2_URID_Map_Handle handle, const char* uri)
{
    return static_cast<UridMap*>(handle)->Map(uri);
}

Lv2Instance::Lv2Instance(double sampleRate, bool withMap, bool activate,
                         const LV2_Descriptor* library)
    : descriptor(library)
{
    const LV2_Feature mapFeature = {LV2_URID__map, &map.feature};
    const LV2_Feature* features[] = {&mapFeature, nullptr};
    const LV2_Feature* noFeatures[] = {nullptr};
    handle = descriptor->instantiate(descriptor, sampleRate, "/nowhere/VarneGate.lv2/",
                                     withMap ? features : noFeatures);
    if (!handle)
        return;
    CXaltoDescription table;
    gate::DeclareGateSliders(table);
    const std::vector<SliderInfo>& sliders = table.SliderInfos();
    for (std::uint32_t i = 0; i < lv2::kControlPortCount; ++i)
    {
        controls[i] = static_cast<float>(sliders[i].defaultValue);
        descriptor->connect_port(handle, lv2::kFirstControl + i, &controls[i]);
    }
    descriptor->connect_port(handle, lv2::kLatency, &latency);
    if (activate)
        Activate();
}

Lv2Instance::~Lv2Instance()
{
    if (!handle)
        return;
    if (active)
        Deactivate();
    descriptor->cleanup(handle);
}

void Lv2Instance::Activate()
{
    descriptor->activate(handle);
    active = true;
}

void Lv2Instance::Deactivate()
{
    descriptor->deactivate(handle);
    active = false;
}

void Lv2Instance::Run(const float* inL, const float* inR, float* outL, float* outR,
                      std::uint32_t frames)
{
    // Hosts may move the audio buffers before every run.
    descriptor->connect_port(handle, lv2::kInputLeft, const_cast<float*>(inL));
    descriptor->connect_port(handle, lv2::kInputRight, const_cast<float*>(inR));
    descriptor->connect_port(handle, lv2::kOutputLeft, outL);
    descriptor->connect_port(handle, lv2::kOutputRight, outR);
    descriptor->run(handle, frames);
}

void Lv2Instance::Run(std::vector<float>& left, std::vector<float>& right)
{
    Run(left.data(), right.data(), left.data(), right.data(),
        static_cast<std::uint32_t>(left.size()));
}

namespace
{
LV2_State_Status Store(LV2_State_Handle handle, std::uint32_t key, const void* value,
                       std::size_t size, std::uint32_t type, std::uint32_t flags)
{
    StoredProperty property;
    property.key = key;
    property.type = type;
    property.flags = flags;
    const auto* bytes = static_cast<const unsigned char*>(value);
    property.value.assign(bytes, bytes + size);
    static_cast<std::vector<StoredProperty>*>(handle)->push_back(property);
    return LV2_STATE_SUCCESS;
}

const void* Retrieve(LV2_State_Handle handle, std::uint32_t key, std::size_t* size,
                     std::uint32_t* type, std::uint32_t* flags)
{
    for (const StoredProperty& property : *static_cast<const std::vector<StoredProperty>*>(handle))
    {
        if (property.key != key)
            continue;
        *size = property.value.size();
        *type = property.type;
        *flags = property.flags;
        return property.value.data();
    }
    return nullptr;
}

const LV2_State_Interface& StateInterface(const LV2_Descriptor* descriptor)
{
    return *static_cast<const LV2_State_Interface*>(
        descriptor->extension_data(LV2_STATE__interface));
}
} // namespace

std::vector<StoredProperty> Lv2Instance::Save(LV2_State_Status* status)
{
    std::vector<StoredProperty> properties;
    const LV2_State_Status answer =
        StateInterface(descriptor).save(handle, &Store, &properties, 0, nullptr);
    if (status)
        *status = answer;
    return properties;
}

LV2_State_Status Lv2Instance::Restore(const std::vector<StoredProperty>& properties)
{
    auto* stored = const_cast<std::vector<StoredProperty>*>(&properties);
    return StateInterface(descriptor).restore(handle, &Retrieve, stored, 0, nullptr);
}

StoredProperty Lv2Instance::SaveChunk()
{
    LV2_State_Status status = LV2_STATE_ERR_UNKNOWN;
    std::vector<StoredProperty> properties = Save(&status);
    if (status != LV2_STATE_SUCCESS || properties.size() != 1)
        return {};
    return properties[0];
}

TXaltoEffect& Lv2Instance::Gate()
{
    return static_cast<lv2::CLv2Plugin*>(handle)->Effect();
}

std::vector<double> Sliders(TXaltoEffect& gate)
{
    std::vector<double> values;
    for (std::int32_t number = 1; number <= 64; ++number)
        values.push_back(gate.Slider(number));
    return values;
}

void FillBursts(std::vector<float>& left, std::vector<float>& right, std::size_t start)
{
    std::uint32_t noise = 12345u + static_cast<std::uint32_t>(start);
    for (std::size_t j = 0; j < left.size(); ++j)
    {
        const double t = static_cast<double>(start + j);
        // 50 ms bursts every 200 ms at 48 kHz at eight levels in turn, over hiss near -66 dB.
        const double level = 0.1 + std::floor(std::fmod(t / 9600.0, 8.0)) / 10.0;
        const double burst = std::fmod(t, 9600.0) < 2400.0 ? level : 0.0;
        noise = noise * 1664525u + 1013904223u;
        const double hiss = (static_cast<double>(noise >> 8) / 16777216.0 - 0.5) * 0.001;
        left[j] = static_cast<float>(burst * std::sin(0.031 * t) + hiss);
        right[j] = static_cast<float>(burst * std::sin(0.27 * t + 1.0) - hiss);
    }
}

} // namespace vrn::test
