#pragma once
// A scripted LV2 host: one instance of the gate through the library's descriptor, with its
// control ports, a URID map and the state interface, as a real host drives them.

#include "effect/gate_effect.h"
#include "lv2/lv2_identity.h"

#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <array>
#include <string>
#include <vector>

extern "C" const LV2_Descriptor* lv2_descriptor(std::uint32_t index);

namespace vrn::test
{

/// A host's URID map: each URI gets the next number, from 1.
class UridMap
{
public:
    UridMap();
    LV2_URID Map(const std::string& uri);
    LV2_URID_Map feature{};

private:
    static LV2_URID MapEntry(LV2_URID_Map_Handle handle, const char* uri);
    std::vector<std::string> uris;
};

/// A stored state property, as the host keeps it.
struct StoredProperty
{
    std::uint32_t key = 0;
    std::uint32_t type = 0;
    std::uint32_t flags = 0;
    std::vector<unsigned char> value;
};

/// One gate instance at `sampleRate` from `descriptor` (this program's own, or that of a loaded
/// library), every control port connected to a host value that starts at the port's default;
/// activated unless asked otherwise; cleaned up at destruction.
class Lv2Instance
{
public:
    explicit Lv2Instance(double sampleRate = 48000.0, bool withMap = true, bool activate = true,
                         const LV2_Descriptor* descriptor = lv2_descriptor(0));
    ~Lv2Instance();
    Lv2Instance(const Lv2Instance&) = delete;
    Lv2Instance& operator=(const Lv2Instance&) = delete;

    /// One run of `frames` frames from `inL`/`inR` to `outL`/`outR` (may be the same buffers).
    void Run(const float* inL, const float* inR, float* outL, float* outR, std::uint32_t frames);
    /// One run over the whole of `left`/`right`, in place.
    void Run(std::vector<float>& left, std::vector<float>& right);

    void Activate();
    void Deactivate();

    /// The state properties save() stores, in order; `status` gets save()'s answer.
    std::vector<StoredProperty> Save(LV2_State_Status* status = nullptr);
    /// restore() from `properties` (none: an empty state).
    LV2_State_Status Restore(const std::vector<StoredProperty>& properties);
    /// The chunk property of a successful save.
    StoredProperty SaveChunk();

    /// The effect behind the handle (only for an instance of this program's own descriptor).
    TXaltoEffect& Gate();

    const LV2_Descriptor* descriptor = nullptr;
    LV2_Handle handle = nullptr;
    UridMap map;
    std::array<float, lv2::kControlPortCount> controls{}; ///< the host's control values
    float latency = -1.0f;                                ///< the latency port

private:
    bool active = false;
};

/// The gate's sliders 1 … 64.
std::vector<double> Sliders(TXaltoEffect& gate);

/// A stereo test signal: bursts of two tones at changing levels over a quiet noise floor.
void FillBursts(std::vector<float>& left, std::vector<float>& right, std::size_t start);

} // namespace vrn::test
