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
    programName = "VARNE Gate";
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
    audio = GateAudioState{};
    {
        std::lock_guard<std::mutex> lock(coefficientMutex);
        working = GateCoefficients{};
    }
    // The rings live in block 0, which exists before any processing call.
    ringMemory = Block(0);
    // Processing before the first resume must not divide by a threshold of 0: start from
    // coefficients made of the current sliders (at a sample rate of 0 until InitSection).
    UpdateCoefficients();
    audio.coefficients = &exchange.Acquire();
    audio.splitGeneration = audio.coefficients->splitGeneration;
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

    // Label tables the editor reads: string numbers of the monitor and Pre-Gate texts.
    buildLabel = 10000.0;
    labelBase = 1000000.0;
    Cell(RoundIndex(labelBase)) = 10001.0;
    Cell(RoundIndex(labelBase + 1.0)) = 10002.0;
    Cell(RoundIndex(labelBase + 2.0)) = 10003.0;
    Cell(RoundIndex(labelBase + 3.0)) = 10004.0;
    labelBase = 1000010.0;
    Cell(RoundIndex(labelBase)) = 10005.0;
    Cell(RoundIndex(labelBase + 1.0)) = 10006.0;
    releaseMaxMs = 1000.0;
}

void TXaltoEffect::SliderSection()
{
    hostFed = hostFedRuntime;
    for (int i = 0; i < kGateSliderCount; ++i)
        controlValues[static_cast<std::size_t>(i)] = Slider(i + 1);
    UpdateCoefficients();
}

void TXaltoEffect::UpdateCoefficients()
{
    const GateSliderValues s{Slider(kAttack),      Slider(kReleaseLo),   Slider(kReleaseHi),
                             Slider(kThresholdLo), Slider(kThresholdHi), Slider(kCrossover),
                             Slider(kRatio),       Slider(kMonitor),     Slider(kPreGate),
                             Slider(kBandLink)};
    std::lock_guard<std::mutex> lock(coefficientMutex);
    gate::UpdateCoefficients(working, s, hostFed.sampleRate, releaseMaxMs);
    exchange.Publish(working);
}

GateCoefficients TXaltoEffect::Coefficients()
{
    std::lock_guard<std::mutex> lock(coefficientMutex);
    return working;
}

// --- audio thread

void TXaltoEffect::ApplyNewCoefficients()
{
    audio.coefficients = &exchange.Acquire();
    // A new crossover clears the band-split states, once per change.
    if (audio.coefficients->splitGeneration != audio.splitGeneration)
    {
        audio.splitGeneration = audio.coefficients->splitGeneration;
        audio.lowpassL = 0.0;
        audio.lowpassR = 0.0;
    }
}

void TXaltoEffect::ReportLatencyIfChanged()
{
    const double latency = audio.coefficients->latencySamples;
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
    if (vest)
    {
        TempoAndSignature time;
        if (vest->TempoAndTimeSignature(time))
        {
            hostFedRuntime.tempo = time.tempo;
            hostFedRuntime.timeSigNumerator = time.timeSigNumerator;
            hostFedRuntime.timeSigDenominator = time.timeSigDenominator;
        }
        audio.playState = vest->IsPlaying() + 4.0 * vest->IsRecording();
        audio.beatPosition = vest->BeatPosition();
    }
    hostFed = hostFedRuntime;

    audio.noiseOffset = static_cast<double>(random.Next()) / CrtRandom::kMax * 1e-9;
    audio.blockMeterLo = 0.0;
    audio.blockMeterHi = 0.0;
}

