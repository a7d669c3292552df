#pragma once
// A plain per-sample calculation of the gate, written straight from its description and
// sharing no code with the plug-in, to compare the plug-in's output against.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace vrn::test
{

struct GateSettings
{
    double attack = 0, releaseLo = 20, releaseHi = 20, thresholdLo = -45, thresholdHi = -45,
           crossover = 500, ratio = 2, monitor = 0, preGate = 0, bandLink = 0;
};

/// The gate after open and resume, one plain frame after the other. Settings may change
/// between blocks, as host parameter changes do.
class PlainGate
{
public:
    PlainGate(const GateSettings& s, double sampleRate) : fs(sampleRate) { Apply(s); }

    /// New settings: every coefficient is remade; only a new crossover clears the band split.
    void Apply(const GateSettings& s)
    {
        auto onePole = [this](double ms)
        {
            double c = std::exp(-1.0 / (ms * fs / 1000.0));
            return (c >= 0.0 && c <= 1.0) ? c : 0.0;
        };
        if (!applied || std::fabs(s.crossover - settings.crossover) >= 0.00001)
        {
            split = 1.0 - std::exp(-2.0 * 3.14159265358979323846 * s.crossover / fs);
            lpL = lpR = 0.0;
        }
        applied = true;
        settings = s;
        thrLo = std::pow(10.0, s.thresholdLo / 20.0);
        thrHi = std::pow(10.0, s.thresholdHi / 20.0);
        delay = std::max(std::floor(fs * (s.attack / 1000.0)), std::floor(fs / 1000.0));
        delay = std::min(delay, 1999.0);
        aC = onePole(s.attack);
        aM = 1.0 - aC;
        lo.rc = onePole(s.releaseLo);
        lo.rm = 1.0 - lo.rc;
        hi.rc = onePole(s.releaseHi);
        hi.rm = 1.0 - hi.rc;
        pk = onePole(20.0);
        sm = 1.0 - std::exp(-2.0 * 3.14159265358979323846 * 28.0 / fs);
        lo.hr = std::sqrt(s.releaseLo / 1000.0) * 1.67 + 0.33;
        hi.hr = std::sqrt(s.releaseHi / 1000.0) * 1.67 + 0.33;
        link = s.bandLink / 100.0;
    }

    /// One processing call: a new detector offset, then the frames in place.
    void Block(double* left, double* right, std::size_t frames)
    {
        seed = seed * 214013u + 2531011u;
        noise = static_cast<double>((seed >> 16) & 0x7FFF) / 32767.0 * 1e-9;
        for (std::size_t j = 0; j < frames; ++j)
            Frame(left[j], right[j]);
    }

private:
    struct Band
    {
        double peak = 0, env = 0, hold = 0, smooth = 0;
        double rc = 0, rm = 0, hr = 0;
    };

    double Reduction(Band& b, double x, double thr) const
    {
        const double level = std::min(std::fabs(x), thr) / thr;
        const double target = std::pow(level, settings.ratio);
        const double h = target + (b.peak - target) * pk;
        b.peak = h > target ? h : target;
        if (b.peak > b.env)
        {
            b.env = b.env * aC + b.peak * aM;
            if (b.env > b.hold)
                b.hold = b.env;
        }
        else
        {
            b.env = b.env * b.rc + b.peak * b.rm;
            if (b.env < b.hold * b.hr)
                b.hold = b.hold * b.rc + b.peak * b.rm;
        }
        b.smooth += (b.hold - b.smooth) * sm;
        return 1.0 - std::max(b.hold, b.smooth);
    }

    void Frame(double& left, double& right)
    {
        // A NaN or infinite input sample is silence.
        double inL = std::isfinite(left) ? left : 0.0;
        double inR = std::isfinite(right) ? right : 0.0;
        lpL += split * (inL + noise - lpL);
        lpR += split * (inR + noise - lpR);
        double loL = lpL, hiL = inL + noise - lpL, loR = lpR, hiR = inR + noise - lpR;
        double redLo = Reduction(lo, std::max(loL, loR), thrLo);
        double redHi = Reduction(hi, std::max(hiL, hiR), thrHi);
        if (std::fabs(link) >= 0.00001)
        {
            const double m = std::min(redLo, redHi);
            redLo = link * m + (1.0 - link) * redLo;
            redHi = link * m + (1.0 - link) * redHi;
        }
        const double passL = inL, passR = inR;
        if (std::fabs(settings.preGate) >= 0.00001)
        {
            // Six rings of `delay` + 1 cells: write at the position, step it (back to 0 past
            // `delay`), read there: the value written `delay` frames earlier.
            double* signals[6] = {&inL, &loL, &hiL, &inR, &loR, &hiR};
            const std::size_t next =
                ringPos + 1 > static_cast<std::size_t>(delay) ? 0 : ringPos + 1;
            for (std::size_t k = 0; k < 6; ++k)
            {
                rings[k][ringPos] = *signals[k];
                *signals[k] = rings[k][next];
            }
            ringPos = next;
        }
        int mode = static_cast<int>(std::lround(settings.monitor));
        if (std::fabs(settings.monitor - mode) >= 0.00001)
            mode = -1;
        switch (mode)
        {
        case 0:
            left = inL - redLo * loL - redHi * hiL;
            right = inR - redLo * loR - redHi * hiR;
            break;
        case 1:
            left = redLo * loL + redHi * hiL;
            right = redLo * loR + redHi * hiR;
            break;
        case 2:
            left = (1.0 - redLo) * loL;
            right = (1.0 - redLo) * loR;
            break;
        case 3:
            left = (1.0 - redHi) * hiL;
            right = (1.0 - redHi) * hiR;
            break;
        default: // an unknown monitor value passes the input
            left = passL;
            right = passR;
            break;
        }
    }

    double fs;
    GateSettings settings;
    bool applied = false;
    double split = 0, thrLo = 0, thrHi = 0, delay = 0, aC = 0, aM = 0, pk = 0, sm = 0, link = 0;
    Band lo, hi;
    double lpL = 0, lpR = 0, noise = 0;
    std::uint32_t seed = 1;
    std::vector<std::vector<double>> rings{6, std::vector<double>(2000, 0.0)};
    std::size_t ringPos = 0;
};

/// Renders `left`/`right` (in place) as the gate would after open and resume, processing in
/// blocks of `blockSize` frames (the detector offset is renewed per block).
inline void ReferenceGate(const GateSettings& s, double fs, int blockSize,
                          std::vector<double>& left, std::vector<double>& right)
{
    PlainGate gate(s, fs);
    const auto block = static_cast<std::size_t>(blockSize);
    for (std::size_t start = 0; start < left.size(); start += block)
        gate.Block(left.data() + start, right.data() + start, std::min(block, left.size() - start));
}

/// Drum-like test material: decaying noise bursts over a quiet noise floor.
inline void MakeBurstSignal(double fs, double seconds, std::vector<double>& left,
                            std::vector<double>& right)
{
    const auto frames = static_cast<std::size_t>(fs * seconds);
    left.assign(frames, 0.0);
    right.assign(frames, 0.0);
    std::uint32_t state = 12345;
    auto noise = [&state]
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / 8388608.0 - 1.0;
    };
    const auto period = static_cast<std::size_t>(fs * 0.25);
    for (std::size_t j = 0; j < frames; ++j)
    {
        const double t = static_cast<double>(j % period) / fs;
        const double burst = 0.8 * std::exp(-t / 0.03);
        const double tone =
            std::sin(2.0 * 3.14159265358979323846 * 90.0 * static_cast<double>(j) / fs);
        left[j] = burst * (0.6 * noise() + 0.4 * tone) + 0.001 * noise();
        right[j] = burst * (0.5 * noise() + 0.5 * tone) + 0.001 * noise();
    }
}

} // namespace vrn::test
