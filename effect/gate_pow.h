#pragma once
// The gain curve's pow: level^ratio with level in [0, 1], fast and bit-identical on every build,
// two levels at a time with SSE2 (the two bands of a frame).
//
// Logs are taken in units where ln 2 is λ = kUnit (ln 2 to 34 bits), so that k·λ and n·λ/256 below
// are exact: level^ratio = 2^(t/λ) with t = ratio·λ·log2(level).
//   log: level = 2^k·m, m in [0.708, 1.416); a table slice (top 8 bits of m) gives invC ≈ 1/m with
//        m·invC = 1 + r exactly, and λ·log2(level) = k·λ − λ·log2(invC) + λ·log2(1 + r), the last
//        term a polynomial in r. The sum is kept as a head of 26 bits and a tail.
//   exp: n = round(t·256/λ), f = t − n·λ/256; 2^(t/λ) = 2^(n/256)·2^(f/λ), the first factor from a
//        table and the exponent field, the second a polynomial in f.
// The tables and polynomials are derived by scripts/make_fast_math_tables.py.

#include "effect/gate_pow_tables.h"

#include <cmath>
#include <cstdint>
#include <cstring>

// Both lanes are computed with SSE2 (every x86-64 build; -msse2 on 32-bit x86).
#if !defined(__SSE2__)
#error "gate_pow.h: SSE2 required"
#endif
#include <emmintrin.h>

// The double-double steps rely on every product and sum being rounded on its own. A build that
// enables FMA instructions must also pass -ffp-contract=off and define VRN_FP_CONTRACT_OFF.
#if defined(__FMA__) && !defined(VRN_FP_CONTRACT_OFF)
#error "gate_pow.h: FMA enabled; compile with -ffp-contract=off and define VRN_FP_CONTRACT_OFF"
#endif

