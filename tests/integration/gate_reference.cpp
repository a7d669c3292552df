// Test helper for the plug-in runs: renders a WAV with the plain calculation of the gate, and
// compares two WAV files sample by sample.
//
//   gate_reference render IN OUT BLOCK X0 … X9   the ten normalised parameter values
//   gate_reference compare A B TOLERANCE          fails when any sample differs by more
#include "tests/effect/reference_gate.h"
#include "tools/command_line.h"
#include "tools/hosting/wav_file.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{

/// A normalised host value as the slider value a host's setParameter produces.
double Quantise(float normalised, double minimum, double maximum, double step)
{
    const double v = minimum + static_cast<double>(normalised) * (maximum - minimum);
    return step * std::floor((v + step / 2.0) / step);
}

int Render(char** argv)
{
    vrn::WavAudio audio;
    vrn::WavStatus status = vrn::ReadWav(argv[2], audio);
    if (!status.ok || audio.channels.size() != 2)
    {
        vrn::PrintError(std::string(argv[2]) + ": " + status.message);
        return 4;
    }
    float x[10];
    for (int i = 0; i < 10; ++i)
        x[i] = std::strtof(argv[5 + i], nullptr);
    vrn::test::GateSettings s;
    s.attack = Quantise(x[0], 0, 10, 0.1);
    s.releaseLo = Quantise(x[1], 5, 1000, 1);
    s.releaseHi = Quantise(x[2], 5, 1000, 1);
    s.thresholdLo = Quantise(x[3], -90, 0, 1);
    s.thresholdHi = Quantise(x[4], -90, 0, 1);
    s.crossover = Quantise(x[5], 100, 8000, 10);
    s.ratio = Quantise(x[6], 0.5, 10, 0.1);
    s.monitor = Quantise(x[7], 0, 3, 1);
    s.preGate = Quantise(x[8], 0, 1, 1);
    s.bandLink = Quantise(x[9], 0, 100, 1);
    vrn::test::ReferenceGate(s, audio.sampleRate, std::atoi(argv[4]), audio.channels[0],
                             audio.channels[1]);
    status = vrn::WriteWav(argv[3], audio, vrn::WavSampleFormat::Float64);
    if (!status.ok)
    {
        vrn::PrintError(status.message);
        return 4;
    }
    return 0;
}

int Compare(char** argv)
{
    vrn::WavAudio a, b;
    if (!vrn::ReadWav(argv[2], a).ok || !vrn::ReadWav(argv[3], b).ok ||
        a.channels.size() != b.channels.size() || a.Frames() != b.Frames())
    {
        vrn::PrintError(std::string(argv[2]) + " and " + argv[3] + " do not match in shape");
        return 1;
    }
    const double tolerance = std::atof(argv[4]);
    double worst = 0.0;
    for (std::size_t c = 0; c < a.channels.size(); ++c)
        for (std::size_t j = 0; j < a.Frames(); ++j)
        {
            const double d = std::fabs(a.channels[c][j] - b.channels[c][j]);
            if (!(d <= worst)) // also catches NaN
                worst = d;
        }
    std::printf("max difference: %.3g\n", worst);
    return worst <= tolerance ? 0 : 1;
}

int Run(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "render" && argc == 15)
        return Render(argv);
    if (mode == "compare" && argc == 5)
        return Compare(argv);
    std::fprintf(stderr, "usage: gate_reference render IN OUT BLOCK X0..X9 | compare A B TOL\n");
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    return vrn::RunMain("gate_reference", argc, argv, Run);
}
