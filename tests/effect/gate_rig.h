#pragma once
// Drives a gate effect directly, with a minimal host behind it.

#include "effect/gate_effect.h"
#include "tests/effect/reference_gate.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vrn::test
{

/// The largest difference between two signals of the same length (NaN when either holds one).
inline double MaxDifference(const std::vector<double>& a, const std::vector<double>& b)
{
    double worst = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i)
    {
        const double d = std::fabs(a[i] - b[i]);
        if (std::isnan(d))
            return d;
        worst = std::max(worst, d);
    }
    return worst;
}

/// Host services with fixed answers; records the latency reports.
class StubHost : public IHostServices
{
public:
    double sampleRate = 48000.0;
    std::vector<std::int32_t> latencyReports;

    std::int32_t ChannelCount() const override { return 2; }
    double SampleRate() const override { return sampleRate; }
    double BlockSize() const override { return 512.0; }
    double Tempo() override { return 120.0; }
    bool TimeForBlock(BlockTime& out) override
    {
        out = {120.0, 4.0, 4.0, 1.0, 0.0, 0.0};
        return true;
    }
    void ReportLatency(std::int32_t samples) override { latencyReports.push_back(samples); }
    bool EditorSize(std::int32_t&, std::int32_t&) const override { return false; }
    bool RequestRedraw() override { return false; }
    bool NextMidiEvent(MidiMessage& out) override
    {
        out = {};
        return false;
    }
};

/// A gate opened, set to `settings` and resumed, as a host would.
struct GateRig
{
    explicit GateRig(const GateSettings& settings = {}, double fs = 48000.0)
    {
        host.sampleRate = fs;
        gate.vest = &host;
        gate.Reset();
        Apply(settings);
        gate.Resume();
    }

    void Apply(const GateSettings& s)
    {
        const double values[10] = {s.attack,      s.releaseLo, s.releaseHi, s.thresholdLo,
                                   s.thresholdHi, s.crossover, s.ratio,     s.monitor,
                                   s.preGate,     s.bandLink};
        for (int i = 0; i < 10; ++i)
            gate.Slider(i + 1) = values[i];
        gate.SliderSection();
    }

    /// Processes the samples in place, in processing calls of `block` frames.
    template <class Sample>
    void Process(std::vector<Sample>& left, std::vector<Sample>& right, int block = 512)
    {
        const auto frames = static_cast<int>(left.size());
        for (int start = 0; start < frames; start += block)
        {
            Sample* io[2] = {left.data() + start, right.data() + start};
            TXalto::Process(gate, io, io, std::min(block, frames - start));
        }
    }

    StubHost host;
    TXaltoEffect gate;
};

} // namespace vrn::test