namespace vrn::gate
{

/// level^ratio for level in [0, 1]. For |ratio| ≤ 64 the result is within 1 ulp of the correctly
/// rounded value (results below 2^-1022 within 2^-1074) and bit-identical on every build, with
/// or without flush-to-zero; level 1 or ratio 0 give 1, ratio 1 gives level, level +0 with
/// ratio > 0 gives +0. Other inputs (level outside [0, 1], |ratio| > 64, NaN, ±inf) give
/// std::pow(level, ratio).
inline double GatePow(double level, double ratio);

/// The two results of GatePow2, in the order of its levels.
struct GatePowPairResult
{
    double a; ///< levelA^ratio
    double b; ///< levelB^ratio
};

/// GatePow(levelA, ratio) and GatePow(levelB, ratio), both at once.
inline GatePowPairResult GatePow2(double levelA, double levelB, double ratio);

/// GatePow of both lanes of `levels`.
inline __m128d GatePow2(__m128d levels, double ratio);

// GatePow2 in two halves, for callers that interleave many pairs: the logarithm, then the power.

/// ratio·λ·log2(level) of both lanes as product + tail, between GatePow2Log and GatePow2Exp.
struct GatePowPairLog
{
    __m128d product;
    __m128d tail;
};

/// The first half of GatePow2: false (and `log` untouched) when a lane needs GatePow2Outside,
/// that is when a level lies outside [2^-1022, 1) or |ratio| is not ≤ 64.
inline bool GatePow2Log(__m128d levels, double ratio, GatePowPairLog& log);
/// The second half of GatePow2: the two powers.
inline __m128d GatePow2Exp(const GatePowPairLog& log);
/// GatePow2 for the levels GatePow2Log refused.
inline __m128d GatePow2Outside(__m128d levels, double ratio);

namespace detail
{

constexpr std::uint64_t kSmallestNormalBits = 0x0010000000000000; // 2^-1022
constexpr std::uint64_t kOneBits = 0x3FF0000000000000;
constexpr double kMaxFastRatio = 64.0;
constexpr double kRoundShift = 0x1.8p52; // x + shift − shift rounds x to an integer
constexpr std::uint64_t kRoundShiftBits = 0x4338000000000000;
constexpr std::int64_t kExpSteps = 256;
/// 2^(n/256)·(1 + q) is built directly for n in [kLowestDirect, kLowestDirect + kDirectSpan):
/// the scale 2^⌊n/256⌋ then lies in 2^-960 … 2^1023, so scale·q is normal or too small to matter
/// and flush-to-zero cannot change the result.
constexpr std::int64_t kLowestDirect = -960 * kExpSteps;
constexpr std::uint32_t kDirectSpan = (1023 + 960 + 1) * kExpSteps;

/// The constants, the same in both lanes.
struct PairConstants
{
    __m128i logOffset;
    __m128i exponentMask;
    __m128i rangeBias; ///< in all four 32-bit lanes
    __m128i rangeLast; ///< in all four 32-bit lanes
    __m128i mantissaHighMask;
    __m128i logHigh26Mask;
    __m128i ratioHighMask;
    __m128i absMask;
    __m128d one;
    __m128d unit;
    __m128d logPoly[5];
    __m128d logUnitError;
    __m128d expScale;
    __m128d roundShift;
    __m128d expStep;
    __m128d expPoly[4];
    __m128d expUnitError;
};

constexpr __m128i Splat64(std::uint64_t value)
{
    return __m128i{static_cast<long long>(value), static_cast<long long>(value)};
}

constexpr __m128i Splat32(std::uint32_t value)
{
    return Splat64(std::uint64_t{value} << 32 | value);
}

constexpr __m128d Splat(double value)
{
    return __m128d{value, value};
}

// The direct-path test on the high words h of level − kLogOffset: h + kOffset − kLow < kOne −
// kLow (unsigned), as (h + rangeBias > rangeLast) == false (signed), the sign bits flipped.
constexpr std::uint32_t kSignBit = 0x80000000;
constexpr std::uint32_t kOffsetHigh = static_cast<std::uint32_t>(kLogOffset >> 32);
constexpr std::uint32_t kLowHigh = static_cast<std::uint32_t>(kSmallestNormalBits >> 32);
constexpr std::uint32_t kOneHigh = static_cast<std::uint32_t>(kOneBits >> 32);

constexpr PairConstants kPairConstants = {
    Splat64(kLogOffset),
    Splat64(0xFFF0000000000000),
    Splat32(kOffsetHigh - kLowHigh + kSignBit),
    Splat32(kOneHigh - kLowHigh - 1 + kSignBit),
    Splat64(~std::uint64_t{0x1FF}),
    Splat64(0xFFFFFFFFF8000000),
    Splat64(0xFFFFFFFFFC000000),
    Splat64(0x7FFFFFFFFFFFFFFF),
    Splat(1.0),
    Splat(kUnit),
    {Splat(kLogPoly[0]), Splat(kLogPoly[1]), Splat(kLogPoly[2]), Splat(kLogPoly[3]),
     Splat(kLogPoly[4])},
    Splat(kLogUnitError),
    Splat(kExpScale),
    Splat(kRoundShift),
    Splat(kExpStep),
    {Splat(kExpPoly[0]), Splat(kExpPoly[1]), Splat(kExpPoly[2]), Splat(kExpPoly[3])},
    Splat(kExpUnitError),
};

/// kPairConstants read through a pointer the compiler cannot see through: GCC builds a vector
/// constant with equal lanes from a scalar load and a shuffle, two instructions each time it is
/// used, where a memory operand costs none.
inline const PairConstants* Constants()
{
    const PairConstants* k = &kPairConstants;
    __asm__("" : "+r"(k));
    return k;
}

/// The lanes of `x`.
inline double Lane0(__m128d x)
{
    return _mm_cvtsd_f64(x);
}
inline double Lane1(__m128d x)
{
    return _mm_cvtsd_f64(_mm_unpackhi_pd(x, x));
}

/// GatePow2Log with `exponentBias` added to each level's binary exponent (scaled subnormal
/// levels).
inline bool LogPair(__m128d levels, double ratio, std::int32_t exponentBias, GatePowPairLog& log)
{
    const PairConstants* k = Constants();
    const __m128i bits = _mm_castpd_si128(levels);
    const __m128i reduced = _mm_sub_epi64(bits, k->logOffset);
    // The high words of `reduced` of both lanes in 32-bit lanes 0 and 1 (and again in 2 and 3).
    const __m128i high = _mm_shuffle_epi32(reduced, _MM_SHUFFLE(3, 1, 3, 1));

    // The direct path takes levels in [2^-1022, 1): bits − 2^-1022 < 1 − 2^-1022 (unsigned) needs
    // the high words only, as both bounds have zero low words.
    const __m128i outside = _mm_cmpgt_epi32(_mm_add_epi32(high, k->rangeBias), k->rangeLast);
    // (std::fabs would take a trip through the x87 unit on 32-bit builds.)
    const __m128d ratios = _mm_set1_pd(ratio);
    const double ratioSize = _mm_cvtsd_f64(_mm_and_pd(ratios, _mm_castsi128_pd(k->absMask)));
    if (_mm_movemask_ps(_mm_castsi128_ps(outside)) != 0 || !(ratioSize <= kMaxFastRatio))
        return false;

    // Slices (bits 12…19 of the high word of `reduced`), exponents k (its top 12 bits, signed).
    const auto highA = static_cast<std::uint32_t>(_mm_cvtsi128_si32(high));
    const auto highB = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_shuffle_epi32(high, 1)));
    const LogEntry& sliceA = kLogTable[(highA >> 12) & 255];
    const LogEntry& sliceB = kLogTable[(highB >> 12) & 255];
    const __m128d exponent =
        _mm_cvtepi32_pd(_mm_add_epi32(_mm_srai_epi32(high, 20), _mm_set1_epi32(exponentBias)));
    const __m128i mantissaBits = _mm_sub_epi64(bits, _mm_and_si128(reduced, k->exponentMask));

