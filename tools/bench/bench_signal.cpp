// The benchmark's test signals: gating bursts over a noise floor, and a burst before silence.
#include "tools/bench/bench_signal.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vrn
{
namespace
{

constexpr double kPi = 3.14159265358979323846;
constexpr double kBurstSeconds = 0.100;
constexpr double kPeriodSeconds = 0.500;
constexpr double kFirstBurstSeconds = 0.050;
constexpr double kFadeSeconds = 0.001;
// Floor frames this close after a burst may still carry a gate's release.
constexpr double kTransitionSeconds = 0.200;
constexpr double kFloorRmsDb = -70.0;
// Burst content; the amplitudes add up to 0.5, i.e. peaks at -6 dBFS.
constexpr double kLowToneHz = 220.0;
constexpr double kHighToneHz = 2500.0;
constexpr double kLowToneAmplitude = 0.20;
constexpr double kHighToneAmplitude = 0.15;
constexpr double kBurstNoiseAmplitude = 0.15;

// A small xorshift generator: the same numbers on every platform and compiler.
class NoiseSource
{
public:
    explicit NoiseSource(std::uint32_t seed) : state(seed != 0 ? seed : 1u) {}

    // Uniform in [-1, 1).
    double Next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<double>(state) / 2147483648.0 - 1.0;
    }

private:
    std::uint32_t state;
};

// Uniform noise of amplitude a has an RMS of a / sqrt(3).
double FloorAmplitude()
{
    return std::pow(10.0, kFloorRmsDb / 20.0) * std::sqrt(3.0);
}

std::size_t FramesOf(double seconds, double sampleRate)
{
    return static_cast<std::size_t>(std::llround(seconds * sampleRate));
}

// Raised-cosine fade in and out over the first and last `fade` frames of a burst.
double BurstEnvelope(std::size_t position, std::size_t length, std::size_t fade)
{
    const std::size_t edge = std::min(position, length - 1 - position);
    if (edge >= fade)
        return 1.0;
    return 0.5 - 0.5 * std::cos(kPi * static_cast<double>(edge) / static_cast<double>(fade));
}

// Burst sample `position` of channel `channel`; the channels differ in tone phase and noise.
double BurstSample(std::size_t position, std::size_t length, double sampleRate, int channel,
                   NoiseSource& noise)
{
    const double t = static_cast<double>(position) / sampleRate;
    const double offset = channel == 0 ? 0.0 : 0.25 * kPi;
    const double value = kLowToneAmplitude * std::sin(2.0 * kPi * kLowToneHz * t + offset) +
                         kHighToneAmplitude * std::sin(2.0 * kPi * kHighToneHz * t - offset) +
                         kBurstNoiseAmplitude * noise.Next();
    return value * BurstEnvelope(position, length, FramesOf(kFadeSeconds, sampleRate));
}

} // namespace

TestSignal MakeGatingSignal(double sampleRate, double seconds)
{
    TestSignal signal;
    signal.sampleRate = sampleRate;
    const std::size_t frames = std::max<std::size_t>(1, FramesOf(seconds, sampleRate));
    const std::size_t period = FramesOf(kPeriodSeconds, sampleRate);
    const std::size_t first = FramesOf(kFirstBurstSeconds, sampleRate);
    const std::size_t burst = FramesOf(kBurstSeconds, sampleRate);
    const std::size_t transition = FramesOf(kTransitionSeconds, sampleRate);
    signal.left.resize(frames);
    signal.right.resize(frames);
    signal.phases.resize(frames);

    NoiseSource floorLeft(0x1234567u);
    NoiseSource floorRight(0x7654321u);
    NoiseSource burstNoise(0xBEEF01u);
    const double floorAmplitude = FloorAmplitude();
    for (std::size_t i = 0; i < frames; ++i)
    {
        double left = floorAmplitude * floorLeft.Next();
        double right = floorAmplitude * floorRight.Next();
        // Position within the period, counted from the burst start.
        const std::size_t position = (i + period - first % period) % period;
        SignalPhase phase = SignalPhase::Floor;
        if (i >= first && position < burst)
        {
            left += BurstSample(position, burst, sampleRate, 0, burstNoise);
            right += BurstSample(position, burst, sampleRate, 1, burstNoise);
            phase = SignalPhase::Burst;
        }
        else if (i >= first && position < burst + transition)
        {
            phase = SignalPhase::Transition;
        }
        signal.left[i] = static_cast<float>(left);
        signal.right[i] = static_cast<float>(right);
        signal.phases[i] = phase;
    }

    char text[160] = {};
    std::snprintf(text, sizeof text,
                  "%.1f s: 100 ms bursts at -6 dBFS every 500 ms over a -70 dBFS noise floor",
                  static_cast<double>(frames) / sampleRate);
    signal.description = text;
    signal.segments.push_back({"all", 0, frames});
    return signal;
}

TestSignal MakeSilentTailSignal(double sampleRate, double silenceSeconds)
{
    const double silence = std::max(silenceSeconds, 2.0);
    // Four bursts, the last one ending the stretch: the silence starts right after a burst.
    TestSignal signal =
        MakeGatingSignal(sampleRate, kFirstBurstSeconds + 3 * kPeriodSeconds + kBurstSeconds);
    const std::size_t sound = signal.Frames();
    const std::size_t second = FramesOf(1.0, sampleRate);
    const std::size_t frames = sound + FramesOf(silence, sampleRate);
    signal.left.resize(frames, 0.0f);
    signal.right.resize(frames, 0.0f);
    signal.phases.resize(frames, SignalPhase::Silence);

    char text[160] = {};
    std::snprintf(text, sizeof text,
                  "%.2f s of the gating signal ending on a burst, then %.1f s of digital silence",
                  static_cast<double>(sound) / sampleRate, silence);
    signal.description = text;
    char late[64] = {};
    std::snprintf(late, sizeof late, "silence 1-%.0f s", silence);
    signal.segments.clear();
    signal.segments.push_back({"signal", 0, sound});
    signal.segments.push_back({"silence 0-1 s", sound, sound + second});
    signal.segments.push_back({late, sound + second, frames});
    return signal;
}

} // namespace vrn
