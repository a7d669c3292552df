#pragma once
// The two-band expander/gate: its sections on top of the section driver.

#include "effect/gate_coefficients.h"
#include "effect/gate_parameters.h"
#include "effect/gate_signal_path.h"
#include "runtime/crt_random.h"
#include "runtime/xalto.h"

#include <array>

namespace vrn
{

/// Values the host feeds in: a runtime copy written by the runtime, and the copy the sections
/// see, refreshed by the section prologues.
struct HostFedValues
{
    double sampleRate = 0.0; ///< Hz
    double channelCount = 0.0;
    double blockSize = 0.0; ///< frames
    double tempo = 0.0;     ///< BPM
    double timeSigNumerator = 0.0;
    double timeSigDenominator = 0.0;
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

    /// Recomputes the signal path's working values from the sliders (also used by the editor).
    void UpdateCoefficients();

    /// Reports the look-ahead to the host when it changed since the last report.
    void ReportLatencyIfChanged();

    // --- effect variables (all 0 after Reset)
    HostFedValues hostFed;        ///< as the sections see them
    HostFedValues hostFedRuntime; ///< as the runtime last wrote them
    double playState = 0.0;       ///< 0 stopped, +1 playing, +4 recording
    double beatPosition = 0.0;    ///< quarter notes
    double reportedLatency = 0.0; ///< last latency sent to the host, samples

    double buildLabel = 0.0;   ///< string number of the build text
    double labelBase = 0.0;    ///< first memory cell of a label table
    double releaseMaxMs = 0.0; ///< release time the hold factor is scaled by, ms
    std::array<double, gate::kGateSliderCount> controlValues{}; ///< the editor's control values

    gate::GateCoefficients coefficients;
    double noiseOffset = 0.0; ///< tiny DC added to the detector path, renewed per block
    double lowpassL = 0.0;    ///< band-split states
    double lowpassR = 0.0;
    gate::GateBand bandLo;
    gate::GateBand bandHi;
    std::array<gate::DelayLine, 6> delayLines{};
    double meterLo = 0.0; ///< most open low-band gain since the editor last read it, 0..1
    double meterHi = 0.0; ///< most open high-band gain since the editor last read it, 0..1
    double serialIndex = 0.0;

private:
    void RefreshHostFed() { hostFed = hostFedRuntime; }
    void ClearEffectVariables();
    void ClearNonFiniteStates();

    CrtRandom random;
    double* ringMemory = nullptr; ///< block 0 of the effect memory, which holds the six rings
};

} // namespace vrn