    // r = m·invC − 1 exactly: invC has 9 bits, so with m split into 44 high bits and the rest both
    // products are exact, and the difference to 1 is exact (the slices keep |r| small enough).
    const __m128d invC = _mm_set_pd(sliceB.invC, sliceA.invC);
    const __m128d m = _mm_castsi128_pd(mantissaBits);
    const __m128d mHi = _mm_and_pd(m, _mm_castsi128_pd(k->mantissaHighMask));
    const __m128d r =
        _mm_add_pd(_mm_sub_pd(_mm_mul_pd(mHi, invC), k->one), _mm_mul_pd(_mm_sub_pd(m, mHi), invC));

    // head = k·λ + logHi is exact (all on the grid 2^-34); λ·log2(1 + r) = r + r·(λ/ln2 − 1) +
    // r²·poly(r), and everything but r goes into `rest`.
    const __m128d head =
        _mm_add_pd(_mm_mul_pd(exponent, k->unit), _mm_set_pd(sliceB.logHi, sliceA.logHi));
    __m128d poly = _mm_add_pd(_mm_mul_pd(k->logPoly[4], r), k->logPoly[3]);
    poly = _mm_add_pd(_mm_mul_pd(poly, r), k->logPoly[2]);
    poly = _mm_add_pd(_mm_mul_pd(poly, r), k->logPoly[1]);
    poly = _mm_add_pd(_mm_mul_pd(poly, r), k->logPoly[0]);
    const __m128d rest =
        _mm_add_pd(_mm_set_pd(sliceB.logLo, sliceA.logLo),
                   _mm_mul_pd(r, _mm_add_pd(k->logUnitError, _mm_mul_pd(r, poly))));

    // The log as logHi26 + logLo26 with logHi26 of 26 significant bits: head − logHi26 is exact
    // because both lie on a fine enough grid and are close.
    const __m128d logHi26 = _mm_and_pd(_mm_add_pd(head, r), _mm_castsi128_pd(k->logHigh26Mask));
    const __m128d logLo26 = _mm_add_pd(_mm_add_pd(_mm_sub_pd(head, logHi26), r), rest);

    // t = ratio·log as product + tail: ratio is split into 27 + 26 bits, so both partial products
    // with logHi26 are exact; ratio·logLo26 is tiny against t.
    const __m128d ratioHi = _mm_and_pd(ratios, _mm_castsi128_pd(k->ratioHighMask));
    log.product = _mm_mul_pd(ratioHi, logHi26);
    log.tail =
        _mm_add_pd(_mm_mul_pd(_mm_sub_pd(ratios, ratioHi), logHi26), _mm_mul_pd(ratios, logLo26));
    return true;
}

/// 2^(n/256)·(1 + q) for n outside the direct range: overflow, results below 2^-960.
/// `shifted` is the bit pattern of kRoundShift + n.
double PowScaleOutside(std::uint64_t shifted, double q);

/// GatePow of each level, for pairs where a level is off the direct path or |ratio| is not ≤ 64.
GatePowPairResult PowPairOutsideRange(double levelA, double levelB, double ratio);

} // namespace detail

