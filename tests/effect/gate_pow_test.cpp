// GatePow against a long double reference, its exact cases, std::pow fallbacks and a checksum of
// its bits that every build must reproduce; GatePow2 against GatePow, bit for bit.
#include "effect/gate_pow.h"
#include "runtime/denormal_guard.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace vrn::gate
{
namespace
{

// Reference in long double (64-bit mantissa with GCC on x86, Linux and mingw alike). mingw's powl
// is off by up to 0.45 ulp of a double for large exponents, so the reference is built instead from
// level = 2^k·m: y·k is exact, its integer part is split off, and log2l/exp2l only see small
// arguments (measured against 50-digit decimals: 0.02 ulp at worst on both). Without a 64-bit long
// double, std::pow is the reference and gets one more ulp.
constexpr bool kPreciseReference = std::numeric_limits<long double>::digits >= 64;
constexpr double kAllowedUlps = kPreciseReference ? 1.0 : 2.0;
// The design's error: measured 0.531 ulp at worst over 10^7 random ratios (near ±64), 0.505 over
// the slider's ratios. A larger maximum means a wrong table entry or coefficient even while every
// result is still within 1 ulp.
constexpr double kDesignUlps = kPreciseReference ? 0.6 : 2.0;

long double Reference(double level, double ratio)
{
    if (!kPreciseReference)
        return std::pow(level, ratio);
    int k = 0;
    const long double m = std::frexp(static_cast<long double>(level), &k);
    const long double ratioK = static_cast<long double>(ratio) * k;
    const long double whole = std::nearbyint(ratioK);
    return std::ldexp(std::exp2((ratioK - whole) + ratio * std::log2(m)), static_cast<int>(whole));
}

std::uint64_t Bits(double v)
{
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

double FromBits(std::uint64_t b)
{
    double v;
    std::memcpy(&v, &b, sizeof v);
    return v;
}

// splitmix64: the same inputs on every platform, with no libm involved.
struct Inputs
{
    std::uint64_t state;
    std::uint64_t Next()
    {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EB;
        return z ^ (z >> 31);
    }
    /// Level in [2^-maxExponent, 1): uniform binade, uniform mantissa.
    double Level(std::uint64_t maxExponent)
    {
        const std::uint64_t r = Next();
        return FromBits(((1022 - (r >> 52) % maxExponent) << 52) | (r & 0xFFFFFFFFFFFFF));
    }
    double Uniform(double lo, double hi)
    {
        return lo + static_cast<double>(Next() >> 11) * 0x1p-53 * (hi - lo);
    }
};

// The 96 ratios the slider offers, quantized the way the plug-in does.
std::vector<double> SliderRatios()
{
    std::vector<double> ratios;
    for (int step = 0; step < 96; ++step)
        ratios.push_back(0.1 * std::floor((0.5 + 0.1 * step + 0.05) / 0.1));
    return ratios;
}

// Levels the table layout makes interesting: around 1, slice edges, the smallest normals.
std::vector<double> EdgeLevels()
{
    std::vector<double> levels = {0.5,
                                  1 - 0x1p-53,
                                  1 - 0x1p-52,
                                  1 - 0x1p-10,
                                  0x1p-1022,
                                  0x1.0000000000001p-1022,
                                  0x1.fffffffffffffp-1022,
                                  0x1p-60};
    for (std::uint64_t slice = 0; slice < 256; ++slice)
    {
        const std::uint64_t edge = detail::kLogOffset + (slice << 44);
        for (const double scale : {1.0, 0.5, 0x1p-40})
            for (const double level : {FromBits(edge) * scale, FromBits(edge - 1) * scale})
                if (level < 1.0)
                    levels.push_back(level);
    }
    return levels;
}

// Worst error over normal results; subnormal results only need to be within 2^-1074.
struct Accuracy
{
    double worst = 0.0;
    double worstLevel = 0.0;
    double worstRatio = 0.0;
    int failures = 0;

    // Error of GatePow in ulps of the reference (2^-1074 below the normal range).
    void Check(double level, double ratio)
    {
        const double got = GatePow(level, ratio);
        const long double want = Reference(level, ratio);
        int exponent = 0;
        std::frexp(want, &exponent);
        const long double ulp = std::ldexp(1.0L, exponent - 53 < -1074 ? -1074 : exponent - 53);
        double error = std::isinf(static_cast<double>(want))
                           ? (std::isinf(got) ? 0.0 : 1e9)
                           : static_cast<double>(std::fabs(got - want) / ulp);
        if (want < 0x1p-1075L && got != 0.0) // must round to 0
            error = 1e9;
        if (error > worst && want >= 0x1p-1022L)
        {
            worst = error;
            worstLevel = level;
            worstRatio = ratio;
        }
        if (error > kAllowedUlps && ++failures <= 5)
            ADD_FAILURE() << std::hexfloat << "GatePow(" << level << ", " << ratio << ") = " << got
                          << ", reference " << static_cast<double>(want) << ": "
                          << std::defaultfloat << error << " ulp";
    }

    void ExpectWithinDesign() const
    {
        EXPECT_EQ(failures, 0);
        EXPECT_LT(worst, kDesignUlps) << std::hexfloat << "at " << worstLevel << ", " << worstRatio;
    }
};

TEST(FastMath, SliderRatiosStayWithinOneUlpOverTwentyThousandLevelsEach)
{
    Inputs inputs{1};
    const std::vector<double> edges = EdgeLevels();
    Accuracy accuracy;
    for (const double ratio : SliderRatios())
    {
        for (int i = 0; i < 20000; ++i)
            accuracy.Check(inputs.Level(60), ratio);
        for (const double level : edges)
            accuracy.Check(level, ratio);
    }
    accuracy.ExpectWithinDesign();
}

TEST(FastMath, RandomRatiosStayWithinOneUlpDownToUnderflowAndOverflow)
{
    Inputs inputs{2};
    Accuracy accuracy;
    for (int i = 0; i < 200000; ++i)
    {
        const double ratio = inputs.Uniform(-64.0, 64.0);
        // Mostly levels whose power is near the double range, some anywhere in it.
        const double reach = i % 4 == 0 ? 1022.0 : 1100.0 / std::fabs(ratio) + 1.0;
        accuracy.Check(inputs.Level(static_cast<std::uint64_t>(std::fmin(reach, 1022.0))), ratio);
    }
    // Results at the top of the double range and around the smallest subnormal.
    for (const double below : {0x1p-16, 0x1p-12, 0x1p-8, 0x1p-4, 0.0})
        accuracy.Check(0x1p-16, below - 64.0);
    for (const double above : {1073.0, 1074.0, 1074.5, 1075.0, 1075.5, 1076.0})
        accuracy.Check(0x1p-17, above / 17.0);
    // Subnormal levels (denormals-are-zero off).
    for (int i = 0; i < 2000; ++i)
        accuracy.Check(FromBits(inputs.Next() >> 12), inputs.Uniform(-0.99, 1.01));
    accuracy.ExpectWithinDesign();
}

TEST(FastMath, ExactCasesAreExact)
{
    Inputs inputs{3};
    for (int i = 0; i < 20000; ++i)
    {
        const double level = i % 8 == 0 ? FromBits(inputs.Next() >> 12) : inputs.Level(1022);
        EXPECT_EQ(Bits(GatePow(level, 1.0)), Bits(level)) << std::hexfloat << level;
        EXPECT_EQ(GatePow(level, 0.0), 1.0);
        EXPECT_EQ(GatePow(level, -0.0), 1.0);
        const double ratio = inputs.Uniform(-64.0, 64.0);
        EXPECT_EQ(GatePow(1.0, ratio), 1.0);
        EXPECT_EQ(Bits(GatePow(0.0, std::fabs(ratio) + 0x1p-40)), Bits(0.0));
    }
    // Representable powers come out exact: 2^-j to an integer power, squares and roots.
    for (int j = 1; j <= 64; ++j)
        for (int n = 1; n <= 10 && j * n <= 1074; ++n)
            EXPECT_EQ(GatePow(std::ldexp(1.0, -j), n), std::ldexp(1.0, -j * n)) << j << " " << n;
    EXPECT_EQ(GatePow(0.75, 2.0), 0.5625);
    EXPECT_EQ(GatePow(0.25, 0.5), 0.5);
    EXPECT_EQ(GatePow(0.0625, 0.25), 0.5);
    EXPECT_EQ(GatePow(0.5, -3.0), 8.0);
    // The edges of the double range.
    EXPECT_EQ(GatePow(0x1p-16, -63.9375), 0x1p1023);
    EXPECT_EQ(GatePow(0x1p-16, -64.0), std::numeric_limits<double>::infinity());
    EXPECT_EQ(GatePow(0x1p-20, -51.5), std::numeric_limits<double>::infinity());
    EXPECT_EQ(GatePow(0x1p-537, 2.0), 0x1p-1074);
    EXPECT_EQ(GatePow(0x1p-1000, 1.5), 0.0);
}

TEST(FastMath, InputsOutsideTheFastDomainGiveStdPowBitForBit)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double badLevels[] = {-0.5, -0.0, 0.0, 1.5, 2.0, -1.0, inf, -inf, nan};
    const double badRatios[] = {64.5, -65.0, 1e300, inf, -inf, nan};
    const double goodLevels[] = {0.3, 0x1p-1000, 1 - 0x1p-53};
    const double goodRatios[] = {0.0, -0.0, 1.0, 3.0, -3.0, 0.5, -2.5, 2.0};
    const auto expectStdPow = [](double level, double ratio)
    {
        const double got = GatePow(level, ratio);
        const double want = std::pow(level, ratio);
        if (std::isnan(want))
            EXPECT_TRUE(std::isnan(got)) << level << " " << ratio;
        else
            EXPECT_EQ(Bits(got), Bits(want)) << level << " " << ratio;
    };
    for (const double level : badLevels)
    {
        for (const double ratio : goodRatios)
            expectStdPow(level, ratio);
        for (const double ratio : badRatios)
            expectStdPow(level, ratio);
    }
    for (const double level : goodLevels)
        for (const double ratio : badRatios)
            expectStdPow(level, ratio);
}

TEST(FastMath, FlushToZeroLeavesNormalResultsAloneAndSubnormalLevelsReadAsZero)
{
    Inputs inputs{4};
    std::vector<double> levels, ratios, plain;
    for (int i = 0; i < 40000; ++i)
    {
        const double level = inputs.Level(1022);
        const double ratio = inputs.Uniform(-64.0, 64.0);
        const double result = GatePow(level, ratio);
        if (result == 0.0 || result >= 0x1p-1022)
        {
            levels.push_back(level);
            ratios.push_back(ratio);
            plain.push_back(result);
        }
    }
    const DenormalGuard guard;
    for (std::size_t i = 0; i < levels.size(); ++i)
        EXPECT_EQ(Bits(GatePow(levels[i], ratios[i])), Bits(plain[i]));
    EXPECT_EQ(GatePow(0x1p-1030, 0.5), 0.0); // 2^-515 with denormals kept
}

// FNV-1a of the result bits over slider ratios, random ratios and subnormal, zero and infinite
// results. Computed natively; the 32- and 64-bit Windows builds must give the same.
TEST(FastMath, ChecksumOfResultsIsTheSameOnEveryBuild)
{
    Inputs inputs{5};
    std::uint64_t hash = 0xCBF29CE484222325;
    const auto add = [&hash](double level, double ratio)
    {
        const std::uint64_t bits = Bits(GatePow(level, ratio));
        for (int byte = 0; byte < 8; ++byte)
            hash = (hash ^ ((bits >> (8 * byte)) & 0xFF)) * 0x100000001B3;
    };
    for (const double ratio : SliderRatios())
        for (int i = 0; i < 500; ++i)
            add(inputs.Level(i % 2 ? 60 : 1022), ratio);
    for (int i = 0; i < 50000; ++i)
    {
        const double ratio = inputs.Uniform(-64.0, 64.0);
        add(inputs.Level(static_cast<std::uint64_t>(std::fmin(1100.0 / std::fabs(ratio), 1022.0)) +
                         1),
            ratio);
    }
    EXPECT_EQ(hash, 418514005810545027u);
}

// GatePow2 gives each lane GatePow's bits, whichever path each lane takes.
struct PairCheck
{
    int mismatches = 0;

    void Check(double levelA, double levelB, double ratio)
    {
        const GatePowPairResult got = GatePow2(levelA, levelB, ratio);
        const double wantA = GatePow(levelA, ratio);
        const double wantB = GatePow(levelB, ratio);
        if ((Bits(got.a) != Bits(wantA) || Bits(got.b) != Bits(wantB)) && ++mismatches <= 5)
            ADD_FAILURE() << std::hexfloat << "GatePow2(" << levelA << ", " << levelB << ", "
                          << ratio << ") = {" << got.a << ", " << got.b << "}, GatePow gives {"
                          << wantA << ", " << wantB << "}";
    }

    /// Both orders of the two levels.
    void CheckBoth(double level, double other, double ratio)
    {
        Check(level, other, ratio);
        Check(other, level, ratio);
    }
};

// Levels off the direct path ([2^-1022, 1)) and the direct path's ends.
std::vector<double> SpecialLevels()
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    return {0.0,
            -0.0,
            1.0,
            0x1p-1074,
            0x0.fffffffffffffp-1022,
            0x1p-1030,
            0x1p-1022,
            0x1.0000000000001p-1022,
            1 - 0x1p-53,
            1 + 0x1p-52,
            1.5,
            2.0,
            -0.5,
            -0x1p-1022,
            -1.0,
            -0x1p-1074,
            inf,
            -inf,
            nan,
            -nan};
}

TEST(GatePow2, BothLanesMatchGatePowOverSliderAndRandomRatios)
{
    Inputs inputs{6};
    PairCheck pairs;
    const std::vector<double> edges = EdgeLevels();
    for (const double ratio : SliderRatios())
    {
        for (int i = 0; i < 20000; ++i)
        {
            const double levelA = inputs.Level(60);
            pairs.Check(levelA, inputs.Level(60), ratio);
        }
        for (std::size_t i = 0; i < edges.size(); ++i)
            pairs.Check(edges[i], edges[edges.size() - 1 - i], ratio);
    }
    // Mostly powers near the ends of the double range, so that often one lane is inside the
    // directly built results [2^-960, 2^1024) and the other outside.
    for (int i = 0; i < 1000000; ++i)
    {
        const double ratio = inputs.Uniform(-64.0, 64.0);
        const auto reach = static_cast<std::uint64_t>(std::fmin(1100.0 / std::fabs(ratio), 1022.0));
        const double levelA = inputs.Level(reach + 1);
        pairs.Check(levelA, inputs.Level(i % 4 == 0 ? 1022 : reach + 1), ratio);
    }
    // Around the ends of that range: 2^-960 = (2^-15)^64, 2^1024 = (2^-16)^-64.
    for (const double ratio : {64.0, -64.0, 63.9375, -63.9375, 32.0, -32.0})
        for (const double level : {0x1p-15, 0x1p-16, 0x1p-30, 0x1p-32})
            for (const double step : {-0x1p-40, -0x1p-52, 0.0, 0x1p-52, 0x1p-40})
                pairs.CheckBoth(level * (1 + step), 0.5, ratio);
    EXPECT_EQ(pairs.mismatches, 0);
}

TEST(GatePow2, EitherLaneOffTheDirectPathStillMatchesGatePow)
{
    Inputs inputs{7};
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<double> specials = SpecialLevels();
    std::vector<double> ratios = {0.0,
                                  -0.0,
                                  1.0,
                                  -1.0,
                                  2.0,
                                  0.5,
                                  64.0,
                                  -64.0,
                                  0x1.0000000000001p6,
                                  -0x1.0000000000001p6,
                                  65.0,
                                  1e300,
                                  inf,
                                  -inf,
                                  nan,
                                  0x1p-1074};
    for (int i = 0; i < 16; ++i)
        ratios.push_back(inputs.Uniform(-64.0, 64.0));
    const std::vector<double> slider = SliderRatios();
    ratios.insert(ratios.end(), {slider.front(), slider[20], slider.back()});
    PairCheck pairs;
    for (const double ratio : ratios)
        for (const double special : specials)
        {
            for (const double normal : {0.3, 0x1p-60, 1 - 0x1p-10})
                pairs.CheckBoth(special, normal, ratio);
            const double level = inputs.Level(1022);
            pairs.CheckBoth(special, level, ratio);
            for (const double other : specials)
                pairs.Check(special, other, ratio);
        }
    // Levels just above 1 share the high word of 1 and go to std::pow.
    for (int i = 0; i < 20000; ++i)
    {
        const double aboveOne = FromBits(detail::kOneBits + (inputs.Next() >> 44));
        const double level = inputs.Level(60);
        pairs.CheckBoth(aboveOne, level, inputs.Uniform(-64.0, 64.0));
    }
    EXPECT_EQ(pairs.mismatches, 0);
}

TEST(GatePow2, MatchesGatePowWithFlushToZero)
{
    Inputs inputs{8};
    const DenormalGuard guard;
    PairCheck pairs;
    for (int i = 0; i < 20000; ++i)
    {
        const double ratio = inputs.Uniform(-64.0, 64.0);
        // Normal levels, results down to underflow; subnormal levels read as 0.
        const double subnormal = FromBits(inputs.Next() >> 12);
        const double level = inputs.Level(1022);
        pairs.CheckBoth(level, subnormal, ratio);
        pairs.Check(level, inputs.Level(60), ratio);
    }
    EXPECT_EQ(pairs.mismatches, 0);
}

// FNV-1a of both lanes' bits over slider ratios, random ratios and pairs with one lane off the
// direct path. Computed natively; the 32- and 64-bit Windows builds must give the same.
TEST(GatePow2, ChecksumOfResultsIsTheSameOnEveryBuild)
{
    Inputs inputs{9};
    std::uint64_t hash = 0xCBF29CE484222325;
    const auto add = [&hash](double levelA, double levelB, double ratio)
    {
        const GatePowPairResult result = GatePow2(levelA, levelB, ratio);
        for (const std::uint64_t bits : {Bits(result.a), Bits(result.b)})
            for (int byte = 0; byte < 8; ++byte)
                hash = (hash ^ ((bits >> (8 * byte)) & 0xFF)) * 0x100000001B3;
    };
    for (const double ratio : SliderRatios())
        for (int i = 0; i < 250; ++i)
        {
            const double levelA = inputs.Level(60);
            add(levelA, inputs.Level(i % 2 ? 60 : 1022), ratio);
        }
    for (int i = 0; i < 25000; ++i)
    {
        const double ratio = inputs.Uniform(-64.0, 64.0);
        const auto reach = static_cast<std::uint64_t>(std::fmin(1100.0 / std::fabs(ratio), 1022.0));
        const double levelA = inputs.Level(reach + 1);
        add(levelA, inputs.Level(reach + 1), ratio);
    }
    // NaN results (whose bits may differ between C libraries) are left out.
    for (const double special : {0.0, 1.0, 0x1p-1074, 0x0.fffffffffffffp-1022, 0x1p-1022})
        for (int i = 0; i < 100; ++i)
        {
            const double ratio = inputs.Uniform(-64.0, 64.0);
            const double level = inputs.Level(60);
            add(special, level, ratio);
            add(level, special, ratio);
        }
    EXPECT_EQ(hash, 1202587213583404934u);
}

} // namespace
} // namespace vrn::gate
