#pragma once
// The benchmark's test signals: gating bursts over a noise floor, and a burst before silence.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vrn
{

/// What the input does at a frame, for judging what a gate made of it.
enum class SignalPhase : std::uint8_t
{
    Floor,      ///< only the noise floor, far enough from a burst for a gate to have closed
    Burst,      ///< a loud burst
    Transition, ///< the floor just after a burst, where a gate may still be releasing
    Silence,    ///< exact digital zero
};

/// A stretch of the signal that gets its own figures; frames [begin, end).
struct SignalSegment
{
    std::string name;
    std::size_t begin = 0;
    std::size_t end = 0;
};

/// A deterministic stereo test signal with per-frame phases and named segments.
struct TestSignal
{
    std::string description;             ///< one line for the table heading
    double sampleRate = 48000.0;         ///< Hz
    std::vector<float> left;             ///< samples, -1..1
    std::vector<float> right;            ///< samples, -1..1, as long as `left`
    std::vector<SignalPhase> phases;     ///< one per frame
    std::vector<SignalSegment> segments; ///< cover all frames in order, at least one

    /// Number of stereo frames.
    std::size_t Frames() const { return left.size(); }

    /// The segment frame `frame` belongs to (the last one for frames past the end).
    std::size_t SegmentOf(std::size_t frame) const
    {
        std::size_t segment = 0;
        while (segment + 1 < segments.size() && frame >= segments[segment].end)
            ++segment;
        return segment;
    }
};

/// Bursts of 100 ms (two tones plus noise, peaks at -6 dBFS, 1 ms fades) every 500 ms over a
/// -70 dBFS RMS noise floor, `seconds` long (> 0); the first burst starts at 50 ms. One segment.
TestSignal MakeGatingSignal(double sampleRate, double seconds);

/// 1.65 s of MakeGatingSignal, ending on the last frame of its fourth burst, then
/// `silenceSeconds` (>= 2) of exact zeros. Segments: the sound (the cost of ordinary work, to
/// compare the silence with), the first second of silence, the rest of the silence.
TestSignal MakeSilentTailSignal(double sampleRate, double silenceSeconds);

} // namespace vrn
