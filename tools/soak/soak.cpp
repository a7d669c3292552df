// Soak run: renders MINUTES of 48 kHz stereo through a plug-in with a parameter change every
// block and a chunk round trip every second, then checks that resident memory stayed flat, no
// output sample was NaN or infinite, and the last minute cost no more than the first.
#include "tools/command_line.h"
#include "tools/hosting/host_session.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace vrn
{
namespace
{

constexpr int32 kBlock = 512;
constexpr double kSampleRate = 48000.0;

/// Resident memory of this process in KiB (0 where the system does not tell).
long ResidentKiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * 4;
}

/// A second of material: bursts, a quiet tail, and a stretch of exact digital silence that
/// would leave denormal numbers in the states of an unprotected gate.
void FillSecond(std::vector<float>& left, std::vector<float>& right, std::uint32_t& seed,
                long second)
{
    for (std::size_t j = 0; j < left.size(); ++j)
    {
        seed = seed * 1664525u + 1013904223u;
        const float noise = static_cast<float>(seed >> 8) / 8388608.0f - 1.0f;
        const std::size_t phase = j % 24000;
        float level = phase < 4800 ? 0.7f : 0.0003f;
        if (second % 4 == 3 && j >= 12000)
            level = 0.0f;
        left[j] = level * noise;
        right[j] = level * (0.5f * noise + 0.5f * std::sin(0.02f * static_cast<float>(j)));
    }
}

int Soak(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: soak PLUGIN MINUTES\n");
        return 1;
    }
    const long minutes = std::max(2L, std::atol(argv[2]));
    HostSettings settings;
    settings.sampleRate = kSampleRate;
    settings.maxBlockSize = kBlock;
    settings.product = "soak";
    HostSession session(settings);
    std::string error;
    switch (session.Open(argv[1], error))
    {
    case OpenResult::Ok:
        break;
    case OpenResult::LoadFailed:
        PrintError(error);
        return 2;
    case OpenResult::NoEntry:
    case OpenResult::NoEffect:
    case OpenResult::BadMagic:
        PrintError("no effect");
        return 3;
    }

    std::vector<float> inL(48000), inR(48000);
    std::uint32_t seed = 1, parameterSeed = 99;
    long nonFinite = 0;
    long rssAfterWarmUp = 0, rssPeak = 0;
    double firstMinuteNs = 0.0, lastMinuteNs = 0.0;
    const long seconds = minutes * 60;
    std::vector<unsigned char> chunk;

    for (long second = 0; second < seconds; ++second)
    {
        FillSecond(inL, inR, seed, second);
        double secondNs = 0.0;
        for (std::size_t start = 0; start + kBlock <= inL.size(); start += kBlock)
        {
            // A parameter change every block, kept within audible settings.
            parameterSeed = parameterSeed * 1664525u + 1013904223u;
            const auto index = static_cast<int32>((parameterSeed >> 24) % 10);
            session.SetParameter(index, static_cast<float>(parameterSeed & 0xFFFF) / 65535.0f);

            if (!session.PrepareBlock(kBlock, error) || session.NumOutputs() < 2 ||
                session.NumInputs() < 2)
            {
                PrintError("cannot process: " + (error.empty() ? "not stereo" : error));
                return 3;
            }
            BlockBuffers<float>& buffers = session.FloatBuffers();
            std::copy_n(inL.data() + start, kBlock, buffers.Input(0));
            std::copy_n(inR.data() + start, kBlock, buffers.Input(1));
            const auto t0 = std::chrono::steady_clock::now();
            session.ProcessBlock(kBlock);
            secondNs += static_cast<double>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                                std::chrono::steady_clock::now() - t0)
                                                .count());
            for (std::size_t j = 0; j < static_cast<std::size_t>(kBlock); ++j)
                if (!std::isfinite(buffers.Output(0)[j]) || !std::isfinite(buffers.Output(1)[j]))
                    ++nonFinite;
        }
        // A chunk round trip every second, as a host saving its project would.
        if (session.GetChunk(chunk, error))
            session.SetChunk(chunk);

        if (second < 60)
            firstMinuteNs += secondNs;
        if (second >= seconds - 60)
            lastMinuteNs += secondNs;
        if (second == 10)
            rssAfterWarmUp = ResidentKiB();
        rssPeak = std::max(rssPeak, ResidentKiB());
    }
    session.Close();

    const double blocksPerMinute = 60.0 * kSampleRate / kBlock;
    const double firstBlockNs = firstMinuteNs / blocksPerMinute;
    const double lastBlockNs = lastMinuteNs / blocksPerMinute;
    std::printf("soak: %ld minutes of audio, %ld blocks, %ld chunk round trips\n", minutes,
                static_cast<long>(blocksPerMinute) * minutes, seconds);
    std::printf("  resident memory: %ld KiB after warm-up, %ld KiB peak\n", rssAfterWarmUp,
                rssPeak);
    std::printf("  time per block:  %.0f ns in the first minute, %.0f ns in the last\n",
                firstBlockNs, lastBlockNs);
    std::printf("  non-finite output samples: %ld\n", nonFinite);

    const bool memoryFlat = rssPeak <= rssAfterWarmUp + 1024;
    const bool timeFlat = lastBlockNs <= 1.2 * firstBlockNs;
    if (!memoryFlat)
        std::printf("soak: FAILED: resident memory grew\n");
    if (!timeFlat)
        std::printf("soak: FAILED: the last minute was more than 20 %% slower than the first\n");
    if (nonFinite != 0)
        std::printf("soak: FAILED: non-finite output\n");
    return memoryFlat && timeFlat && nonFinite == 0 ? 0 : 1;
}

} // namespace
} // namespace vrn

int main(int argc, char** argv)
{
    return vrn::RunMain("soak", argc, argv, vrn::Soak);
}
