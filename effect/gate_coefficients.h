#pragma once
// Turns the gate's slider values into the working values of its signal path.

#include <cstdint>

namespace vrn::gate
{

/// Base cells of the six look-ahead rings in effect memory (2000 cells apart).
constexpr std::int32_t kDelayLineBase[6] = {1000, 3000, 5000, 7000, 9000, 11000};
/// A ring of length L uses L + 1 cells, so the spacing bounds the look-ahead.
constexpr double kMaxDelayLength = 1999.0;

/// Everything the signal path reads, made from the sliders and the sample rate.
struct GateCoefficients
{
    // Parameter copies
    double attackMs = 0.0;
    double releaseLoMs = 0.0;
    double releaseHiMs = 0.0;
    double crossoverHz = 0.0;
    double gateRatio = 0.0;   ///< exponent of the gain curve
    double monitorMode = 0.0; ///< 0 Output, 1 Detector, 2 Lo-band, 3 Hi-band
    double preGate = 0.0;     ///< look-ahead on when not zero

    double threshLoGain = 0.0; ///< thresholds as linear amplitudes
    double threshHiGain = 0.0;
    double linkAmount = 0.0; ///< 0..1
    double linkRest = 0.0;   ///< 1 − linkAmount
    double releaseLoNorm = 0.0;
    double releaseHiNorm = 0.0;

    double splitCoef = 0.0;       ///< one-pole low-pass coefficient of the band split
    double lastCrossoverHz = 0.0; ///< the crossover splitCoef was made for
    double splitSampleRate = 0.0; ///< the sample rate splitCoef was made for

    double delayLength = 0.0; ///< look-ahead, samples (0 … 1999)

    double attackCoef = 0.0;
    double attackMix = 0.0;
    double releaseCoefLo = 0.0;
    double releaseCoefHi = 0.0;
    double releaseMixLo = 0.0;
    double releaseMixHi = 0.0;
    double peakCoef = 0.0;
    double smoothCoef = 0.0;
    double holdRatioLo = 0.0;
    double holdRatioHi = 0.0;

    double latencySamples = 0.0; ///< latency to report, samples

    // Decisions the signal path would otherwise make per frame.
    int monitorSelect = 0;        ///< 0 … 3, or -1 when the monitor value names no mode
    bool linkOn = false;          ///< band link active
    bool preGateOn = false;       ///< look-ahead active
    std::int32_t ringLength = 0;  ///< delayLength as an index
    unsigned splitGeneration = 0; ///< counts crossover changes (band-split states cleared)
};

/// Slider cells 1 … 10 as UpdateCoefficients reads them.
struct GateSliderValues
{
    double attack, releaseLo, releaseHi, thresholdLo, thresholdHi, crossover, ratio, monitor,
        preGate, bandLink;
};

/// Recomputes `c` from the sliders. `crossoverMoved` says that the crossover changed since the
/// last update (the caller then clears the band-split filter states; `splitGeneration` moves
/// on). Idempotent for unchanged inputs.
void UpdateCoefficients(GateCoefficients& c, const GateSliderValues& s, double sampleRate,
                        double releaseMaxMs, bool crossoverMoved);

/// Whether a crossover of `now` Hz counts as a change from `before` (beyond the tolerance).
bool CrossoverMoved(double before, double now);

} // namespace vrn::gate
