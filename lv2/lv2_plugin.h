#pragma once
// One LV2 instance of the gate: ports, lifecycle, processing and state over the effect object.

#include "effect/gate_effect.h"
#include "lv2/lv2_identity.h"
#include "runtime/host_services.h"

#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace vrn::lv2
{

/// The gate behind the LV2 interface. Owns the effect and answers its host requests.
///
/// Host call → effect operation:
///   instantiate → construction, Reset (host open)      cleanup  → CloseHook, destruction
///   activate    → Resume (InitSection, SliderSection)  deactivate → SuspendHook
///   run         → changed control values to the sliders (as setParameter), then the
///                 processing loop; the latency port gets the latency the block reported
///   state save  → GetState, stored as one atom:Chunk  state restore → SetState
class CLv2Plugin final : public IHostServices
{
public:
    static constexpr double kDefaultBlockSize = 1024.0; ///< frames (the host gives no maximum)

    /// The gate at `sampleRate` Hz, opened. Without `map` the state cannot be saved or restored.
    CLv2Plugin(double sampleRate, const LV2_URID_Map* map);
    ~CLv2Plugin() override;
    CLv2Plugin(const CLv2Plugin&) = delete;
    CLv2Plugin& operator=(const CLv2Plugin&) = delete;

    // --- instantiation class (no other call on this instance meanwhile)

    void Activate();
    void Deactivate();
    /// Stores the host chunk under the chunk key.
    LV2_State_Status Save(LV2_State_Store_Function store, LV2_State_Handle handle);
    /// Restores the chunk stored under the chunk key; without one, the fresh instance's chunk.
    /// A value of another type changes nothing. The next run hands every control port's value
    /// on again: where the host's value differs from the restored slider, the host's wins.
    LV2_State_Status Restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle);

    // --- audio thread: no allocation, no locks, no I/O

    /// Remembers the buffer of port `port` (ignored when the index names no port).
    void ConnectPort(std::uint32_t port, void* data);
    /// Processes `frames` frames (0 allowed; inputs and outputs may share buffers).
    void Run(std::uint32_t frames);

    // --- IHostServices: what the effect asks of the host
    std::int32_t ChannelCount() const override { return 2; }
    double SampleRate() const override { return sampleRate; }
    double BlockSize() const override { return kDefaultBlockSize; }
    double Tempo() override { return 0.0; }
    bool TimeForBlock(BlockTime&) override { return false; }
    void ReportLatency(std::int32_t samples) override { latency = samples; }
    bool EditorSize(std::int32_t&, std::int32_t&) const override { return false; }
    bool RequestRedraw() override { return false; }
    bool NextMidiEvent(MidiMessage& out) override;

    /// The effect (tests).
    TXaltoEffect& Effect() { return *effect; }

private:
    void ReadControls();

    std::unique_ptr<TXaltoEffect> effect;
    double sampleRate;
    LV2_URID chunkKey = 0;                 ///< 0 without a map
    LV2_URID chunkType = 0;                ///< atom:Chunk
    std::vector<unsigned char> freshState; ///< the chunk of the fresh instance

    // --- audio thread
    std::array<const float*, kControlPortCount> controls{};
    /// Control values of the last run; NaN until seen (a NaN value is ignored anyway). Also
    /// written by Restore, which no run overlaps.
    std::array<float, kControlPortCount> lastControls{};
    std::array<float*, 2> inputs{};
    std::array<float*, 2> outputs{};
    float* latencyPort = nullptr;
    std::int32_t latency = 0; ///< samples, as the effect last reported it
};

} // namespace vrn::lv2
