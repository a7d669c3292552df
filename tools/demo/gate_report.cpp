// Compares a gate's input and output: noise-floor level before and after, and how much of the
// time each band was closed.
#include "tools/command_line.h"
#include "tools/hosting/wav_file.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{

constexpr double kWindowSeconds = 0.005;
constexpr double kClosedRatio = 0.1; ///< a band attenuated by 20 dB or more counts as closed

/// Mono sum of a file's first two channels.
std::vector<double> Mono(const vrn::WavAudio& audio)
{
    std::vector<double> mono(audio.Frames(), 0.0);
    for (std::size_t c = 0; c < audio.channels.size() && c < 2; ++c)
        for (std::size_t j = 0; j < mono.size(); ++j)
            mono[j] += audio.channels[c][j] /
                       static_cast<double>(std::min<std::size_t>(2, audio.channels.size()));
    return mono;
}

/// The two bands of a first-order complementary split at `hz`.
void Split(const std::vector<double>& x, double hz, double fs, std::vector<double>& lo,
           std::vector<double>& hi)
{
    const double coef = 1.0 - std::exp(-6.283185307179586 * hz / fs);
    double state = 0.0;
    lo.resize(x.size());
    hi.resize(x.size());
    for (std::size_t j = 0; j < x.size(); ++j)
    {
        state += coef * (x[j] - state);
        lo[j] = state;
        hi[j] = x[j] - state;
    }
}

/// RMS of each window of `window` frames, starting at `offset`.
std::vector<double> WindowRms(const std::vector<double>& x, std::size_t offset, std::size_t window,
                              std::size_t count)
{
    std::vector<double> rms(count, 0.0);
    for (std::size_t w = 0; w < count; ++w)
    {
        double sum = 0.0;
        for (std::size_t i = 0; i < window; ++i)
        {
            const std::size_t j = offset + w * window + i;
            const double v = j < x.size() ? x[j] : 0.0;
            sum += v * v;
        }
        rms[w] = std::sqrt(sum / static_cast<double>(window));
    }
    return rms;
}

double Decibels(double rms)
{
    return 20.0 * std::log10(std::max(rms, 1e-12));
}

int Report(int argc, char** argv)
{
    if (argc != 5)
    {
        std::fprintf(stderr, "usage: gate_report IN.wav OUT.wav CROSSOVER_HZ LATENCY_SAMPLES\n");
        return 1;
    }
    vrn::WavAudio in, out;
    for (auto [path, audio] : {std::pair<const char*, vrn::WavAudio*>{argv[1], &in},
                               std::pair<const char*, vrn::WavAudio*>{argv[2], &out}})
    {
        const vrn::WavStatus status = vrn::ReadWav(path, *audio);
        if (!status.ok)
        {
            vrn::PrintError(std::string(path) + ": " + status.message);
            return 4;
        }
    }
    const double crossover = std::atof(argv[3]);
    const auto latency = static_cast<std::size_t>(std::max(0, std::atoi(argv[4])));
    const double fs = in.sampleRate;

    std::vector<double> inLo, inHi, outLo, outHi;
    const std::vector<double> inMono = Mono(in), outMono = Mono(out);
    Split(inMono, crossover, fs, inLo, inHi);
    Split(outMono, crossover, fs, outLo, outHi);

    const auto window = static_cast<std::size_t>(fs * kWindowSeconds);
    const std::size_t count = inMono.size() / window;
    // The output is compared with the input it came from: `latency` frames later.
    const std::vector<double> inAll = WindowRms(inMono, 0, window, count);
    const std::vector<double> outAll = WindowRms(outMono, latency, window, count);
    const std::vector<double> inLoRms = WindowRms(inLo, 0, window, count);
    const std::vector<double> inHiRms = WindowRms(inHi, 0, window, count);
    const std::vector<double> outLoRms = WindowRms(outLo, latency, window, count);
    const std::vector<double> outHiRms = WindowRms(outHi, latency, window, count);

    // The noise floor: the quietest fifth of the input's windows.
    std::vector<std::size_t> order(count);
    for (std::size_t w = 0; w < count; ++w)
        order[w] = w;
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return inAll[a] < inAll[b]; });
    const std::size_t quiet = std::max<std::size_t>(1, count / 5);
    double floorIn = 0.0, floorOut = 0.0;
    for (std::size_t i = 0; i < quiet; ++i)
    {
        floorIn += inAll[order[i]] * inAll[order[i]];
        floorOut += outAll[order[i]] * outAll[order[i]];
    }
    floorIn = std::sqrt(floorIn / static_cast<double>(quiet));
    floorOut = std::sqrt(floorOut / static_cast<double>(quiet));

    std::size_t closedLo = 0, closedHi = 0;
    for (std::size_t w = 0; w < count; ++w)
    {
        closedLo += outLoRms[w] < kClosedRatio * inLoRms[w] ? 1 : 0;
        closedHi += outHiRms[w] < kClosedRatio * inHiRms[w] ? 1 : 0;
    }
    std::printf("  latency          %zu samples\n", latency);
    std::printf("  noise floor      %.1f dBFS in, %.1f dBFS out\n", Decibels(floorIn),
                Decibels(floorOut));
    std::printf("  low band closed  %.0f %% of the time\n",
                100.0 * static_cast<double>(closedLo) / static_cast<double>(count));
    std::printf("  high band closed %.0f %% of the time\n",
                100.0 * static_cast<double>(closedHi) / static_cast<double>(count));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    return vrn::RunMain("gate_report", argc, argv, Report);
}
