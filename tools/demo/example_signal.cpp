// Writes the demo material: a synthesized drum pattern over a hissing, humming noise floor.
#include "tools/command_line.h"
#include "tools/hosting/wav_file.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace
{

constexpr double kPi = 3.14159265358979323846;

/// Deterministic white noise in -1..1.
class Noise
{
public:
    explicit Noise(std::uint32_t seed) : state(seed) {}
    double Next()
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / 8388608.0 - 1.0;
    }

private:
    std::uint32_t state;
};

/// Adds one drum voice starting at frame `start`.
void AddHit(vrn::WavAudio& audio, std::size_t start, char voice, Noise& noise, double pan)
{
    const double fs = audio.sampleRate;
    const auto length = static_cast<std::size_t>(fs * 0.6);
    double phase = 0.0;
    double highpassState = 0.0;
    for (std::size_t i = 0; i < length && start + i < audio.Frames(); ++i)
    {
        const double t = static_cast<double>(i) / fs;
        double v = 0.0;
        switch (voice)
        {
        case 'k': // kick: a sine swept from 150 Hz down to 50 Hz
            phase += 2.0 * kPi * (50.0 + 100.0 * std::exp(-t / 0.04)) / fs;
            v = 0.9 * std::sin(phase) * std::exp(-t / 0.18);
            break;
        case 's': // snare: a 190 Hz body and a noise rattle
            phase += 2.0 * kPi * 190.0 / fs;
            v = 0.35 * std::sin(phase) * std::exp(-t / 0.05) +
                0.45 * noise.Next() * std::exp(-t / 0.09);
            break;
        default: // hi-hat: high-passed noise, short
        {
            const double n = noise.Next();
            highpassState += 0.35 * (n - highpassState);
            v = 0.3 * (n - highpassState) * std::exp(-t / 0.025);
            break;
        }
        }
        audio.channels[0][start + i] += v * (1.0 - pan);
        audio.channels[1][start + i] += v * (1.0 + pan);
    }
}

int Write(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: example_signal OUT.wav\n");
        return 1;
    }
    vrn::WavAudio audio;
    audio.sampleRate = 48000;
    const auto frames = static_cast<std::size_t>(audio.sampleRate) * 6;
    audio.channels.assign(2, std::vector<double>(frames, 0.0));

    // Noise floor: hiss near -60 dBFS and 50 Hz mains hum near -58 dBFS.
    Noise hiss(7), drums(11);
    for (std::size_t j = 0; j < frames; ++j)
    {
        const double hum = 0.0012 * std::sin(2.0 * kPi * 50.0 * static_cast<double>(j) / 48000.0);
        audio.channels[0][j] = 0.0015 * hiss.Next() + hum;
        audio.channels[1][j] = 0.0015 * hiss.Next() + hum;
    }

    // A one-bar pattern in sixteenths at 100 BPM, played twice; the last second is only the
    // noise floor, which a gate should silence.
    const char* pattern = "k.h.s.h.k.khs.hh";
    const double sixteenth = 60.0 / 100.0 / 4.0;
    for (int bar = 0; bar < 2; ++bar)
        for (int step = 0; step < 16; ++step)
        {
            const char voice = pattern[step];
            if (voice == '.')
                continue;
            const double time = 0.25 + (bar * 16 + step) * sixteenth;
            const double pan = voice == 'h' ? 0.3 : (voice == 's' ? -0.1 : 0.0);
            AddHit(audio, static_cast<std::size_t>(time * 48000.0), voice, drums, pan);
        }

    const vrn::WavStatus status = vrn::WriteWav(argv[1], audio, vrn::WavSampleFormat::Float32);
    if (!status.ok)
    {
        vrn::PrintError(status.message);
        return 4;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    return vrn::RunMain("example_signal", argc, argv, Write);
}
