// MDCT built-in against the direct definitions, plus the overlap-add reconstruction property.
#include "runtime/mdct.h"
#include "runtime/memory.h"
#include "runtime/transforms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace vrn
{
namespace
{

using Samples = std::vector<double>;

constexpr long double kPi = 3.141592653589793238462643383279502884L;
// Largest error relative to the peak magnitude of the expected output; measured below 2e-15.
constexpr double kRelativeTolerance = 1e-13;

std::vector<int> AllSizes()
{
    std::vector<int> sizes;
    for (int n = 32; n <= 4096; n *= 2)
        sizes.push_back(n);
    return sizes;
}

double SineWindow(int n, int j)
{
    return std::sin(static_cast<double>(kPi) * (j + 0.5) / n);
}

// cos((π/(2n))·r) for r = 0 … 4n − 1 in long double; the kernel's r = (2j + 1 + n/2)·(2k + 1) is
// taken modulo 4n (one period) in integers, where it is exact.
class CKernel
{
public:
    explicit CKernel(int size) : n(size), cosines(static_cast<std::size_t>(4 * size))
    {
        for (std::size_t r = 0; r < cosines.size(); ++r)
            cosines[r] = std::cos(kPi * static_cast<long double>(r) / (2 * n));
    }

    long double operator()(int j, int k) const
    {
        const long long r = static_cast<long long>(2 * j + 1 + n / 2) * (2 * k + 1) % (4LL * n);
        return cosines[static_cast<std::size_t>(r)];
    }

private:
    int n;
    std::vector<long double> cosines;
};

Samples ReferenceForward(const Samples& x)
{
    const int n = static_cast<int>(x.size());
    const CKernel kernel(n);
    Samples out(x.size() / 2);
    for (int k = 0; k < n / 2; ++k)
    {
        long double sum = 0.0L;
        for (int j = 0; j < n; ++j)
            sum += x[static_cast<std::size_t>(j)] * SineWindow(n, j) * kernel(j, k);
        out[static_cast<std::size_t>(k)] = static_cast<double>(sum);
    }
    return out;
}

Samples ReferenceInverse(const Samples& coefficients)
{
    const int n = 2 * static_cast<int>(coefficients.size());
    const CKernel kernel(n);
    Samples out(static_cast<std::size_t>(n));
    for (int j = 0; j < n; ++j)
    {
        long double sum = 0.0L;
        for (int k = 0; k < n / 2; ++k)
            sum += coefficients[static_cast<std::size_t>(k)] * kernel(j, k);
        out[static_cast<std::size_t>(j)] = static_cast<double>(4.0L / n * sum) * SineWindow(n, j);
    }
    return out;
}

Samples RandomSamples(std::size_t n, unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    Samples x(n);
    for (double& value : x)
        value = uniform(generator);
    return x;
}

void Store(CXaltoMemory& memory, std::int32_t start, const Samples& x)
{
    for (std::size_t j = 0; j < x.size(); ++j)
        memory.Cell(start + static_cast<std::int32_t>(j)) = x[j];
}

Samples Load(CXaltoMemory& memory, std::int32_t start, std::size_t n)
{
    Samples x(n);
    for (std::size_t j = 0; j < n; ++j)
        x[j] = memory.Cell(start + static_cast<std::int32_t>(j));
    return x;
}

double RelativeError(const Samples& actual, const Samples& expected)
{
    double peak = 0.0;
    double error = 0.0;
    for (std::size_t j = 0; j < expected.size(); ++j)
    {
        peak = std::max(peak, std::abs(expected[j]));
        error = std::max(error, std::abs(actual[j] - expected[j]));
    }
    return error / peak;
}

Samples Head(const Samples& x, std::size_t n)
{
    return Samples(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(n));
}

TEST(Mdct, ForwardAndInverseMatchTheDefinitionsAtEverySize)
{
    for (int n : AllSizes())
    {
        const std::size_t size = static_cast<std::size_t>(n);
        const Samples x = RandomSamples(size, static_cast<unsigned>(n));
        CXaltoMemory memory;
        Store(memory, 0, x);
        MdctBuiltin(memory, 0.0, n, 0.0);
        const Samples out = Load(memory, 0, size);
        EXPECT_LT(RelativeError(Head(out, size / 2), ReferenceForward(x)), kRelativeTolerance) << n;
        // The forward transform writes n/2 coefficients; the upper half keeps its input.
        EXPECT_EQ(Samples(out.begin() + n / 2, out.end()), Samples(x.begin() + n / 2, x.end()))
            << n;

        Store(memory, 0, x);
        MdctBuiltin(memory, 0.0, n, 1.0); // reads the first n/2 cells as coefficients
        EXPECT_LT(RelativeError(Load(memory, 0, size), ReferenceInverse(Head(x, size / 2))),
                  kRelativeTolerance)
            << n;
    }
}

TEST(Mdct, DirectPathAboveSmallestSizeMatchesDefinition)
{
    // The path taken when the fast tables cannot be allocated.
    for (int n : {64, 512})
    {
        const TMdctLookup lookup = BuildMdctLookup(n, false);
        ASSERT_FALSE(lookup.HasFastPath());
        const std::size_t size = static_cast<std::size_t>(n);
        Samples work(MdctWorkSize(lookup));
        const Samples x = RandomSamples(size, 3u);
        Samples cells = x;
        MdctForward(lookup, cells.data(), work.data());
        EXPECT_LT(RelativeError(Head(cells, size / 2), ReferenceForward(x)), kRelativeTolerance);
        const Samples coefficients = Head(cells, size / 2);
        MdctInverse(lookup, cells.data(), work.data());
        EXPECT_LT(RelativeError(cells, ReferenceInverse(coefficients)), kRelativeTolerance);
    }
}

TEST(Mdct, OverlapAddOfInverseFramesRestoresTheSignal)
{
    // Sine window and the 4/n factor: time-domain aliasing cancels between half-overlapping
    // frames and the interior comes back at unity gain.
    constexpr std::size_t kFrames = 5;
    for (int n : AllSizes())
    {
        const std::size_t size = static_cast<std::size_t>(n);
        const std::size_t hop = size / 2;
        const Samples signal = RandomSamples(hop * (kFrames + 1), 8u);
        Samples sum(signal.size(), 0.0);
        CXaltoMemory memory;
        for (std::size_t frame = 0; frame < kFrames; ++frame)
        {
            Store(memory, 0, Samples(&signal[frame * hop], &signal[frame * hop] + size));
            MdctBuiltin(memory, 0.0, n, 0.0);
            MdctBuiltin(memory, 0.0, n, 1.0);
            const Samples y = Load(memory, 0, size);
            for (std::size_t j = 0; j < size; ++j)
                sum[frame * hop + j] += y[j];
        }
        double error = 0.0;
        for (std::size_t j = hop; j < hop * kFrames; ++j)
            error = std::max(error, std::abs(sum[j] - signal[j]));
        EXPECT_LT(error, 1e-12) << n;
    }
}

TEST(Mdct, SizeRoundsDownOutOfRangeDoesNothingAndEveryNonZeroModeIsInverse)
{
    const Samples x = RandomSamples(9000, 5u);
    CXaltoMemory memory;
    Store(memory, 0, x);
    for (double size : {31.0, 16.0, 0.0, -64.0, 8192.0, 9000.0})
        for (double mode : {0.0, 1.0})
            MdctBuiltin(memory, 0.0, size, mode);
    EXPECT_EQ(Load(memory, 0, x.size()), x);

    MdctBuiltin(memory, 0.0, 33.0, 0.0); // works as 32
    const Samples out = Load(memory, 0, 40);
    EXPECT_LT(RelativeError(Head(out, 16), ReferenceForward(Head(x, 32))), kRelativeTolerance);
    EXPECT_EQ(Samples(out.begin() + 16, out.end()), Samples(x.begin() + 16, x.begin() + 40));

    for (double mode : {1.0, 2.0, 7.0, -1.0})
    {
        Store(memory, 0, x);
        MdctBuiltin(memory, 0.0, 5000.0, mode); // works as 4096, inverse
        EXPECT_LT(RelativeError(Load(memory, 0, 4096), ReferenceInverse(Head(x, 2048))),
                  kRelativeTolerance)
            << mode;
        EXPECT_EQ(Load(memory, 4096, 100), Samples(x.begin() + 4096, x.begin() + 4196)) << mode;
    }
}

TEST(Mdct, RangeAcrossBlockBoundaryMatchesRangeInsideBlock)
{
    for (int n : {32, 64, 4096})
    {
        const Samples x = RandomSamples(static_cast<std::size_t>(n), 7u);
        const std::int32_t crossing = CXaltoMemory::kBlockCells - 20;
        const std::int32_t inside = 3 * CXaltoMemory::kBlockCells;
        for (double mode : {0.0, 1.0})
        {
            CXaltoMemory memory;
            Store(memory, crossing, x);
            Store(memory, inside, x);
            MdctBuiltin(memory, crossing, n, mode);
            MdctBuiltin(memory, inside, n, mode);
            EXPECT_EQ(Load(memory, crossing, x.size()), Load(memory, inside, x.size()))
                << n << " mode " << mode;
        }
    }
}

} // namespace
} // namespace vrn
