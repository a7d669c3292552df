// Times the forward FFT and MDCT built-ins next to FFTW peers: ns per transform and the ratio.
#include "runtime/memory.h"
#include "runtime/transforms.h"

#include <fftw3.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace
{

constexpr int kRounds = 9;
constexpr double kTargetSeconds = 0.05; // per round
// Repeated forward transforms grow the data by up to n per call; restarting from the input every
// few calls keeps it finite (the copy is the same for both sides and amortised over the batch).
constexpr int kBatch = 32;

// Median over kRounds of the time per call of `transform`, restoring the input with `reset` before
// every batch.
template <typename Reset, typename Transform>
double NanosecondsPerCall(Reset reset, Transform transform)
{
    using Clock = std::chrono::steady_clock;
    // Calibrate the batch count of one round.
    long batches = 1;
    for (;;)
    {
        const Clock::time_point start = Clock::now();
        for (long b = 0; b < batches; ++b)
        {
            reset();
            for (int i = 0; i < kBatch; ++i)
                transform();
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (seconds > kTargetSeconds / 4)
        {
            batches = std::max(
                1L, static_cast<long>(static_cast<double>(batches) * kTargetSeconds / seconds));
            break;
        }
        batches *= 2;
    }
    std::vector<double> rounds;
    for (int round = 0; round < kRounds; ++round)
    {
        const Clock::time_point start = Clock::now();
        for (long b = 0; b < batches; ++b)
        {
            reset();
            for (int i = 0; i < kBatch; ++i)
                transform();
        }
        const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
        rounds.push_back(ns / static_cast<double>(batches * kBatch));
    }
    std::sort(rounds.begin(), rounds.end());
    return rounds[rounds.size() / 2];
}

std::vector<double> TestSignal(std::size_t cells)
{
    std::vector<double> x(cells);
    for (std::size_t j = 0; j < cells; ++j)
        x[j] = std::sin(0.013 * static_cast<double>(j * j % 1009)) * 0.5;
    return x;
}

void Row(const char* transform, int size, double ours, double peer)
{
    std::printf("%-5s %6d %12.0f %12.0f %8.2f\n", transform, size, ours, peer, ours / peer);
}

void BenchFft(int n)
{
    const std::size_t cells = 2 * static_cast<std::size_t>(n);
    const std::vector<double> input = TestSignal(cells);

    vrn::CXaltoMemory memory;
    double* block = memory.Block(0);
    const double ours = NanosecondsPerCall([&] { std::copy(input.begin(), input.end(), block); },
                                           [&] { vrn::FftBuiltin(memory, 0.0, n, 0.0); });

    fftw_complex* buffer = fftw_alloc_complex(static_cast<std::size_t>(n));
    fftw_plan plan = fftw_plan_dft_1d(n, buffer, buffer, FFTW_FORWARD, FFTW_MEASURE);
    double* raw = reinterpret_cast<double*>(buffer);
    const double peer = NanosecondsPerCall([&] { std::copy(input.begin(), input.end(), raw); },
                                           [&] { fftw_execute(plan); });
    fftw_destroy_plan(plan);
    fftw_free(buffer);
    Row("fft", n, ours, peer);
}

void BenchMdct(int n)
{
    const std::size_t cells = static_cast<std::size_t>(n);
    const std::vector<double> input = TestSignal(cells);

    vrn::CXaltoMemory memory;
    double* block = memory.Block(0);
    const double ours = NanosecondsPerCall([&] { std::copy(input.begin(), input.end(), block); },
                                           [&] { vrn::MdctBuiltin(memory, 0.0, n, 0.0); });

    // Peer: FFTW's DCT-IV of n/2 points, the core an MDCT of n samples reduces to (FFTW has no
    // MDCT); windowing and folding are not part of it.
    double* buffer = fftw_alloc_real(cells / 2);
    fftw_plan plan = fftw_plan_r2r_1d(n / 2, buffer, buffer, FFTW_REDFT11, FFTW_MEASURE);
    const double peer =
        NanosecondsPerCall([&] { std::copy(input.begin(), input.begin() + n / 2, buffer); },
                           [&] { fftw_execute(plan); });
    fftw_destroy_plan(plan);
    fftw_free(buffer);
    Row("mdct", n, ours, peer);
}

} // namespace

int main()
{
    vrn::PrepareTransformTables();
    std::printf("FFT: complex forward, N points, vs fftw_plan_dft_1d FFTW_FORWARD (in place).\n");
    std::printf("MDCT: forward, n samples -> n/2, vs fftw_plan_r2r_1d FFTW_REDFT11 of n/2.\n");
    std::printf("Plans FFTW_MEASURE; median of %d rounds; ns per transform.\n\n", kRounds);
    std::printf("%-5s %6s %12s %12s %8s\n", "", "size", "ours ns", "fftw ns", "ratio");
    for (int n : {256, 1024, 4096})
        BenchFft(n);
    for (int n : {256, 1024, 4096})
        BenchMdct(n);
    return 0;
}
