// FFT, permutation and complex multiply built-ins against plain reference calculations.
#include "runtime/memory.h"
#include "runtime/transform_tables.h"
#include "runtime/transforms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <thread>
#include <vector>

namespace vrn
{
namespace
{

using Complex = std::complex<double>;
using Signal = std::vector<Complex>;

constexpr double kTwoPi = 6.283185307179586476925286766559;
// Largest error relative to the peak magnitude of the expected result. Measured: below 2e-15 at
// every size, so an inaccurate twiddle (e.g. one stepped by recurrence) would show.
constexpr double kRelativeTolerance = 1e-13;

// The transform-order rule, written out independently of the runtime.
int OrderRule(int i, int n)
{
    if (n <= 2)
        return i;
    const int m = n / 2;
    if (i < m)
        return 2 * OrderRule(i, m);
    const int rest = i - m;
    const int q = m / 2;
    if (rest < q)
        return 4 * OrderRule(rest, q) + 1;
    return (4 * OrderRule(rest - q, q) - 1) & (n - 1);
}

// Natural-order transform Σ x[n]·e^(sign·2πi·nk/N): direct sum up to 1024 points, plain
// recursive radix-2 above (a direct sum at 32768 points would take ~1e9 operations).
Signal ReferenceDft(const Signal& x, int sign)
{
    const std::size_t n = x.size();
    if (n == 1)
        return x;
    Signal out(n);
    if (n <= 1024)
    {
        Signal roots(n);
        for (std::size_t j = 0; j < n; ++j)
            roots[j] =
                std::polar(1.0, sign * kTwoPi * static_cast<double>(j) / static_cast<double>(n));
        for (std::size_t k = 0; k < n; ++k)
        {
            Complex sum = 0.0;
            for (std::size_t j = 0; j < n; ++j)
                sum += x[j] * roots[(j * k) % n];
            out[k] = sum;
        }
        return out;
    }
    Signal even(n / 2);
    Signal odd(n / 2);
    for (std::size_t j = 0; j < n / 2; ++j)
    {
        even[j] = x[2 * j];
        odd[j] = x[2 * j + 1];
    }
    even = ReferenceDft(even, sign);
    odd = ReferenceDft(odd, sign);
    for (std::size_t k = 0; k < n / 2; ++k)
    {
        const Complex t =
            std::polar(1.0, sign * kTwoPi * static_cast<double>(k) / static_cast<double>(n)) *
            odd[k];
        out[k] = even[k] + t;
        out[k + n / 2] = even[k] - t;
    }
    return out;
}

// Natural order → transform order: position i holds X[(N − f(i, N)) mod N].
Signal ToTransformOrder(const Signal& natural)
{
    const int n = static_cast<int>(natural.size());
    Signal out(natural.size());
    for (int i = 0; i < n; ++i)
        out[static_cast<std::size_t>(i)] =
            natural[static_cast<std::size_t>((n - OrderRule(i, n)) % n)];
    return out;
}

Signal RandomSignal(std::size_t n, unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    Signal x(n);
    for (Complex& value : x)
        value = Complex(uniform(generator), uniform(generator));
    return x;
}

void Store(CXaltoMemory& memory, std::int32_t start, const Signal& x)
{
    for (std::size_t k = 0; k < x.size(); ++k)
    {
        memory.Cell(start + static_cast<std::int32_t>(2 * k)) = x[k].real();
        memory.Cell(start + static_cast<std::int32_t>(2 * k + 1)) = x[k].imag();
    }
}

Signal Load(CXaltoMemory& memory, std::int32_t start, std::size_t n)
{
    Signal x(n);
    for (std::size_t k = 0; k < n; ++k)
        x[k] = Complex(memory.Cell(start + static_cast<std::int32_t>(2 * k)),
                       memory.Cell(start + static_cast<std::int32_t>(2 * k + 1)));
    return x;
}

// Largest deviation relative to the expected signal's peak.
double RelativeError(const Signal& actual, const Signal& expected)
{
    double peak = 0.0;
    double error = 0.0;
    for (std::size_t k = 0; k < expected.size(); ++k)
    {
        peak = std::max(peak, std::abs(expected[k]));
        error = std::max(error, std::abs(actual[k] - expected[k]));
    }
    return error / peak;
}

Signal RunBuiltin(const Signal& input, double mode)
{
    CXaltoMemory memory;
    Store(memory, 0, input);
    FftBuiltin(memory, 0.0, static_cast<double>(input.size()), mode);
    return Load(memory, 0, input.size());
}

// --- tables

TEST(TransformTables, PermutationsAndCycleLeadersFollowTheTransformOrder)
{
    const CTransformTables& tables = TransformTables();
    std::size_t entries = 0;
    for (int n = 2; n <= kFftMaxSize; n *= 2)
    {
        const std::uint16_t* t = tables.Permutation(n);
        EXPECT_EQ(t, tables.AllPermutations() + entries) << n; // one table, sizes in a row
        entries += static_cast<std::size_t>(n);
        EXPECT_EQ(t[0], 0) << n;
        for (int i = 1; i < n; ++i)
            ASSERT_EQ(t[n - OrderRule(i, n)], i) << n; // also makes t a permutation
        if (n < kFftMinSize)
            continue;
        // Following the cycles from the leaders reaches every moved entry exactly once.
        std::vector<int> visits(static_cast<std::size_t>(n), 0);
        for (const std::uint16_t* leader = tables.CycleLeaders(n); *leader != 0; ++leader)
        {
            int k = *leader;
            do
            {
                ++visits[static_cast<std::size_t>(k)];
                k = t[k];
            } while (k != *leader);
        }
        for (int k = 0; k < n; ++k)
            ASSERT_EQ(visits[static_cast<std::size_t>(k)], t[k] == k ? 0 : 1) << n << " " << k;
    }
    EXPECT_EQ(entries, 65534u);
}

// Every FFT and MDCT size once, outputs concatenated.
std::vector<double> TransformEverySize()
{
    std::vector<double> out;
    CXaltoMemory memory;
    for (int n = kFftMinSize; n <= kFftMaxSize; n *= 2)
    {
        Store(memory, 0, RandomSignal(static_cast<std::size_t>(n), 7u));
        FftBuiltin(memory, 0.0, n, 0.0);
        FftBuiltin(memory, 0.0, n, 4.0);
        for (int k = 0; k < 2 * n; ++k)
            out.push_back(memory.Cell(k));
        if (n <= 4096)
        {
            MdctBuiltin(memory, 0.0, n, 0.0);
            for (int k = 0; k < n; ++k)
                out.push_back(memory.Cell(k));
        }
    }
    return out;
}

TEST(TransformTablesDeathTest, FirstPreparationFromSeveralThreadsIsSafe)
{
    // A fresh process, so that the tables and MDCT lookups are really prepared by the racing
    // threads rather than by an earlier test.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto race = []
    {
        constexpr std::size_t kThreads = 8;
        std::atomic<std::size_t> waiting{kThreads};
        std::vector<std::vector<double>> results(kThreads);
        std::vector<std::thread> threads;
        for (std::size_t t = 0; t < kThreads; ++t)
            threads.emplace_back(
                [&, t]
                {
                    waiting.fetch_sub(1);
                    while (waiting.load() != 0)
                        std::this_thread::yield();
                    PrepareTransformTables();
                    results[t] = TransformEverySize();
                });
        for (std::thread& thread : threads)
            thread.join();
        const std::vector<double> expected = TransformEverySize();
        std::exit(std::all_of(results.begin(), results.end(),
                              [&](const std::vector<double>& r) { return r == expected; })
                      ? 0
                      : 1);
    };
    EXPECT_EXIT(race(), ::testing::ExitedWithCode(0), "");
}

// --- FFT built-in

TEST(Fft, ForwardAndInverseMatchTheReferenceInTransformOrder)
{
    for (int n = kFftMinSize; n <= kFftMaxSize; n *= 2)
    {
        const Signal x = RandomSignal(static_cast<std::size_t>(n), static_cast<unsigned>(n));
        EXPECT_LT(RelativeError(RunBuiltin(x, 0.0), ToTransformOrder(ReferenceDft(x, -1))),
                  kRelativeTolerance)
            << n;
        // Inverse: transform-order input, natural output, y[n] = Σ X[k]·e^(+2πi·nk/N).
        EXPECT_LT(RelativeError(RunBuiltin(ToTransformOrder(x), 1.0), ReferenceDft(x, +1)),
                  kRelativeTolerance)
            << n;
    }
}

TEST(Fft, PermutationsConvertOrdersAndTheRoundTripGivesSizeTimesInput)
{
    for (int n = kFftMinSize; n <= kFftMaxSize; n *= 2)
    {
        const Signal x = RandomSignal(static_cast<std::size_t>(n), 5u * static_cast<unsigned>(n));
        EXPECT_EQ(RunBuiltin(ToTransformOrder(x), 4.0), x) << n; // pure moves: exact
        EXPECT_EQ(RunBuiltin(x, 5.0), ToTransformOrder(x)) << n;

        CXaltoMemory memory;
        Store(memory, 100, x);
        for (double mode : {0.0, 4.0, 5.0, 1.0})
            FftBuiltin(memory, 100.0, n, mode);
        Signal expected = x;
        for (Complex& value : expected)
            value *= static_cast<double>(n);
        EXPECT_LT(RelativeError(Load(memory, 100, x.size()), expected), kRelativeTolerance) << n;
    }
}

TEST(Fft, ConstantInputGivesSizeTimesConstantAtPositionZeroOnly)
{
    for (int n = kFftMinSize; n <= kFftMaxSize; n *= 2)
    {
        const Signal out = RunBuiltin(Signal(static_cast<std::size_t>(n), Complex(0.75, -0.5)), 0);
        EXPECT_EQ(out[0], Complex(0.75 * n, -0.5 * n)) << n;
        for (std::size_t k = 1; k < out.size(); ++k)
            ASSERT_LT(std::abs(out[k]), 1e-12 * n) << n << " position " << k;
    }
}

TEST(Fft, SizeRoundsDownToAPowerOfTwoAndOutOfRangeDoesNothing)
{
    const Signal x = RandomSignal(70000, 4u);
    CXaltoMemory memory;
    Store(memory, 0, x);
    for (double size : {8.0, 15.0, 0.0, -16.0, 65536.0, 100000.0})
        for (double mode : {0.0, 1.0, 4.0, 5.0})
            FftBuiltin(memory, 0.0, size, mode);
    for (double mode : {2.0, 3.0, 6.0, -1.0})
        FftBuiltin(memory, 0.0, 1024.0, mode);
    EXPECT_EQ(Load(memory, 0, x.size()), x);

    FftBuiltin(memory, 0.0, 20.0, 0.0); // works as 16
    const Signal out = Load(memory, 0, 40);
    EXPECT_LT(RelativeError(Signal(out.begin(), out.begin() + 16),
                            ToTransformOrder(ReferenceDft(Signal(x.begin(), x.begin() + 16), -1))),
              kRelativeTolerance);
    EXPECT_EQ(Signal(out.begin() + 16, out.end()), Signal(x.begin() + 16, x.begin() + 40));

    const Signal head(x.begin(), x.begin() + 32768);
    Store(memory, 0, head);
    FftBuiltin(memory, 0.0, 40000.0, 0.0); // works as 32768
    EXPECT_EQ(Load(memory, 0, head.size()), RunBuiltin(head, 0.0));
}

TEST(Fft, RangeAcrossBlockBoundaryMatchesRangeInsideBlock)
{
    constexpr std::int32_t kCrossing = CXaltoMemory::kBlockCells - 20;
    constexpr std::int32_t kInside = 3 * CXaltoMemory::kBlockCells;
    for (int n : {16, 1024, 32768})
    {
        const Signal x = RandomSignal(static_cast<std::size_t>(n), 9u);
        for (double mode : {0.0, 1.0, 4.0, 5.0})
        {
            CXaltoMemory memory;
            Store(memory, kCrossing, x);
            Store(memory, kInside, x);
            FftBuiltin(memory, kCrossing, n, mode);
            FftBuiltin(memory, kInside, n, mode);
            EXPECT_EQ(Load(memory, kCrossing, x.size()), Load(memory, kInside, x.size()))
                << n << " mode " << mode;
        }
    }
}

// --- complex multiply built-ins

enum class Form
{
    Multiply,    // dest ×= a
    MultiplyTo,  // dest = a × b
    MultiplyAdd, // dest += a × b
};

void RunMultiply(CXaltoMemory& memory, Form form, double dest, double a, double b, double count)
{
    if (form == Form::Multiply)
        ComplexMultiplyBuiltin(memory, dest, a, count);
    else if (form == Form::MultiplyTo)
        ComplexMultiplyToBuiltin(memory, dest, a, b, count);
    else
        ComplexMultiplyAddBuiltin(memory, dest, a, b, count);
}

// The plain value-by-value loop the built-ins must agree with, overlapping ranges included.
void MultiplyByCells(CXaltoMemory& memory, Form form, std::int32_t dest, std::int32_t a,
                     std::int32_t b, std::int32_t values)
{
    for (std::int32_t k = 0; k < 2 * values; k += 2)
    {
        const Complex d(memory.Cell(dest + k), memory.Cell(dest + k + 1));
        const Complex x(memory.Cell(a + k), memory.Cell(a + k + 1));
        const Complex y(memory.Cell(b + k), memory.Cell(b + k + 1));
        const Complex r = form == Form::Multiply     ? d * x
                          : form == Form::MultiplyTo ? x * y
                                                     : d + x * y;
        memory.Cell(dest + k) = r.real();
        memory.Cell(dest + k + 1) = r.imag();
    }
}

constexpr Form kForms[] = {Form::Multiply, Form::MultiplyTo, Form::MultiplyAdd};

TEST(ComplexMultiply, OddCountRoundsDownToEven)
{
    for (Form form : kForms)
        for (double count : {3.0, 1.0, 0.0, -3.0})
        {
            const Signal d = RandomSignal(4, 31u);
            CXaltoMemory memory;
            Store(memory, 0, d);
            Store(memory, 100, RandomSignal(4, 32u));
            Store(memory, 200, RandomSignal(4, 33u));
            RunMultiply(memory, form, 0.0, 100.0, 200.0, count);
            const Signal out = Load(memory, 0, 4);
            for (std::size_t k = 0; k < 4; ++k)
                EXPECT_EQ(out[k] != d[k], count >= 2.0 && k < 2) << count << " value " << k;
        }
}

TEST(ComplexMultiply, MatchesThePlainLoopAcrossBlocksAndOverlaps)
{
    constexpr std::int32_t kBlock = CXaltoMemory::kBlockCells;
    struct Case
    {
        std::int32_t dest, a, b;
    };
    // All ranges the same (squaring); odd starts that split a value across a block boundary;
    // shifted ranges overlapping the destination; negative blocks.
    const Case cases[] = {{10, 10, 10},
                          {kBlock - 7, 2 * kBlock - 10, kBlock - 3},
                          {kBlock - 40, kBlock - 38, kBlock - 41},
                          {-9, 5 * kBlock - 1, -kBlock - 2}};
    for (const Case& c : cases)
        for (Form form : kForms)
        {
            CXaltoMemory memory;
            CXaltoMemory reference;
            for (const std::int32_t base : {c.dest, c.a, c.b})
            {
                const Signal x = RandomSignal(40, static_cast<unsigned>(base + 3 * kBlock));
                Store(memory, base, x);
                Store(reference, base, x);
            }
            RunMultiply(memory, form, c.dest, c.a, c.b, 33.0);
            MultiplyByCells(reference, form, c.dest, c.a, c.b, 32);
            for (const std::int32_t base : {c.dest, c.a, c.b})
                EXPECT_EQ(Load(memory, base, 40), Load(reference, base, 40))
                    << "dest " << c.dest << " form " << static_cast<int>(form);
        }
}

} // namespace
} // namespace vrn
