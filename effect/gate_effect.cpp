// The expander/gate's sections: reset, init, sliders, block, sample and state.
#include "effect/gate_effect.h"

#include <cmath>

namespace vrn
{

using namespace gate;

TXaltoEffect::TXaltoEffect()
{
    effectName = "VARNE Gate";
    productString = "VARNE Gate";
    SetProgramName("VARNE Gate");
    vendorString = "Quorrin Sound";
    vendorVersion = 1000;
    uniqueID = FourCharacterId("VRN2");
    channelCount = 2;
    DeclareGateSliders(*this);
    ClearEffectVariables();
}

void TXaltoEffect::ClearEffectVariables()
{
    hostFed = HostFedValues{};
    hostFedRuntime = HostFedValues{};
    buildLabel = 0.0;
    labelBase = 0.0;
    releaseMaxMs = 0.0;
    for (SharedDouble& value : controlValues)
        value = 0.0;
    meterLo.Clear();
    meterHi.Clear();
    serialIndex = 0.0;
    editor.Reset();
    audio = GateAudioState{};
    // The rings live in block 0, which exists before any processing call.
    ringMemory = Block(0);
    // Processing before the first resume must not divide by a threshold of 0: start from
    // coefficients made of the current sliders (at a sample rate of 0 until InitSection).
    // Processing is stopped during a reset, so this thread may act as the audio thread.
    coefficientRequests.Clear();
    UpdateCoefficients();
    ApplyNewCoefficients();
}

void TXaltoEffect::Reset()
{
    TXalto::Reset();
    ClearEffectVariables();
    RegisterGateStrings(strings, fileNames);
}

void TXaltoEffect::InitSection()
{
    colorRed = 0.0;
    colorGreen = 0.0;
    colorBlue = 0.0;
    colorAlpha = 0.0;
    frameRate = 30.0;
    hostFedRuntime.sampleRate = FiniteOrZero(vest ? vest->SampleRate() : 0.0);
    hostFedRuntime.channelCount =
        FiniteOrZero(vest ? static_cast<double>(vest->ChannelCount()) : 0.0);
    hostFedRuntime.blockSize = FiniteOrZero(vest ? vest->BlockSize() : 0.0);
    hostFedRuntime.tempo = FiniteOrZero(vest ? vest->Tempo() : 0.0);
    hostFedRuntime.timeSigNumerator = FiniteOrZero(hostFedRuntime.timeSigNumerator);
    hostFedRuntime.timeSigDenominator = FiniteOrZero(hostFedRuntime.timeSigDenominator);
    hostFed = hostFedRuntime;

    // Label tables the editor reads: string numbers of the monitor and Pre-Gate texts. The
    // editor reads them on its own thread (LoadCell), so they are stored atomically.
    buildLabel = kBuildText;
    labelBase = kMonitorLabelTable;
    StoreCell(RoundIndex(labelBase), kOutputLabel);
    StoreCell(RoundIndex(labelBase + 1.0), kDetectorLabel);
    StoreCell(RoundIndex(labelBase + 2.0), kLoBandLabel);
    StoreCell(RoundIndex(labelBase + 3.0), kHiBandLabel);
    labelBase = kPreGateLabelTable;
    StoreCell(RoundIndex(labelBase), kOffLabel);
    StoreCell(RoundIndex(labelBase + 1.0), kOnLabel);
    releaseMaxMs = 1000.0;
}

void TXaltoEffect::SliderSection()
{
    hostFed = hostFedRuntime;
    for (int i = 0; i < kGateSliderCount; ++i)
        controlValues[static_cast<std::size_t>(i)] = Slider(i + 1);
    UpdateCoefficients();
}

GateSliderValues TXaltoEffect::SliderValues() const
{
    return {Slider(kAttack),      Slider(kReleaseLo), Slider(kReleaseHi), Slider(kThresholdLo),
            Slider(kThresholdHi), Slider(kCrossover), Slider(kRatio),     Slider(kMonitor),
            Slider(kPreGate),     Slider(kBandLink)};
}

void TXaltoEffect::UpdateCoefficients()
{
    coefficientRequests.Note(Slider(kCrossover));
}

GateCoefficients TXaltoEffect::Coefficients() const
{
    GateCoefficients c;
    gate::UpdateCoefficients(c, SliderValues(), hostFedRuntime.sampleRate, releaseMaxMs, true);
    return c;
}

// --- audio thread

void TXaltoEffect::ApplyNewCoefficients()
{
    const CoefficientRequests::Taken taken = coefficientRequests.Take();
    if (!taken.pending)
        return;
    // The sample rate and the release scale change only in InitSection, which is followed by
    // a request of its own.
    gate::UpdateCoefficients(audio.coefficients, SliderValues(), hostFedRuntime.sampleRate,
                             releaseMaxMs, taken.crossoverMoved);
    // A new crossover clears the band-split states, once per change.
    if (taken.crossoverMoved)
    {
        audio.frame.lowpassL = 0.0;
        audio.frame.lowpassR = 0.0;
    }
}

void TXaltoEffect::ReportLatencyIfChanged()
{
    const double latency = audio.coefficients.latencySamples;
    if (NearlyEqual(latency, audio.reportedLatency))
        return;
    audio.reportedLatency = latency;
    if (vest)
        vest->ReportLatency(RoundIndex(latency));
}

void TXaltoEffect::BlockSection()
{
    ApplyNewCoefficients();
    ReportLatencyIfChanged();
    BlockTime time;
    if (vest && vest->TimeForBlock(time))
    {
        hostFedRuntime.tempo = time.tempo;
        hostFedRuntime.timeSigNumerator = time.timeSigNumerator;
        hostFedRuntime.timeSigDenominator = time.timeSigDenominator;
    }
    // Without time information the transport reads as stopped at position 0.
    audio.playState = time.playing + 4.0 * time.recording;
    audio.beatPosition = time.beatPosition;
    hostFed = hostFedRuntime;

    audio.frame.noiseOffset = static_cast<double>(random.Next()) / CrtRandom::kMax * 1e-9;
    audio.frame.leastReductionLo = 1.0;
    audio.frame.leastReductionHi = 1.0;
}

namespace
{

/// RunBlock with one set of per-block decisions.
template <class Sample>
using FrameLoop = void (*)(GateFrameState&, const GateCoefficients&, double*, const Sample*,
                           const Sample*, Sample*, Sample*, std::int32_t);

template <int kMonitor, class Sample>
FrameLoop<Sample> PickLoop(bool preGate, bool link)
{
    if (preGate)
        return link ? &RunBlock<kMonitor, true, true, Sample>
                    : &RunBlock<kMonitor, true, false, Sample>;
    return link ? &RunBlock<kMonitor, false, true, Sample>
                : &RunBlock<kMonitor, false, false, Sample>;
}

/// The loop for a coefficient set's monitor mode, Pre-Gate and Band Link.
template <class Sample>
FrameLoop<Sample> PickLoop(const GateCoefficients& c)
{
    switch (c.monitorSelect)
    {
    case 0:
        return PickLoop<0, Sample>(c.preGateOn, c.linkOn);
    case 1:
        return PickLoop<1, Sample>(c.preGateOn, c.linkOn);
    case 2:
        return PickLoop<2, Sample>(c.preGateOn, c.linkOn);
    case 3:
        return PickLoop<3, Sample>(c.preGateOn, c.linkOn);
    default:
        return PickLoop<-1, Sample>(c.preGateOn, c.linkOn);
    }
}

} // namespace

void TXaltoEffect::SampleSection()
{
    // One frame through the sample cells: the same path as a block of one frame.
    const GateCoefficients& c = audio.coefficients;
    PickLoop<double>(c)(audio.frame, c, ringMemory, &samples[0], &samples[1], &samples[0],
                        &samples[1], 1);
}

template <class Sample>
void TXaltoEffect::ProcessFrames(Sample* const* inputs, Sample* const* outputs, std::int32_t frames,
                                 std::int32_t channels)
{
    if (channels != 2)
    {
        TXalto::ProcessFrames(inputs, outputs, frames, channels);
        return;
    }
    const GateCoefficients& c = audio.coefficients;
    PickLoop<Sample>(c)(audio.frame, c, ringMemory, inputs[0], inputs[1], outputs[0], outputs[1],
                        frames);
}

template void TXalto::Process<TXaltoEffect, float>(TXaltoEffect&, float* const*, float* const*,
                                                   std::int32_t);
template void TXalto::Process<TXaltoEffect, double>(TXaltoEffect&, double* const*, double* const*,
                                                    std::int32_t);

void TXaltoEffect::FinishBlock()
{
    meterLo.RaiseTo(1.0 - audio.frame.leastReductionLo);
    meterHi.RaiseTo(1.0 - audio.frame.leastReductionHi);
    ClearNonFiniteStates();
}

void TXaltoEffect::ClearNonFiniteStates()
{
    // Unusable input (NaN, infinite, beyond ±1e30) is silence to the signal path. Should a
    // state still turn non-finite, NaN or infinity would reach every state after it: clearing
    // them at the end of the block lets the gate recover at the next block.
    GateFrameState& f = audio.frame;
    const double sum = f.lowpassL + f.lowpassR + f.bandLo.peak + f.bandLo.env + f.bandLo.hold +
                       f.bandLo.smooth + f.bandHi.peak + f.bandHi.env + f.bandHi.hold +
                       f.bandHi.smooth;
    if (std::isfinite(sum))
        return;
    f.lowpassL = 0.0;
    f.lowpassR = 0.0;
    f.bandLo = GateBand{};
    f.bandHi = GateBand{};
    for (std::int32_t base : kDelayLineBase)
        for (std::int32_t i = 0; i <= static_cast<std::int32_t>(kMaxDelayLength); ++i)
            ringMemory[base + i] = 0.0;
}

// --- chunk calls

void TXaltoEffect::SerializeSection()
{
    FileRecord& stream = StateStream();
    serialIndex = 1.0;
    int passes = 0;
    do
    {
        SharedDouble& cell = Slider(serialIndex);
        if (stream.mode == FileRecord::kReading)
        {
            // A NaN or infinity in a stored chunk would silence the gate for good: keep the
            // slider's value instead.
            double restored = cell;
            stream.ReadValue(restored);
            if (std::isfinite(restored))
                cell = restored;
        }
        else
        {
            stream.WriteValue(cell);
        }
        serialIndex += 1.0;
    } while (serialIndex <= kSerializedSliders && ++passes < kLoopGuard);
}

} // namespace vrn
