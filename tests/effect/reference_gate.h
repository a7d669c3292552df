#pragma once
// A plain per-sample calculation of the gate, written straight from its description and
// sharing no code with the plug-in, to compare the plug-in's output against.

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

/// Renders `left`/`right` (in place) as the gate would after open and resume, processing in
/// blocks of `blockSize` frames (the detector offset is renewed per block).
inline void ReferenceGate(const GateSettings& s, double fs, int blockSize,
                          std::vector<double>& left, std::vector<double>& right)
{
    auto onePole = [fs](double ms)
    {
        double c = std::exp(-1.0 / (ms * fs / 1000.0));
        return (c >= 0.0 && c <= 1.0) ? c : 0.0;
    };
    const double thrLo = std::pow(10.0, s.thresholdLo / 20.0);
    const double thrHi = std::pow(10.0, s.thresholdHi / 20.0);
    const double split = 1.0 - std::exp(-2.0 * 3.14159265358979323846 * s.crossover / fs);
    double delay = std::max(std::floor(fs * s.attack / 1000.0), std::floor(fs / 1000.0));
    delay = std::min(delay, 1999.0);
    const double aC = onePole(s.attack), aM = 1.0 - aC;
    const double rLo = onePole(s.releaseLo), rLoM = 1.0 - rLo;
    const double rHi = onePole(s.releaseHi), rHiM = 1.0 - rHi;
    const double pk = onePole(20.0);
    const double sm = 1.0 - std::exp(-2.0 * 3.14159265358979323846 * 28.0 / fs);
    const double holdLo = std::sqrt(s.releaseLo / 1000.0) * 1.67 + 0.33;
    const double holdHi = std::sqrt(s.releaseHi / 1000.0) * 1.67 + 0.33;
    const double link = s.bandLink / 100.0;
    const bool linked = std::fabs(link) >= 0.00001;
    const bool pre = std::fabs(s.preGate) >= 0.00001;

    struct Band
    {
        double peak = 0, env = 0, hold = 0, smooth = 0;
    };
    auto gain = [&](Band& b, double x, double thr, double rc, double rm, double hr)
    {
        const double level = std::min(std::fabs(x), thr) / thr;
        const double target = std::pow(level, s.ratio);
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
            b.env = b.env * rc + b.peak * rm;
            if (b.env < b.hold * hr)
                b.hold = b.hold * rc + b.peak * rm;
        }
        b.smooth += (b.hold - b.smooth) * sm;
        return 1.0 - std::max(b.hold, b.smooth);
    };

    const auto length = static_cast<std::size_t>(delay);
    std::vector<std::vector<double>> rings(6, std::vector<double>(length, 0.0));
    std::size_t ringPos = 0;
    Band lo, hi;
    double lpL = 0, lpR = 0, noise = 0;
    std::uint32_t seed = 1;

    for (std::size_t j = 0; j < left.size(); ++j)
    {
        if (j % static_cast<std::size_t>(blockSize) == 0)
        {
            seed = seed * 214013u + 2531011u;
            noise = static_cast<double>((seed >> 16) & 0x7FFF) / 32767.0 * 1e-9;
        }
        double inL = left[j], inR = right[j];
        lpL += split * (inL + noise - lpL);
        lpR += split * (inR + noise - lpR);
        double loL = lpL, hiL = inL + noise - lpL, loR = lpR, hiR = inR + noise - lpR;
        double redLo = gain(lo, std::max(loL, loR), thrLo, rLo, rLoM, holdLo);
        double redHi = gain(hi, std::max(hiL, hiR), thrHi, rHi, rHiM, holdHi);
        if (linked)
        {
            const double m = std::min(redLo, redHi);
            redLo = link * m + (1.0 - link) * redLo;
            redHi = link * m + (1.0 - link) * redHi;
        }
        if (pre && length > 0)
        {
            // A plain FIFO of `length` samples per signal.
            double* sig[6] = {&inL, &loL, &hiL, &inR, &loR, &hiR};
            for (int k = 0; k < 6; ++k)
            {
                const double delayed = rings[static_cast<std::size_t>(k)][ringPos];
                rings[static_cast<std::size_t>(k)][ringPos] = *sig[k];
                *sig[k] = delayed;
            }
            ringPos = (ringPos + 1) % length;
        }
        const int mode = static_cast<int>(std::lround(s.monitor));
        if (std::fabs(s.monitor - mode) >= 0.00001)
            continue; // unknown monitor value: the input passes
        switch (mode)
        {
        case 0:
            left[j] = inL - redLo * loL - redHi * hiL;
            right[j] = inR - redLo * loR - redHi * hiR;
            break;
        case 1:
            left[j] = redLo * loL + redHi * hiL;
            right[j] = redLo * loR + redHi * hiR;
            break;
        case 2:
            left[j] = (1.0 - redLo) * loL;
            right[j] = (1.0 - redLo) * loR;
            break;
        case 3:
            left[j] = (1.0 - redHi) * hiL;
            right[j] = (1.0 - redHi) * hiR;
            break;
        default:
            break;
        }
    }
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
