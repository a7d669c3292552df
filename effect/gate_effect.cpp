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
    // The rings live in block 0; it exists before any processing call.
    ringMemory = Block(0);
}

void TXaltoEffect::ClearEffectVariables()
{
    hostFed = {};
    hostFedRuntime = {};
    playState = 0.0;
    beatPosition = 0.0;
    reportedLatency = 0.0;
    buildLabel = 0.0;
    labelBase = 0.0;
    releaseMaxMs = 0.0;
    controlValues = {};
    coefficients = {};
    noiseOffset = 0.0;
    lowpassL = 0.0;
    lowpassR = 0.0;
    bandLo = {};
    bandHi = {};
    delayLines = {};
    meterLo = 0.0;
    meterHi = 0.0;
    serialIndex = 0.0;
}

void TXaltoEffect::Reset()
{
    TXalto::Reset();
    ClearEffectVariables();
    RegisterGateStrings(strings, fileNames);
    ringMemory = Block(0);
}

void TXaltoEffect::InitSection()
{
    colorRed = 0.0;
    colorGreen = 0.0;
    colorBlue = 0.0;
    colorAlpha = 0.0;
    frameRate = 30.0;
    if (vest)
    {
        hostFedRuntime.sampleRate = FiniteOrZero(vest->SampleRate());
        hostFedRuntime.channelCount = FiniteOrZero(static_cast<double>(vest->ChannelCount()));
        hostFedRuntime.blockSize = FiniteOrZero(vest->BlockSize());
        hostFedRuntime.tempo = FiniteOrZero(vest->Tempo());
    }
    else
    {
        hostFedRuntime.sampleRate = 0.0;
        hostFedRuntime.channelCount = 0.0;
        hostFedRuntime.blockSize = 0.0;
        hostFedRuntime.tempo = 0.0;
    }
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
    RefreshHostFed();
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
    if (gate::UpdateCoefficients(coefficients, s, hostFed.sampleRate, releaseMaxMs))
    {
        lowpassL = 0.0;
        lowpassR = 0.0;
    }
}

void TXaltoEffect::ReportLatencyIfChanged()
{
    if (NearlyEqual(coefficients.latencySamples, reportedLatency))
        return;
    reportedLatency = coefficients.latencySamples;
    if (vest)
        vest->ReportLatency(RoundIndex(reportedLatency));
}

void TXaltoEffect::BlockSection()
{
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
        playState = vest->IsPlaying() + 4.0 * vest->IsRecording();
        beatPosition = vest->BeatPosition();
    }
    RefreshHostFed();

    ClearNonFiniteStates();
    noiseOffset = static_cast<double>(random.Next()) / CrtRandom::kMax * 1e-9;
}

void TXaltoEffect::ClearNonFiniteStates()
{
    // A NaN or infinite input reaches both band-split states (and so every state after them).
    // Clearing them once the block is over lets the gate recover as soon as input is finite.
    const double sum = lowpassL + lowpassR + bandLo.peak + bandLo.env + bandLo.hold +
                       bandLo.smooth + bandHi.peak + bandHi.env + bandHi.hold + bandHi.smooth;
    if (std::isfinite(sum))
        return;
    lowpassL = 0.0;
    lowpassR = 0.0;
    bandLo = {};
    bandHi = {};
    for (std::int32_t base : kDelayLineBase)
        for (std::int32_t i = 0; i <= static_cast<std::int32_t>(kMaxDelayLength); ++i)
            ringMemory[base + i] = 0.0;
    if (!std::isfinite(meterLo))
        meterLo = 0.0;
    if (!std::isfinite(meterHi))
        meterHi = 0.0;
}

void TXaltoEffect::SampleSection()
{
    const GateCoefficients& c = coefficients;
    double inL = samples[0];
    double inR = samples[1];

    // Band split of the detector input; the two bands always add up to it.
    const double xL = inL + noiseOffset;
    const double xR = inR + noiseOffset;
    lowpassL += c.splitCoef * (xL - lowpassL);
    lowpassR += c.splitCoef * (xR - lowpassR);
    double loL = lowpassL;
    double hiL = xL - lowpassL;
    double loR = lowpassR;
    double hiR = xR - lowpassR;

    // The detector sees |max(L, R)| of each band (signed maximum first).
    const double loMax = loL <= loR ? loR : loL;
    const double hiMax = hiL <= hiR ? hiR : hiL;
    RunGainComputer(bandLo, loMax, {c.threshLoGain, c.releaseCoefLo, c.releaseMixLo, c.holdRatioLo},
                    c);
    RunGainComputer(bandHi, hiMax, {c.threshHiGain, c.releaseCoefHi, c.releaseMixHi, c.holdRatioHi},
                    c);

    if (IsTrue(c.linkAmount))
    {
        // The more open band opens the other, by linkAmount.
        const double m = bandLo.reduction > bandHi.reduction ? bandHi.reduction : bandLo.reduction;
        bandLo.reduction = c.linkAmount * m + c.linkRest * bandLo.reduction;
        bandHi.reduction = c.linkAmount * m + c.linkRest * bandHi.reduction;
    }
    const double reductionLo = bandLo.reduction;
    const double reductionHi = bandHi.reduction;

    if (IsTrue(c.preGate))
    {
        // The gains were computed from the undelayed signal, so they act ahead of the audio.
        const double length = c.delayLength;
        inL = delayLines[0].Step(ringMemory + kDelayLineBase[0], length, inL);
        loL = delayLines[1].Step(ringMemory + kDelayLineBase[1], length, loL);
        hiL = delayLines[2].Step(ringMemory + kDelayLineBase[2], length, hiL);
        inR = delayLines[3].Step(ringMemory + kDelayLineBase[3], length, inR);
        loR = delayLines[4].Step(ringMemory + kDelayLineBase[4], length, loR);
        hiR = delayLines[5].Step(ringMemory + kDelayLineBase[5], length, hiR);
    }

    const double mode = c.monitorMode;
    if (NearlyEqual(mode, 0.0))
    {
        samples[0] = (inL - reductionLo * loL) - reductionHi * hiL;
        samples[1] = (inR - reductionLo * loR) - reductionHi * hiR;
    }
    else if (NearlyEqual(mode, 1.0))
    {
        samples[0] = reductionLo * loL + reductionHi * hiL;
        samples[1] = reductionLo * loR + reductionHi * hiR;
    }
    else if (NearlyEqual(mode, 2.0))
    {
        samples[0] = (1.0 - reductionLo) * loL;
        samples[1] = (1.0 - reductionLo) * loR;
    }
    else if (NearlyEqual(mode, 3.0))
    {
        samples[0] = (1.0 - reductionHi) * hiL;
        samples[1] = (1.0 - reductionHi) * hiR;
    }
    // Any other monitor value leaves the input frame in the cells.

    if (1.0 - reductionLo > meterLo)
        meterLo = 1.0 - reductionLo;
    if (1.0 - reductionHi > meterHi)
        meterHi = 1.0 - reductionHi;
}

void TXaltoEffect::SerializeSection()
{
    FileRecord& stream = StateStream();
    serialIndex = 1.0;
    int passes = 0;
    do
    {
        double& cell = Slider(serialIndex);
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
            stream.Transfer(cell);
        }
        serialIndex += 1.0;
    } while (serialIndex <= kSerializedSliders && ++passes < kLoopGuard);
}

} // namespace vrn