inline bool GatePow2Log(__m128d levels, double ratio, GatePowPairLog& log)
{
    return detail::LogPair(levels, ratio, 0, log);
}

inline __m128d GatePow2Exp(const GatePowPairLog& log)
{
    using namespace detail;
    const PairConstants* k = Constants();

    // 2^(t/λ) = 2^(n/256)·2^(f/λ), n = round(t·256/λ), f = t − n·λ/256 (+ the table's rounding);
    // 2^(f/λ) − 1 = q = f + f·(ln2/λ − 1) + f²·poly(f).
    const __m128d shifted = _mm_add_pd(_mm_mul_pd(log.product, k->expScale), k->roundShift);
    const __m128d n = _mm_sub_pd(shifted, k->roundShift);
    const __m128i nBits = _mm_castpd_si128(shifted);
    // (The low 32 bits of each lane hold n: |n| < 2^25.)
    const auto nA = static_cast<std::uint32_t>(_mm_cvtsi128_si32(nBits));
    const auto nB = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_shuffle_epi32(nBits, 2)));
    const ExpEntry& stepA = kExpTable[nA & 255];
    const ExpEntry& stepB = kExpTable[nB & 255];
    const __m128d f = _mm_add_pd(_mm_sub_pd(log.product, _mm_mul_pd(n, k->expStep)),
                                 _mm_add_pd(log.tail, _mm_set_pd(stepB.tailLog, stepA.tailLog)));
    __m128d fPoly = _mm_add_pd(_mm_mul_pd(k->expPoly[3], f), k->expPoly[2]);
    fPoly = _mm_add_pd(_mm_mul_pd(fPoly, f), k->expPoly[1]);
    fPoly = _mm_add_pd(_mm_mul_pd(fPoly, f), k->expPoly[0]);
    const __m128d q =
        _mm_add_pd(f, _mm_mul_pd(f, _mm_add_pd(k->expUnitError, _mm_mul_pd(f, fPoly))));

    // Scale 2^⌊n/256⌋·2^(j/256): the exponent field gets ⌊n/256⌋ added (the table entry has
    // j << 44 taken off, which the shift puts back).
    const __m128i stepBits = _mm_set_epi64x(static_cast<long long>(stepB.scaleBits),
                                            static_cast<long long>(stepA.scaleBits));
    const __m128d scale = _mm_castsi128_pd(_mm_add_epi64(stepBits, _mm_slli_epi64(nBits, 44)));
    const __m128d result = _mm_add_pd(scale, _mm_mul_pd(scale, q));
    const bool directA = nA - static_cast<std::uint32_t>(kLowestDirect) < kDirectSpan;
    const bool directB = nB - static_cast<std::uint32_t>(kLowestDirect) < kDirectSpan;
    if (directA && directB)
        return result;
    // A result that overflows or lies below 2^-960 (either lane, or both).
    std::uint64_t shiftedBits[2];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(shiftedBits), nBits);
    return _mm_set_pd(directB ? Lane1(result) : PowScaleOutside(shiftedBits[1], Lane1(q)),
                      directA ? Lane0(result) : PowScaleOutside(shiftedBits[0], Lane0(q)));
}

inline __m128d GatePow2Outside(__m128d levels, double ratio)
{
    // Both bands at or above their thresholds is the common case here: 1 for every ratio.
    const __m128d one = _mm_set1_pd(1.0);
    if (_mm_movemask_pd(_mm_cmpeq_pd(levels, one)) == 3)
        return one;
    const GatePowPairResult pair =
        detail::PowPairOutsideRange(detail::Lane0(levels), detail::Lane1(levels), ratio);
    return _mm_set_pd(pair.b, pair.a);
}

inline __m128d GatePow2(__m128d levels, double ratio)
{
    GatePowPairLog log{};
    return GatePow2Log(levels, ratio, log) ? GatePow2Exp(log) : GatePow2Outside(levels, ratio);
}

inline GatePowPairResult GatePow2(double levelA, double levelB, double ratio)
{
    const __m128d result = GatePow2(_mm_set_pd(levelB, levelA), ratio);
    return {detail::Lane0(result), detail::Lane1(result)};
}

inline double GatePow(double level, double ratio)
{
    return detail::Lane0(GatePow2(_mm_set1_pd(level), ratio));
}

} // namespace vrn::gate
