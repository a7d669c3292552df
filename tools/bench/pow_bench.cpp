// Micro-benchmark of GatePow against std::pow over gate-like levels at one ratio.
//
//   pow_bench [ratio]                 time per call of both
//   pow_bench gate|std|none [ratio]   one of them only (none: the bare loop), for an instruction
//                                     counter: (Ir(gate) − Ir(none)) / calls
#include "effect/gate_pow.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{

constexpr int kLevels = 4096;
constexpr int kRounds = 250;

// Levels spread over [2^-20, 1) with a fixed bit pattern generator (no libm involved).
std::vector<double> MakeLevels()
{
    std::vector<double> levels;
    std::uint64_t state = 1;
    for (int i = 0; i < kLevels; ++i)
    {
        state = state * 6364136223846793005 + 1442695040888963407;
        const std::uint64_t bits = ((1022 - (state >> 59) % 20) << 52) | (state >> 12);
        double level;
        std::memcpy(&level, &bits, sizeof level);
        levels.push_back(level);
    }
    return levels;
}

template <typename Pow>
double Run(const std::vector<double>& levels, double ratio, Pow pow)
{
    double sum = 0.0;
    for (int round = 0; round < kRounds; ++round)
        for (const double level : levels)
            sum += pow(level, ratio);
    return sum;
}

// Function objects, so that each loop gets its own copy with the call inlined (as in the gate).
const auto kGate = [](double level, double ratio) { return vrn::gate::GatePow(level, ratio); };
const auto kStd = [](double level, double ratio) { return std::pow(level, ratio); };
const auto kNone = [](double level, double ratio) { return level * ratio; };

template <typename Pow>
void Time(const char* name, const std::vector<double>& levels, double ratio, Pow pow)
{
    const auto start = std::chrono::steady_clock::now();
    const double sum = Run(levels, ratio, pow);
    const std::chrono::duration<double, std::nano> elapsed =
        std::chrono::steady_clock::now() - start;
    std::printf("%-10s %7.2f ns per call (sum %.17g)\n", name,
                elapsed.count() / (static_cast<double>(kLevels) * kRounds), sum);
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<double> levels = MakeLevels();
    const bool single =
        argc > 1 && (std::strcmp(argv[1], "gate") == 0 || std::strcmp(argv[1], "std") == 0 ||
                     std::strcmp(argv[1], "none") == 0);
    const int ratioArg = single ? 2 : 1;
    const double ratio = argc > ratioArg ? std::atof(argv[ratioArg]) : 2.0;
    if (!single)
    {
        Time("GatePow", levels, ratio, kGate);
        Time("std::pow", levels, ratio, kStd);
        return 0;
    }
    double sum = 0.0;
    if (argv[1][0] == 'g')
        sum = Run(levels, ratio, kGate);
    else if (argv[1][0] == 's')
        sum = Run(levels, ratio, kStd);
    else
        sum = Run(levels, ratio, kNone);
    std::printf("%s: %d calls, sum %.17g\n", argv[1], kLevels * kRounds, sum);
    return 0;
}
