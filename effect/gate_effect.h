#pragma once
// The two-band expander/gate: its sections on top of the section driver.

#include "effect/coefficient_requests.h"
#include "effect/gate_coefficients.h"
#include "effect/gate_editor.h"
#include "effect/gate_parameters.h"
#include "effect/gate_signal_path.h"
#include "graphics/effect_graphics.h"
#include "runtime/crt_random.h"
#include "runtime/shared_value.h"
#include "runtime/xalto.h"

#include <array>
#include <atomic>

namespace vrn
{

/// Values the host feeds in. The runtime copy is written by the runtime; the sections see a
/// copy refreshed by their prologues. Shared by the host's threads.
struct HostFedValues
{
    SharedDouble sampleRate; ///< Hz
    SharedDouble channelCount;
    SharedDouble blockSize; ///< frames
    SharedDouble tempo;     ///< BPM
    SharedDouble timeSigNumerator;
    SharedDouble timeSigDenominator;
};

/// The most open gain since the editor last took the value, 0..1. The audio thread raises it
/// once per block; the editor takes it and leaves 0. Neither side can lose the other's update.
class PeakMeter
{
public:
    /// Audio thread: raises the meter to `gain` when that is higher.
    void RaiseTo(double gain)
    {
        double current = value.load(std::memory_order_relaxed);
        while (gain > current &&
               !value.compare_exchange_weak(current, gain, std::memory_order_relaxed))
        {
        }
    }
    /// Editor: answers the meter and resets it to 0.
    double Take() { return value.exchange(0.0, std::memory_order_relaxed); }
    /// The meter without resetting it.
    double Peek() const { return value.load(std::memory_order_relaxed); }
    void Clear() { value.store(0.0, std::memory_order_relaxed); }

private:
    std::atomic<double> value{0.0};
};

/// What only the audio thread reads and writes (after Reset; processing is stopped then).
struct GateAudioState
{
    gate::GateCoefficients coefficients; ///< the set in force for this block
    double reportedLatency = 0.0;        ///< last latency sent to the host, samples
    double playState = 0.0;              ///< 0 stopped, +1 playing, +4 recording
    double beatPosition = 0.0;           ///< quarter notes
    gate::GateFrameState frame;          ///< filter, envelope and ring states, block meters
};

/// The expander/gate effect.
class TXaltoEffect final : public TXalto
{
public:
    TXaltoEffect();

    void Reset() override;
    void InitSection() override;
    void SliderSection() override;
    void BlockSection() override;
    void SampleSection() override;
    void SerializeSection() override;
    /// Draws the editor (UI thread, during a paint).
    void GfxSection() override;
    /// The frames of a processing call: the signal path with its states held in locals.
    template <class Sample>
    void ProcessFrames(Sample* const* inputs, Sample* const* outputs, std::int32_t frames,
                       std::int32_t channels);
    /// After the frames of a processing call: hands the block's meter values to the editor.
    void FinishBlock();

    // --- any thread, the audio thread included: no lock, no wait, no allocation

    /// Asks for the signal path's working values to follow the sliders: the audio thread
    /// recomputes them at its next block (also used by the editor).
    void UpdateCoefficients();

    // --- tests and tools, any thread

    /// The working values the sliders give now (the next block's, but for `splitGeneration`).
    gate::GateCoefficients Coefficients() const;

    HostFedValues hostFed;        ///< as the sections see them
    HostFedValues hostFedRuntime; ///< as the runtime last wrote them
    SharedDouble buildLabel;      ///< string number of the build text (the editor reads it)
    double labelBase = 0.0;       ///< first memory cell of a label table
    SharedDouble releaseMaxMs;    ///< release time the hold factor is scaled by, ms
    std::array<SharedDouble, gate::kGateSliderCount> controlValues{}; ///< the editor's values
    PeakMeter meterLo; ///< most open low-band gain since the editor last took it
    PeakMeter meterHi; ///< most open high-band gain since the editor last took it
    double serialIndex = 0.0;
    EffectGraphics graphics{*this}; ///< drawing primitives, images and fonts (UI thread)
    GateEditor editor{*this};       ///< rows, drag states and lights (UI thread)

    // --- audio thread: no allocation, no locks, no I/O

    GateAudioState audio;

private:
    void ClearEffectVariables();
    void ReportLatencyIfChanged();
    void ApplyNewCoefficients();
    void ClearNonFiniteStates();
    gate::GateSliderValues SliderValues() const;

    gate::CoefficientRequests coefficientRequests; ///< slider changes not yet applied
    CrtRandom random;             ///< the detector offset's generator (audio thread)
    double* ringMemory = nullptr; ///< block 0 of the effect memory, which holds the six rings
};

// The processing loops are compiled with the sections, so the per-frame section inlines.
extern template void TXalto::Process<TXaltoEffect, float>(TXaltoEffect&, float* const*,
                                                          float* const*, std::int32_t);
extern template void TXalto::Process<TXaltoEffect, double>(TXaltoEffect&, double* const*,
                                                           double* const*, std::int32_t);

} // namespace vrn
