// Test helper for the vsthost runs: writes test tones and checks rendered WAV files.
//
//   wav_probe tone FILE f32|f64|s16 RATE CHANNELS FRAMES   channel c: 0.5/(c+1) * sin, 441 Hz
//   wav_probe stats FILE            prints channels, rate, frames and each channel's peak
//   wav_probe expect OUT IN GAIN TOLERANCE
//                                   checks OUT[c] == GAIN * IN[c] (IN[0] for a mono IN)
#include "tools/hosting/wav_file.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

namespace
{

int Tone(char** argv)
{
    vrn::WavSampleFormat format{};
    if (!vrn::ParseWavSampleFormat(argv[3], format))
        return 2;
    vrn::WavAudio audio;
    audio.sampleRate = static_cast<std::uint32_t>(std::strtoul(argv[4], nullptr, 10));
    const auto channels = static_cast<std::size_t>(std::strtoul(argv[5], nullptr, 10));
    const auto frames = static_cast<std::size_t>(std::strtoul(argv[6], nullptr, 10));
    constexpr double kTwoPi = 6.283185307179586;
    audio.channels.assign(channels, std::vector<double>(frames));
    for (std::size_t c = 0; c < channels; ++c)
    {
        for (std::size_t i = 0; i < frames; ++i)
        {
            audio.channels[c][i] = 0.5 / static_cast<double>(c + 1) *
                                   std::sin(kTwoPi * 441.0 * static_cast<double>(i) / 44100.0);
        }
    }
    const vrn::WavStatus status = vrn::WriteWav(argv[2], audio, format);
    if (!status.ok)
        std::fprintf(stderr, "wav_probe: %s\n", status.message.c_str());
    return status.ok ? 0 : 1;
}

bool Load(const char* path, vrn::WavAudio& audio)
{
    const vrn::WavStatus status = vrn::ReadWav(path, audio);
    if (!status.ok)
        std::fprintf(stderr, "wav_probe: %s\n", status.message.c_str());
    return status.ok;
}

int Stats(char** argv)
{
    vrn::WavAudio audio;
    if (!Load(argv[2], audio))
        return 1;
    std::printf("channels: %zu\nrate: %u\nframes: %zu\n", audio.channels.size(),
                static_cast<unsigned>(audio.sampleRate), audio.Frames());
    for (std::size_t c = 0; c < audio.channels.size(); ++c)
    {
        double peak = 0.0;
        for (const double sample : audio.channels[c])
            peak = std::fmax(peak, std::fabs(sample));
        std::printf("peak %zu: %.4f\n", c, peak);
    }
    return 0;
}

int Expect(char** argv)
{
    vrn::WavAudio out;
    vrn::WavAudio in;
    if (!Load(argv[2], out) || !Load(argv[3], in))
        return 1;
    const double gain = std::strtod(argv[4], nullptr);
    const double tolerance = std::strtod(argv[5], nullptr);
    if (out.Frames() != in.Frames() || in.channels.empty())
    {
        std::printf("mismatch: %zu frames rendered from %zu\n", out.Frames(), in.Frames());
        return 1;
    }
    for (std::size_t c = 0; c < out.channels.size(); ++c)
    {
        const std::vector<double>& source = in.channels[in.channels.size() == 1 ? 0 : c];
        for (std::size_t i = 0; i < out.Frames(); ++i)
        {
            const double expected = gain * source[i];
            if (!(std::fabs(out.channels[c][i] - expected) <= tolerance))
            {
                std::printf("mismatch: channel %zu frame %zu: %.9g, expected %.9g\n", c, i,
                            out.channels[c][i], expected);
                return 1;
            }
        }
    }
    std::printf("match\n");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try
    {
        const std::string mode = argc > 1 ? argv[1] : "";
        if (mode == "tone" && argc == 7)
            return Tone(argv);
        if (mode == "stats" && argc == 3)
            return Stats(argv);
        if (mode == "expect" && argc == 6)
            return Expect(argv);
        std::fprintf(stderr, "usage: wav_probe tone|stats|expect ...\n");
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "wav_probe: %s\n", e.what());
    }
    return 2;
}