void TXaltoEffect::SampleSection()
{
    GateAudioState& a = audio;
    const GateCoefficients& c = *a.coefficients;
    double inL = samples[0];
    double inR = samples[1];

    // Band split of the detector input; the two bands always add up to it.
    const double xL = inL + a.noiseOffset;
    const double xR = inR + a.noiseOffset;
    a.lowpassL += c.splitCoef * (xL - a.lowpassL);
    a.lowpassR += c.splitCoef * (xR - a.lowpassR);
    double loL = a.lowpassL;
    double hiL = xL - a.lowpassL;
    double loR = a.lowpassR;
    double hiR = xR - a.lowpassR;

    // The detector sees |max(L, R)| of each band (signed maximum first).
    const double loMax = loL <= loR ? loR : loL;
    const double hiMax = hiL <= hiR ? hiR : hiL;
    RunGainComputer(a.bandLo, loMax,
                    {c.threshLoGain, c.releaseCoefLo, c.releaseMixLo, c.holdRatioLo}, c);
    RunGainComputer(a.bandHi, hiMax,
                    {c.threshHiGain, c.releaseCoefHi, c.releaseMixHi, c.holdRatioHi}, c);

    if (c.linkOn)
    {
        // The more open band opens the other, by linkAmount.
        const double m =
            a.bandLo.reduction > a.bandHi.reduction ? a.bandHi.reduction : a.bandLo.reduction;
        a.bandLo.reduction = c.linkAmount * m + c.linkRest * a.bandLo.reduction;
        a.bandHi.reduction = c.linkAmount * m + c.linkRest * a.bandHi.reduction;
    }
    const double reductionLo = a.bandLo.reduction;
    const double reductionHi = a.bandHi.reduction;

    if (c.preGateOn)
    {
        // The gains were computed from the undelayed signal, so they act ahead of the audio.
        const double length = c.delayLength;
        inL = a.delayLines[0].Step(ringMemory + kDelayLineBase[0], length, inL);
        loL = a.delayLines[1].Step(ringMemory + kDelayLineBase[1], length, loL);
        hiL = a.delayLines[2].Step(ringMemory + kDelayLineBase[2], length, hiL);
        inR = a.delayLines[3].Step(ringMemory + kDelayLineBase[3], length, inR);
        loR = a.delayLines[4].Step(ringMemory + kDelayLineBase[4], length, loR);
        hiR = a.delayLines[5].Step(ringMemory + kDelayLineBase[5], length, hiR);
    }

    switch (c.monitorSelect)
    {
    case 0: // "Output"
        samples[0] = (inL - reductionLo * loL) - reductionHi * hiL;
        samples[1] = (inR - reductionLo * loR) - reductionHi * hiR;
        break;
    case 1: // "Detector": the part of the signal the gate removes
        samples[0] = reductionLo * loL + reductionHi * hiL;
        samples[1] = reductionLo * loR + reductionHi * hiR;
        break;
    case 2: // "Lo-band"
        samples[0] = (1.0 - reductionLo) * loL;
        samples[1] = (1.0 - reductionLo) * loR;
        break;
    case 3: // "Hi-band"
        samples[0] = (1.0 - reductionHi) * hiL;
        samples[1] = (1.0 - reductionHi) * hiR;
        break;
    default: // any other monitor value leaves the input frame in the cells
        break;
    }

    if (1.0 - reductionLo > a.blockMeterLo)
        a.blockMeterLo = 1.0 - reductionLo;
    if (1.0 - reductionHi > a.blockMeterHi)
        a.blockMeterHi = 1.0 - reductionHi;
}

void TXaltoEffect::FinishBlock()
{
    meterLo.RaiseTo(audio.blockMeterLo);
    meterHi.RaiseTo(audio.blockMeterHi);
    ClearNonFiniteStates();
}

void TXaltoEffect::ClearNonFiniteStates()
{
    // A NaN or infinite input reaches both band-split states (and so every state after them).
    // Clearing them at the end of the block lets the gate recover as soon as input is finite.
    const GateAudioState& a = audio;
    const double sum = a.lowpassL + a.lowpassR + a.bandLo.peak + a.bandLo.env + a.bandLo.hold +
                       a.bandLo.smooth + a.bandHi.peak + a.bandHi.env + a.bandHi.hold +
                       a.bandHi.smooth;
    if (std::isfinite(sum))
        return;
    audio.lowpassL = 0.0;
    audio.lowpassR = 0.0;
    audio.bandLo = GateBand{};
    audio.bandHi = GateBand{};
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
