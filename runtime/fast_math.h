#pragma once
// Fast, bit-reproducible pow for the gate's gain computer: level^ratio with level in [0, 1], one
// level at a time or the two bands' levels at once.

#include <cmath>
#include <cstdint>
#include <cstring>

// GatePow2 computes both lanes with SSE2 (every x86-64 build; -msse2 on 32-bit x86).
#if !defined(__SSE2__)
#error "fast_math.h: SSE2 required"
#endif
#include <emmintrin.h>

// The double-double steps below rely on every product and sum being rounded on its own. A build
// that enables FMA instructions must also pass -ffp-contract=off and define VRN_FP_CONTRACT_OFF.
#if defined(__FMA__) && !defined(VRN_FP_CONTRACT_OFF)
#error "fast_math.h: FMA enabled; compile with -ffp-contract=off and define VRN_FP_CONTRACT_OFF"
#endif

namespace vrn
{

/// level^ratio for level in [0, 1]. For |ratio| ≤ 64 the result is within 1 ulp of the correctly
/// rounded value (results below 2^-1022 within 2^-1074) and bit-identical on every build; level 1
/// or ratio 0 give 1, ratio 1 gives level, level +0 with ratio > 0 gives +0. Other inputs (level
/// outside [0, 1], |ratio| > 64, NaN, ±inf) give std::pow(level, ratio).
inline double GatePow(double level, double ratio);

/// The two results of GatePow2, in the order of its levels.
struct GatePowPairResult
{
    double a; ///< levelA^ratio
    double b; ///< levelB^ratio
};

/// levelA^ratio and levelB^ratio, each bit-identical to GatePow(level, ratio) (on every build,
/// with or without flush-to-zero), for the two bands of a frame: both at once when both levels
/// lie in [2^-1022, 1) and |ratio| ≤ 64, each on its own otherwise.
inline GatePowPairResult GatePow2(double levelA, double levelB, double ratio);

namespace detail
{

/// One slice of the reduced mantissa m: invC ≈ 1/m on the grid 1/256, −λ·log2(invC) = logHi +
/// logLo.
struct LogEntry
{
    double invC;  ///< 0.70 … 1.42, at most 9 significant bits
    double logHi; ///< multiple of 2^-34
    double logLo; ///< |logLo| ≤ 2^-35
};

/// One step 2^(j/256) of the exp table.
struct ExpEntry
{
    std::uint64_t scaleBits; ///< bits of 2^(j/256) rounded to double, minus j << 44
    double tailLog;          ///< λ·log2(2^(j/256) / stored value), |tailLog| ≤ 2^-53
};

// BEGIN GENERATED (scripts/make_fast_math_tables.py)
// clang-format off
constexpr std::uint64_t kLogOffset = 0x3FE6A80000000000;
constexpr double kUnit = 0x1.62e42fef80000p-1; // λ: ln 2 to 34 bits
constexpr double kLogUnitError = -0x1.9b1eeafedba11p-36; // λ/ln2 − 1
constexpr double kExpUnitError = 0x1.9b1eeaff04e4dp-36; // ln2/λ − 1
constexpr double kExpScale = 0x1.71547652dd41dp+8; // 256/λ
constexpr double kExpStep = 0x1.62e42fef80000p-9; // λ/256, exact
/// λ·log2(1 + r) − (λ/ln2)·r − r²·(c2 + c3·r + c4·r² + c5·r³ + c6·r⁴), |error| < 2^-63
constexpr double kLogPoly[] = {
    -0x1.ffffffffcc985p-2,
    0x1.55555554e441bp-2,
    -0x1.00000011be16ep-2,
    0x1.999b56e849315p-3,
    -0x1.5535766851974p-3,
};
/// 2^(f/λ) − 1 − (ln2/λ)·f − f²·(c2 + c3·f + c4·f² + c5·f³), |error| < 2^-68
constexpr double kExpPoly[] = {
    0x1.00000000335f6p-1,
    0x1.55555555bc18bp-3,
    0x1.5555591f384f4p-5,
    0x1.111113c2cdea9p-7,
};
/// {invC, −λ·log2(invC) high part, low part} per mantissa slice
constexpr LogEntry kLogTable[256] = {
    {0x1.6900000000000p+0, -0x1.5ff3070a00000p-2, -0x1.57a786a62e29fp-36},
    {0x1.6800000000000p+0, -0x1.5d1bdbf500000p-2, -0x1.76491b2be7667p-36},
    {0x1.6700000000000p+0, -0x1.5a42ab0f00000p-2, -0x1.51e76102c7076p-37},
    {0x1.6600000000000p+0, -0x1.5767717400000p-2, -0x1.9977e40d9c587p-37},
    {0x1.6500000000000p+0, -0x1.548a2c3b00000p-2, 0x1.1420098028273p-36},
    {0x1.6400000000000p+0, -0x1.51aad87300000p-2, 0x1.098641ecb7fe7p-36},
    {0x1.6300000000000p+0, -0x1.4ec9732600000p-2, 0x1.0b9e15ba8738ep-37},
    {0x1.6200000000000p+0, -0x1.4be5f95700000p-2, -0x1.58e7a397d4d26p-36},
    {0x1.6100000000000p+0, -0x1.4900680400000p-2, 0x1.03454b8605daap-37},
    {0x1.6000000000000p+0, -0x1.4618bc2200000p-2, 0x1.6b3ba6cf02716p-36},
    {0x1.5f00000000000p+0, -0x1.432ef2a000000p-2, -0x1.708826f462e41p-37},
    {0x1.5e00000000000p+0, -0x1.4043086800000p-2, -0x1.29645c2d56151p-36},
    {0x1.5e00000000000p+0, -0x1.4043086800000p-2, -0x1.29645c2d56151p-36},
    {0x1.5d00000000000p+0, -0x1.3d54fa5c00000p-2, 0x1.a38e7f1af221fp-44},
    {0x1.5c00000000000p+0, -0x1.3a64c55600000p-2, -0x1.d341017d3ed75p-36},
    {0x1.5b00000000000p+0, -0x1.3772662c00000p-2, 0x1.0de7aa802718ep-37},
    {0x1.5a00000000000p+0, -0x1.347dd9a900000p-2, -0x1.a37a61f924788p-36},
    {0x1.5900000000000p+0, -0x1.31871c9500000p-2, -0x1.2b6e14c552673p-37},
    {0x1.5800000000000p+0, -0x1.2e8e2bae00000p-2, 0x1.91645cafe8efap-39},
    {0x1.5700000000000p+0, -0x1.2b9303ab00000p-2, -0x1.af02da21ed5bep-36},
    {0x1.5600000000000p+0, -0x1.2895a13e00000p-2, 0x1.aad456795f54fp-37},
    {0x1.5500000000000p+0, -0x1.2596010e00000p-2, 0x1.30a0acde2de96p-37},
    {0x1.5400000000000p+0, -0x1.22941fbd00000p-2, 0x1.2ca0a26520d5cp-37},
    {0x1.5400000000000p+0, -0x1.22941fbd00000p-2, 0x1.2ca0a26520d5cp-37},
    {0x1.5300000000000p+0, -0x1.1f8ff9e400000p-2, -0x1.b548eb1ddb3f0p-36},
    {0x1.5200000000000p+0, -0x1.1c898c1600000p-2, -0x1.f441f2a3b7226p-36},
    {0x1.5100000000000p+0, -0x1.1980d2dd00000p-2, -0x1.2fadcaa2abbaep-37},
    {0x1.5000000000000p+0, -0x1.1675cabb00000p-2, 0x1.8648ae91e9967p-36},
    {0x1.4f00000000000p+0, -0x1.1368702900000p-2, -0x1.ee666fba90251p-38},
    {0x1.4e00000000000p+0, -0x1.1058bf9b00000p-2, 0x1.b54523b260bb6p-37},
    {0x1.4e00000000000p+0, -0x1.1058bf9b00000p-2, 0x1.b54523b260bb6p-37},
    {0x1.4d00000000000p+0, -0x1.0d46b57a00000p-2, 0x1.be497a952fd71p-36},
    {0x1.4c00000000000p+0, -0x1.0a324e2700000p-2, -0x1.e56475bad8b3bp-38},
    {0x1.4b00000000000p+0, -0x1.071b85fd00000p-2, 0x1.135ef6712b825p-36},
    {0x1.4a00000000000p+0, -0x1.0402594b00000p-2, -0x1.9758d74990a99p-37},
    {0x1.4900000000000p+0, -0x1.00e6c45b00000p-2, 0x1.131d2f638d25fp-36},
    {0x1.4900000000000p+0, -0x1.00e6c45b00000p-2, 0x1.131d2f638d25fp-36},
    {0x1.4800000000000p+0, -0x1.fb9186d600000p-3, 0x1.3c3d58c78fa66p-37},
    {0x1.4700000000000p+0, -0x1.f550a56400000p-3, -0x1.0ac4403d9f6f6p-36},
    {0x1.4600000000000p+0, -0x1.ef0adcbe00000p-3, 0x1.b072f9ff9bd7bp-37},
    {0x1.4500000000000p+0, -0x1.e8c0252a00000p-3, -0x1.d25e19926fb9ep-37},
    {0x1.4400000000000p+0, -0x1.e27076e200000p-3, -0x1.fb0845c0e5024p-37},
    {0x1.4400000000000p+0, -0x1.e27076e200000p-3, -0x1.fb0845c0e5024p-37},
    {0x1.4300000000000p+0, -0x1.dc1bca0a00000p-3, -0x1.1dfc6864d8843p-36},
    {0x1.4200000000000p+0, -0x1.d5c216b400000p-3, -0x1.992540a4d836cp-36},
    {0x1.4100000000000p+0, -0x1.cf6354e000000p-3, -0x1.b76bf627f5b9ep-37},
    {0x1.4000000000000p+0, -0x1.c8ff7c7a00000p-3, 0x1.0878f64451da2p-36},
    {0x1.4000000000000p+0, -0x1.c8ff7c7a00000p-3, 0x1.0878f64451da2p-36},
    {0x1.3f00000000000p+0, -0x1.c296855800000p-3, -0x1.28a451f61fc5bp-36},
    {0x1.3e00000000000p+0, -0x1.bc28674200000p-3, -0x1.587174f7c8e35p-36},
    {0x1.3d00000000000p+0, -0x1.b5b519e800000p-3, -0x1.9ed6ba1d93f6ap-36},
    {0x1.3d00000000000p+0, -0x1.b5b519e800000p-3, -0x1.9ed6ba1d93f6ap-36},
    {0x1.3c00000000000p+0, -0x1.af3c94e800000p-3, 0x1.f4977f364e8aep-39},
    {0x1.3b00000000000p+0, -0x1.a8becfc800000p-3, -0x1.613ec7c3c25f7p-37},
    {0x1.3a00000000000p+0, -0x1.a23bc1fe00000p-3, -0x1.5baa5d848e6f9p-43},
    {0x1.3a00000000000p+0, -0x1.a23bc1fe00000p-3, -0x1.5baa5d848e6f9p-43},
    {0x1.3900000000000p+0, -0x1.9bb362e800000p-3, 0x1.2669d8b9091dap-37},
    {0x1.3800000000000p+0, -0x1.9525a9d000000p-3, 0x1.c67dfdf607ce8p-36},
    {0x1.3700000000000p+0, -0x1.8e928de800000p-3, -0x1.7b4acf5e3afc7p-37},
    {0x1.3700000000000p+0, -0x1.8e928de800000p-3, -0x1.7b4acf5e3afc7p-37},
    {0x1.3600000000000p+0, -0x1.87fa065200000p-3, 0x1.ac6d2f2332eb9p-39},
    {0x1.3500000000000p+0, -0x1.815c0a1400000p-3, -0x1.da1b0f9c15188p-40},
    {0x1.3400000000000p+0, -0x1.7ab8902000000p-3, -0x1.cf1aa1e6f757fp-36},
    {0x1.3400000000000p+0, -0x1.7ab8902000000p-3, -0x1.cf1aa1e6f757fp-36},
    {0x1.3300000000000p+0, -0x1.740f8f5400000p-3, 0x1.0eee9061e6eccp-38},
    {0x1.3200000000000p+0, -0x1.6d60fe7200000p-3, 0x1.0f15497e05503p-36},
    {0x1.3200000000000p+0, -0x1.6d60fe7200000p-3, 0x1.0f15497e05503p-36},
    {0x1.3100000000000p+0, -0x1.66acd42800000p-3, 0x1.f2563d675d02ap-36},
    {0x1.3000000000000p+0, -0x1.5ff3070a00000p-3, -0x1.57a786a62e29fp-37},
    {0x1.2f00000000000p+0, -0x1.59338d9a00000p-3, 0x1.413b343f633a6p-36},
    {0x1.2f00000000000p+0, -0x1.59338d9a00000p-3, 0x1.413b343f633a6p-36},
    {0x1.2e00000000000p+0, -0x1.526e5e3a00000p-3, 0x1.ad21b7f082e65p-41},
    {0x1.2d00000000000p+0, -0x1.4ba36f3a00000p-3, 0x1.efac85c006a95p-37},
    {0x1.2d00000000000p+0, -0x1.4ba36f3a00000p-3, 0x1.efac85c006a95p-37},
    {0x1.2c00000000000p+0, -0x1.44d2b6cc00000p-3, -0x1.2e6f1c2f78ec1p-36},
    {0x1.2b00000000000p+0, -0x1.3dfc2b0e00000p-3, -0x1.58eff140b9feap-36},
    {0x1.2b00000000000p+0, -0x1.3dfc2b0e00000p-3, -0x1.58eff140b9feap-36},
    {0x1.2a00000000000p+0, -0x1.371fc20200000p-3, 0x1.b218a9fe7d1e8p-38},
    {0x1.2900000000000p+0, -0x1.303d718e00000p-3, -0x1.4b9dcd654dbdep-38},
    {0x1.2900000000000p+0, -0x1.303d718e00000p-3, -0x1.4b9dcd654dbdep-38},
    {0x1.2800000000000p+0, -0x1.29552f8200000p-3, 0x1.e85c602b48bcdp-39},
    {0x1.2700000000000p+0, -0x1.2266f19000000p-3, -0x1.110da49b6657fp-36},
    {0x1.2700000000000p+0, -0x1.2266f19000000p-3, -0x1.110da49b6657fp-36},
    {0x1.2600000000000p+0, -0x1.1b72ad5200000p-3, -0x1.b40d9a241032ep-36},
    {0x1.2500000000000p+0, -0x1.1478584600000p-3, -0x1.61ab73c154bb7p-37},
    {0x1.2500000000000p+0, -0x1.1478584600000p-3, -0x1.61ab73c154bb7p-37},
    {0x1.2400000000000p+0, -0x1.0d77e7cc00000p-3, -0x1.dbb32b4107844p-36},
    {0x1.2300000000000p+0, -0x1.0671512c00000p-3, -0x1.167ed152b7c3fp-36},
    {0x1.2300000000000p+0, -0x1.0671512c00000p-3, -0x1.167ed152b7c3fp-36},
    {0x1.2200000000000p+0, -0x1.fec9131c00000p-4, -0x1.8b670280d05cfp-36},
    {0x1.2100000000000p+0, -0x1.f0a30c0000000p-4, -0x1.c8a2944705bd0p-37},
    {0x1.2100000000000p+0, -0x1.f0a30c0000000p-4, -0x1.c8a2944705bd0p-37},
    {0x1.2000000000000p+0, -0x1.e27076e400000p-4, 0x1.813dee8fc6bf7p-36},
    {0x1.1f00000000000p+0, -0x1.d4313d6800000p-4, 0x1.63c863adce09ep-36},
    {0x1.1f00000000000p+0, -0x1.d4313d6800000p-4, 0x1.63c863adce09ep-36},
    {0x1.1e00000000000p+0, -0x1.c5e548f400000p-4, -0x1.8ee55282d91fdp-36},
    {0x1.1e00000000000p+0, -0x1.c5e548f400000p-4, -0x1.8ee55282d91fdp-36},
    {0x1.1d00000000000p+0, -0x1.b78c82bc00000p-4, 0x1.1d442a391e24ep-36},
    {0x1.1c00000000000p+0, -0x1.a926d3a400000p-4, -0x1.0553d6ce1c7b5p-37},
    {0x1.1c00000000000p+0, -0x1.a926d3a400000p-4, -0x1.0553d6ce1c7b5p-37},
    {0x1.1b00000000000p+0, -0x1.9ab4246000000p-4, -0x1.da01c0b659cc4p-36},
    {0x1.1a00000000000p+0, -0x1.8c345d6400000p-4, 0x1.0e126f616a4efp-36},
    {0x1.1a00000000000p+0, -0x1.8c345d6400000p-4, 0x1.0e126f616a4efp-36},
    {0x1.1900000000000p+0, -0x1.7da766d800000p-4, 0x1.d4875573335e2p-38},
    {0x1.1900000000000p+0, -0x1.7da766d800000p-4, 0x1.d4875573335e2p-38},
    {0x1.1800000000000p+0, -0x1.6f0d28b000000p-4, 0x1.ce22ad8e5810dp-36},
    {0x1.1700000000000p+0, -0x1.60658a9400000p-4, 0x1.5ca53c5fb6858p-37},
    {0x1.1700000000000p+0, -0x1.60658a9400000p-4, 0x1.5ca53c5fb6858p-37},
    {0x1.1600000000000p+0, -0x1.51b073f000000p-4, -0x1.fcf82b2dc9758p-39},
    {0x1.1600000000000p+0, -0x1.51b073f000000p-4, -0x1.fcf82b2dc9758p-39},
    {0x1.1500000000000p+0, -0x1.42edcbec00000p-4, 0x1.bbfaa8af36ef0p-36},
    {0x1.1500000000000p+0, -0x1.42edcbec00000p-4, 0x1.bbfaa8af36ef0p-36},
    {0x1.1400000000000p+0, -0x1.341d796000000p-4, -0x1.9e3000a6fb0dbp-36},
    {0x1.1300000000000p+0, -0x1.253f62f000000p-4, -0x1.07a4d950b3b4cp-37},
    {0x1.1300000000000p+0, -0x1.253f62f000000p-4, -0x1.07a4d950b3b4cp-37},
    {0x1.1200000000000p+0, -0x1.16536eec00000p-4, 0x1.e4418a7f403b2p-36},
    {0x1.1200000000000p+0, -0x1.16536eec00000p-4, 0x1.e4418a7f403b2p-36},
    {0x1.1100000000000p+0, -0x1.0759835800000p-4, -0x1.73d84abff1facp-36},
    {0x1.1000000000000p+0, -0x1.f0a30c0000000p-5, -0x1.c8a2944705bd0p-38},
    {0x1.1000000000000p+0, -0x1.f0a30c0000000p-5, -0x1.c8a2944705bd0p-38},
    {0x1.0f00000000000p+0, -0x1.d276b8b000000p-5, 0x1.3f0e56f5ad053p-36},
    {0x1.0f00000000000p+0, -0x1.d276b8b000000p-5, 0x1.3f0e56f5ad053p-36},
    {0x1.0e00000000000p+0, -0x1.b42dd71000000p-5, -0x1.6b5447c8080d7p-37},
    {0x1.0e00000000000p+0, -0x1.b42dd71000000p-5, -0x1.6b5447c8080d7p-37},
    {0x1.0d00000000000p+0, -0x1.95c830f000000p-5, 0x1.cd3def58b1fc8p-36},
    {0x1.0d00000000000p+0, -0x1.95c830f000000p-5, 0x1.cd3def58b1fc8p-36},
    {0x1.0c00000000000p+0, -0x1.77458f6000000p-5, -0x1.84129232f5e36p-36},
    {0x1.0b00000000000p+0, -0x1.58a5bb0000000p-5, 0x1.ca2539349b5e2p-36},
    {0x1.0b00000000000p+0, -0x1.58a5bb0000000p-5, 0x1.ca2539349b5e2p-36},
    {0x1.0a00000000000p+0, -0x1.39e87ba000000p-5, 0x1.9d5f3f6ef21c2p-40},
    {0x1.0a00000000000p+0, -0x1.39e87ba000000p-5, 0x1.9d5f3f6ef21c2p-40},
    {0x1.0900000000000p+0, -0x1.1b0d989000000p-5, -0x1.109775fb5a68ep-36},
    {0x1.0900000000000p+0, -0x1.1b0d989000000p-5, -0x1.109775fb5a68ep-36},
    {0x1.0800000000000p+0, -0x1.f829b0e000000p-6, -0x1.d42561e91a2efp-36},
    {0x1.0800000000000p+0, -0x1.f829b0e000000p-6, -0x1.d42561e91a2efp-36},
    {0x1.0700000000000p+0, -0x1.b9fc028000000p-6, 0x1.4cd0d3f59ec07p-36},
    {0x1.0700000000000p+0, -0x1.b9fc028000000p-6, 0x1.4cd0d3f59ec07p-36},
    {0x1.0600000000000p+0, -0x1.7b91b08000000p-6, 0x1.6583b0a58830fp-37},
    {0x1.0600000000000p+0, -0x1.7b91b08000000p-6, 0x1.6583b0a58830fp-37},
    {0x1.0500000000000p+0, -0x1.3cea443000000p-6, -0x1.12a20a355b779p-36},
    {0x1.0500000000000p+0, -0x1.3cea443000000p-6, -0x1.12a20a355b779p-36},
    {0x1.0400000000000p+0, -0x1.fc0a8b0000000p-7, -0x1.f1a8030d89b71p-36},
    {0x1.0400000000000p+0, -0x1.fc0a8b0000000p-7, -0x1.f1a8030d89b71p-36},
    {0x1.0300000000000p+0, -0x1.7dc4760000000p-7, 0x1.02b5434f6f4e5p-36},
    {0x1.0300000000000p+0, -0x1.7dc4760000000p-7, 0x1.02b5434f6f4e5p-36},
    {0x1.0200000000000p+0, -0x1.fe02a6c000000p-8, 0x1.e59705bbc0fb5p-37},
    {0x1.0200000000000p+0, -0x1.fe02a6c000000p-8, 0x1.e59705bbc0fb5p-37},
    {0x1.0100000000000p+0, -0x1.ff00aa0000000p-9, -0x1.56eb8e40d700fp-36},
    {0x1.0100000000000p+0, -0x1.ff00aa0000000p-9, -0x1.56eb8e40d700fp-36},
    {0x1.0000000000000p+0, 0x0.0p+0, 0x0.0p+0},
    {0x1.fe00000000000p-1, 0x1.0080558000000p-8, 0x1.56ef487a73ca9p-36},
    {0x1.fc00000000000p-1, 0x1.0101576000000p-7, -0x1.e2f92c2206e0dp-37},
    {0x1.fa00000000000p-1, 0x1.82448a4000000p-7, -0x1.e726a23fb7f82p-37},
    {0x1.f800000000000p-1, 0x1.0205659000000p-6, -0x1.b9185a263309ep-36},
    {0x1.f600000000000p-1, 0x1.432a926000000p-6, -0x1.a7e8ef0f40e1bp-36},
    {0x1.f400000000000p-1, 0x1.8492529000000p-6, -0x1.cd2a3a6614e34p-37},
    {0x1.f200000000000p-1, 0x1.c63d2ec000000p-6, 0x1.1d176764b4cb3p-38},
    {0x1.f000000000000p-1, 0x1.0415d8a000000p-5, -0x1.a5d6a0bfd6f95p-37},
    {0x1.ee00000000000p-1, 0x1.252f32f800000p-5, 0x1.682d0d6c35677p-38},
    {0x1.ec00000000000p-1, 0x1.466aed4000000p-5, 0x1.5ebda3abab32ep-36},
    {0x1.ea00000000000p-1, 0x1.67c94f3000000p-5, -0x1.6c339b27a1b87p-36},
    {0x1.ea00000000000p-1, 0x1.67c94f3000000p-5, -0x1.6c339b27a1b87p-36},
    {0x1.e800000000000p-1, 0x1.894aa14800000p-5, 0x1.d3ba8e4616511p-37},
    {0x1.e600000000000p-1, 0x1.aaef2d1000000p-5, -0x1.e7295cc4790b4p-39},
    {0x1.e400000000000p-1, 0x1.ccb73ce000000p-5, -0x1.2988b261fb1d4p-36},
    {0x1.e200000000000p-1, 0x1.eea31c0000000p-5, 0x1.cf100aa6499b6p-40},
    {0x1.e000000000000p-1, 0x1.08598b5800000p-4, 0x1.c917ed8c3539dp-36},
    {0x1.de00000000000p-1, 0x1.1973bd1400000p-4, 0x1.245a00b6453e7p-38},
    {0x1.dc00000000000p-1, 0x1.2aa04a4400000p-4, 0x1.4e0448e1131dep-38},
    {0x1.da00000000000p-1, 0x1.3bdf5a7c00000p-4, 0x1.fe63ce5d5a622p-37},
    {0x1.da00000000000p-1, 0x1.3bdf5a7c00000p-4, 0x1.fe63ce5d5a622p-37},
    {0x1.d800000000000p-1, 0x1.4d3115d000000p-4, 0x1.e679652047cdfp-36},
    {0x1.d600000000000p-1, 0x1.5e95a4d800000p-4, 0x1.55ec6e5dd8c95p-36},
    {0x1.d400000000000p-1, 0x1.700d30b000000p-4, -0x1.78e30ac214d1cp-36},
    {0x1.d200000000000p-1, 0x1.8197e2f400000p-4, -0x1.874d4f7ff26eep-40},
    {0x1.d000000000000p-1, 0x1.9335e5d400000p-4, 0x1.6c20073addc90p-36},
    {0x1.d000000000000p-1, 0x1.9335e5d400000p-4, 0x1.6c20073addc90p-36},
    {0x1.ce00000000000p-1, 0x1.a4e7640c00000p-4, -0x1.0e7baa9f13f83p-36},
    {0x1.cc00000000000p-1, 0x1.b6ac88dc00000p-4, -0x1.565601aa8c935p-36},
    {0x1.ca00000000000p-1, 0x1.c885801c00000p-4, -0x1.a480839fbb7b3p-38},
    {0x1.c800000000000p-1, 0x1.da72763800000p-4, 0x1.4cb33f4cc4ac4p-40},
    {0x1.c800000000000p-1, 0x1.da72763800000p-4, 0x1.4cb33f4cc4ac4p-40},
    {0x1.c600000000000p-1, 0x1.ec73983000000p-4, 0x1.be91af2e8e921p-38},
    {0x1.c400000000000p-1, 0x1.fe89139c00000p-4, 0x1.8a181d9a41615p-36},
    {0x1.c200000000000p-1, 0x1.08598b5a00000p-3, -0x1.b740939e56315p-38},
    {0x1.c000000000000p-1, 0x1.1178e82200000p-3, 0x1.8b536e940c6d7p-37},
    {0x1.c000000000000p-1, 0x1.1178e82200000p-3, 0x1.8b536e940c6d7p-37},
    {0x1.be00000000000p-1, 0x1.1aa2b7e200000p-3, 0x1.18a241ea94e1dp-38},
    {0x1.bc00000000000p-1, 0x1.23d712a400000p-3, 0x1.fb55069a98eeap-37},
    {0x1.ba00000000000p-1, 0x1.2d1610c800000p-3, 0x1.276cc338c5ff2p-37},
    {0x1.ba00000000000p-1, 0x1.2d1610c800000p-3, 0x1.276cc338c5ff2p-37},
    {0x1.b800000000000p-1, 0x1.365fcb0200000p-3, -0x1.8c4b62ecabb48p-36},
    {0x1.b600000000000p-1, 0x1.3fb45a5a00000p-3, -0x1.1b1433f924249p-36},
    {0x1.b400000000000p-1, 0x1.4913d83400000p-3, -0x1.cb63378582cf2p-36},
    {0x1.b400000000000p-1, 0x1.4913d83400000p-3, -0x1.cb63378582cf2p-36},
    {0x1.b200000000000p-1, 0x1.527e5e4a00000p-3, -0x1.a83322bca8becp-41},
    {0x1.b000000000000p-1, 0x1.5bf406b600000p-3, -0x1.be231a2855e0ep-36},
    {0x1.b000000000000p-1, 0x1.5bf406b600000p-3, -0x1.be231a2855e0ep-36},
    {0x1.ae00000000000p-1, 0x1.6574ebe800000p-3, 0x1.3aa581da4ef81p-36},
    {0x1.ac00000000000p-1, 0x1.6f0128b800000p-3, -0x1.9c54f25bde3cap-36},
    {0x1.aa00000000000p-1, 0x1.7898d85400000p-3, 0x1.efa85f06a9106p-39},
    {0x1.aa00000000000p-1, 0x1.7898d85400000p-3, 0x1.efa85f06a9106p-39},
    {0x1.a800000000000p-1, 0x1.823c165400000p-3, 0x1.e6ef93c053bd0p-36},
    {0x1.a600000000000p-1, 0x1.8beafeb400000p-3, -0x1.2fa8bda5b8699p-36},
    {0x1.a600000000000p-1, 0x1.8beafeb400000p-3, -0x1.2fa8bda5b8699p-36},
    {0x1.a400000000000p-1, 0x1.95a5add000000p-3, -0x1.713e5b29c48f7p-36},
    {0x1.a200000000000p-1, 0x1.9f6c407000000p-3, 0x1.7ecfc6f7d6b8dp-37},
    {0x1.a200000000000p-1, 0x1.9f6c407000000p-3, 0x1.7ecfc6f7d6b8dp-37},
    {0x1.a000000000000p-1, 0x1.a93ed3c800000p-3, 0x1.05df06ae246edp-36},
    {0x1.9e00000000000p-1, 0x1.b31d857600000p-3, -0x1.bb2212be2f5c0p-37},
    {0x1.9e00000000000p-1, 0x1.b31d857600000p-3, -0x1.bb2212be2f5c0p-37},
    {0x1.9c00000000000p-1, 0x1.bd08738400000p-3, -0x1.bc81508349628p-37},
    {0x1.9a00000000000p-1, 0x1.c6ffbc6e00000p-3, 0x1.a697a2a819ad5p-36},
    {0x1.9a00000000000p-1, 0x1.c6ffbc6e00000p-3, 0x1.a697a2a819ad5p-36},
    {0x1.9800000000000p-1, 0x1.d1037f2600000p-3, 0x1.39d948d887c1ep-38},
    {0x1.9800000000000p-1, 0x1.d1037f2600000p-3, 0x1.39d948d887c1ep-38},
    {0x1.9600000000000p-1, 0x1.db13db0e00000p-3, -0x1.ce36417b1c005p-36},
    {0x1.9400000000000p-1, 0x1.e530effe00000p-3, 0x1.013879eeffb54p-37},
    {0x1.9400000000000p-1, 0x1.e530effe00000p-3, 0x1.013879eeffb54p-37},
    {0x1.9200000000000p-1, 0x1.ef5ade4e00000p-3, -0x1.86e735d625076p-37},
    {0x1.9000000000000p-1, 0x1.f991c6cc00000p-3, -0x1.ef0e13775c4bcp-36},
    {0x1.9000000000000p-1, 0x1.f991c6cc00000p-3, -0x1.ef0e13775c4bcp-36},
    {0x1.8e00000000000p-1, 0x1.01eae56200000p-2, 0x1.4a176cac56029p-36},
    {0x1.8e00000000000p-1, 0x1.01eae56200000p-2, 0x1.4a176cac56029p-36},
    {0x1.8c00000000000p-1, 0x1.0713860500000p-2, -0x1.13866aa136cf3p-36},
    {0x1.8a00000000000p-1, 0x1.0c42d67600000p-2, -0x1.2fb28c0861504p-40},
    {0x1.8a00000000000p-1, 0x1.0c42d67600000p-2, -0x1.2fb28c0861504p-40},
    {0x1.8800000000000p-1, 0x1.1178e82200000p-2, 0x1.8b536e940c6d7p-36},
    {0x1.8800000000000p-1, 0x1.1178e82200000p-2, 0x1.8b536e940c6d7p-36},
    {0x1.8600000000000p-1, 0x1.16b5ccbb00000p-2, -0x1.31090bc5a6576p-36},
    {0x1.8400000000000p-1, 0x1.1bf9963600000p-2, -0x1.d71dc89a9b23ap-36},
    {0x1.8400000000000p-1, 0x1.1bf9963600000p-2, -0x1.d71dc89a9b23ap-36},
    {0x1.8200000000000p-1, 0x1.214456d100000p-2, -0x1.8bdbb3fb1ae31p-37},
    {0x1.8200000000000p-1, 0x1.214456d100000p-2, -0x1.8bdbb3fb1ae31p-37},
    {0x1.8000000000000p-1, 0x1.2696211300000p-2, 0x1.813dee8fc6bf7p-37},
    {0x1.8000000000000p-1, 0x1.2696211300000p-2, 0x1.813dee8fc6bf7p-37},
    {0x1.7e00000000000p-1, 0x1.2bef07ce00000p-2, -0x1.539656e505f0ep-36},
    {0x1.7e00000000000p-1, 0x1.2bef07ce00000p-2, -0x1.539656e505f0ep-36},
    {0x1.7c00000000000p-1, 0x1.314f1e1d00000p-2, 0x1.7294cbc4eb14bp-38},
    {0x1.7a00000000000p-1, 0x1.36b6776c00000p-2, -0x1.f0f2c5bc9f544p-37},
    {0x1.7a00000000000p-1, 0x1.36b6776c00000p-2, -0x1.f0f2c5bc9f544p-37},
    {0x1.7800000000000p-1, 0x1.3c25277300000p-2, 0x1.35cde0661bbcdp-38},
    {0x1.7800000000000p-1, 0x1.3c25277300000p-2, 0x1.35cde0661bbcdp-38},
    {0x1.7600000000000p-1, 0x1.419b423d00000p-2, 0x1.f226037a82044p-37},
    {0x1.7600000000000p-1, 0x1.419b423d00000p-2, 0x1.f226037a82044p-37},
    {0x1.7400000000000p-1, 0x1.4718dc2700000p-2, -0x1.24c5918081cf4p-40},
    {0x1.7400000000000p-1, 0x1.4718dc2700000p-2, -0x1.24c5918081cf4p-40},
    {0x1.7200000000000p-1, 0x1.4c9e09e100000p-2, 0x1.45848249baf1cp-36},
    {0x1.7200000000000p-1, 0x1.4c9e09e100000p-2, 0x1.45848249baf1cp-36},
    {0x1.7000000000000p-1, 0x1.522ae07300000p-2, 0x1.a131081121929p-36},
    {0x1.7000000000000p-1, 0x1.522ae07300000p-2, 0x1.a131081121929p-36},
    {0x1.6e00000000000p-1, 0x1.57bf753c00000p-2, 0x1.aa7c3e6aee884p-36},
    {0x1.6e00000000000p-1, 0x1.57bf753c00000p-2, 0x1.aa7c3e6aee884p-36},
    {0x1.6c00000000000p-1, 0x1.5d5bddf500000p-2, 0x1.cb88bdf82aa58p-36},
    {0x1.6c00000000000p-1, 0x1.5d5bddf500000p-2, 0x1.cb88bdf82aa58p-36},
    {0x1.6a00000000000p-1, 0x1.630030b400000p-2, -0x1.e374bca4a96cap-36},
};
/// {bits of 2^(j/256) − (j << 44), λ·log2 of the exact value over the stored one}
constexpr ExpEntry kExpTable[256] = {
    {0x3FF0000000000000, 0x0.0p+0},
    {0x3FEFFB1AFA5ABCBF, -0x1.4e82fc6163877p-55},
    {0x3FEFF63DA9FB3335, 0x1.b3b4f1a8603b6p-54},
    {0x3FEFF168143B0281, -0x1.2985dd8503f64p-55},
    {0x3FEFEC9A3E778061, -0x1.160139cd71de7p-56},
    {0x3FEFE7D42E11BBCC, 0x1.51e61705fa118p-57},
    {0x3FEFE315E86E7F85, -0x1.05e7a1085c237p-54},
    {0x3FEFDE5F72F654B1, 0x1.45fad437d98a5p-55},
    {0x3FEFD9B0D3158574, 0x1.cd25235651181p-55},
    {0x3FEFD50A0E3C1F89, -0x1.54529642900a5p-54},
    {0x3FEFD06B29DDF6DE, -0x1.bce8023f6c47cp-55},
    {0x3FEFCBD42B72A836, 0x1.293708ef3e5dfp-55},
    {0x3FEFC74518759BC8, 0x1.0f74e61e51470p-57},
    {0x3FEFC2BDF66607E0, -0x1.5b92809038477p-54},
    {0x3FEFBE3ECAC6F383, 0x1.0a3e45b322806p-54},
    {0x3FEFB9C79B1F3919, 0x1.4f31f32c29d99p-55},
    {0x3FEFB5586CF9890F, 0x1.79aa65d811ceap-54},
    {0x3FEFB0F145E46C85, 0x1.407fb30ce616cp-54},
    {0x3FEFAC922B7247F7, 0x1.eb51a92fadaf4p-55},
    {0x3FEFA83B23395DEC, -0x1.a5d04b3b6ebb3p-54},
    {0x3FEFA3EC32D3D1A2, 0x1.ebe3d702c86dfp-60},
    {0x3FEF9FA55FDFA9C5, -0x1.37a01f071a0d3p-54},
    {0x3FEF9B66AFFED31B, -0x1.a0334898dd1a7p-57},
    {0x3FEF973028D7233E, 0x1.b8268b04c2dcap-55},
    {0x3FEF9301D0125B51, -0x1.556522a2d98cbp-54},
    {0x3FEF8EDBAB5E2AB6, -0x1.ac46e44a03c02p-54},
    {0x3FEF8ABDC06C31CC, -0x1.080ef8c4d4245p-58},
    {0x3FEF86A814F204AB, -0x1.5704e90c7d182p-57},
    {0x3FEF829AAEA92DE0, -0x1.1c923b9d42b15p-54},
    {0x3FEF7E95934F312E, -0x1.97cea57e1d396p-55},
    {0x3FEF7A98C8A58E51, 0x1.0d3e3e95aa54bp-55},
    {0x3FEF76A45471C3C2, 0x1.6f01429e06c6fp-58},
    {0x3FEF72B83C7D517B, -0x1.01b15eaa3f571p-55},
    {0x3FEF6ED48695BBC0, 0x1.e653b2455f648p-57},
    {0x3FEF6AF9388C8DEA, -0x1.f1ff055db127cp-55},
    {0x3FEF672658375D2F, 0x1.2cc7ea343d4d3p-54},
    {0x3FEF635BEB6FCB75, 0x1.b898c3f10902dp-55},
    {0x3FEF5F99F8138A1C, 0x1.57bfb2874c294p-54},
    {0x3FEF5BE084045CD4, -0x1.6d99c760fa005p-54},
    {0x3FEF582F95281C6B, 0x1.cdc1873ac3bc7p-55},
    {0x3FEF54873168B9AA, 0x1.aecf73e377b84p-54},
    {0x3FEF50E75EB44027, -0x1.493684651907fp-54},
    {0x3FEF4D5022FCD91D, -0x1.fe782cb8304d5p-55},
    {0x3FEF49C18438CE4D, -0x1.8e2899074d29fp-54},
    {0x3FEF463B88628CD6, 0x1.a6f4144a41c50p-55},
    {0x3FEF42BE3578A819, 0x1.120fcd4f3da52p-54},
    {0x3FEF3F49917DDC96, 0x1.07a05b0e25d1fp-55},
    {0x3FEF3BDDA27912D1, 0x1.9b788c18634ecp-55},
    {0x3FEF387A6E756238, 0x1.68efde3a664efp-54},
    {0x3FEF351FFB82140A, 0x1.77afbca8e942fp-55},
    {0x3FEF31CE4FB2A63F, 0x1.75e18f271f00fp-55},
    {0x3FEF2E85711ECE75, 0x1.1512f0826b9f7p-54},
    {0x3FEF2B4565E27CDD, 0x1.0472b981e45aep-55},
    {0x3FEF280E341DDF29, 0x1.a02f0c7d4c268p-54},
    {0x3FEF24DFE1F56381, -0x1.6b87b3f6ec08fp-54},
    {0x3FEF21BA7591BB70, -0x1.03297e780c08cp-55},
    {0x3FEF1E9DF51FDEE1, 0x1.2f7e16d07c3cdp-55},
    {0x3FEF1B8A66D10F13, -0x1.5b77e5ccb71bbp-54},
    {0x3FEF187FD0DAD990, -0x1.d219b1a6cd373p-60},
    {0x3FEF157E39771B2F, -0x1.1e75c40b25914p-54},
    {0x3FEF1285A6E4030B, 0x1.b378272094f5dp-55},
    {0x3FEF0F961F641589, 0x1.8a911f1f4feb3p-54},
    {0x3FEF0CAFA93E2F56, 0x1.e149289cbc6a4p-57},
    {0x3FEF09D24ABD886B, -0x1.1e7c998d9b1a7p-57},
    {0x3FEF06FE0A31B715, 0x1.34d754daebbbbp-55},
    {0x3FEF0432EDEEB2FD, 0x1.5425c11f88bb2p-55},
    {0x3FEF0170FC4CD831, 0x1.64201e2aa3862p-55},
    {0x3FEEFEB83BA8EA32, -0x1.79517a03bca54p-54},
    {0x3FEEFC08B26416FF, 0x1.fdd395dd0c58ap-55},
    {0x3FEEF96266E3FA2D, -0x1.00e2a46d8af63p-55},
    {0x3FEEF6C55F929FF1, -0x1.6a3803b8c1551p-55},
    {0x3FEEF431A2DE883B, -0x1.743080394d57dp-55},
    {0x3FEEF1A7373AA9CB, -0x1.24aedcc497a60p-54},
    {0x3FEEEF26231E754A, -0x1.54de30ade0a2bp-54},
    {0x3FEEECAE6D05D866, -0x1.907f81b4eaa61p-54},
    {0x3FEEEA401B7140EF, -0x1.4f2487e19e9b4p-54},
    {0x3FEEE7DB34E59FF7, -0x1.1d1e83e926cf0p-56},
    {0x3FEEE57FBFEC6CF4, 0x1.14a5432faf6aep-54},
    {0x3FEEE32DC313A8E5, -0x1.91919b3cb9630p-54},
    {0x3FEEE0E544EDE173, 0x1.9c3bba5539429p-56},
    {0x3FEEDEA64C123422, 0x1.59f48a72820d7p-55},
    {0x3FEEDC70DF1C5175, -0x1.5a71612dfe9fap-55},
    {0x3FEEDA4504AC801C, -0x1.312607a267f7dp-54},
    {0x3FEED822C367A024, 0x1.6421f6f1ae8e9p-55},
    {0x3FEED60A21F72E2A, -0x1.8a78f48150fdbp-58},
    {0x3FEED3FB2709468A, -0x1.348a6815ddee5p-54},
    {0x3FEED1F5D950A897, -0x1.c2c9b6746c62bp-56},
    {0x3FEECFFA3F84B9D4, 0x1.35c43984ba6f9p-55},
    {0x3FEECE086061892D, 0x1.363ed60c0b9d5p-59},
    {0x3FEECC2042A7D232, -0x1.32afc8d92871bp-57},
    {0x3FEECA41ED1D0057, 0x1.666093b042567p-54},
    {0x3FEEC86D668B3237, -0x1.5fc5e44dbcd21p-54},
    {0x3FEEC6A2B5C13CD0, 0x1.ecce1da9dec0ep-57},
    {0x3FEEC4E1E192AED2, -0x1.ea0148324b144p-56},
    {0x3FEEC32AF0D7D3DE, 0x1.3ff8e3f0d1055p-54},
    {0x3FEEC17DEA6DB7D7, -0x1.a843ad1a5d6cap-56},
    {0x3FEEBFDAD5362A27, 0x1.690cebb786bddp-56},
    {0x3FEEBE41B817C114, 0x1.92ca3bf11c787p-55},
    {0x3FEEBCB299FDDD0D, 0x1.31dbdeb52f546p-54},
    {0x3FEEBB2D81D8ABFF, -0x1.02c99b0490917p-54},
    {0x3FEEB9B2769D2CA7, -0x1.f9434006e7822p-55},
    {0x3FEEB8417F4531EE, 0x1.3e34f67e47212p-56},
    {0x3FEEB6DAA2CF6642, -0x1.7deccdc913df0p-55},
    {0x3FEEB57DE83F4EEF, -0x1.5a3b1197974eap-56},
    {0x3FEEB42B569D4F82, -0x1.8dec6bd0cb955p-56},
    {0x3FEEB2E2F4F6AD27, 0x1.1bd288805889bp-55},
    {0x3FEEB1A4CA5D920F, -0x1.61246ec7925d6p-55},
    {0x3FEEB070DDE910D2, -0x1.96be8ae87625ap-55},
    {0x3FEEAF4736B527DA, 0x1.3350518fbea07p-54},
    {0x3FEEAE27DBE2C4CF, -0x1.8e6ac9032062cp-55},
    {0x3FEEAD12D497C7FD, 0x1.b98b72f87d5edp-56},
    {0x3FEEAC0827FF07CC, -0x1.1af7f1363fd3ep-54},
    {0x3FEEAB07DD485429, 0x1.063e1e21aaee4p-54},
    {0x3FEEAA11FBA87A03, -0x1.43a3540cf81cbp-54},
    {0x3FEEA9268A5946B7, 0x1.4c7855017b0fdp-60},
    {0x3FEEA84590998B93, -0x1.51f58dda861d2p-54},
    {0x3FEEA76F15AD2148, 0x1.432e62b62b933p-54},
    {0x3FEEA6A320DCEB71, -0x1.2e1648e4ebc5ap-55},
    {0x3FEEA5E1B976DC09, -0x1.ce44a6196903fp-55},
    {0x3FEEA52AE6CDF6F4, 0x1.5f30eda967177p-54},
    {0x3FEEA47EB03A5585, -0x1.c33c53bec7900p-55},
    {0x3FEEA3DD1D1929FD, 0x1.17ecda8a55fcdp-54},
    {0x3FEEA34634CCC320, -0x1.453788929df67p-55},
    {0x3FEEA2B9FEBC8FB7, -0x1.345f3cedfbf34p-54},
    {0x3FEEA23882552225, -0x1.3cedd78545b60p-54},
    {0x3FEEA1C1C70833F6, -0x1.5c33fdf8ed4d5p-55},
    {0x3FEEA155D44CA973, 0x1.710aa807bc8bbp-58},
    {0x3FEEA0F4B19E9538, 0x1.1079ab576e070p-55},
    {0x3FEEA09E667F3BCD, -0x1.3b3efbf5c27e4p-54},
    {0x3FEEA052FA75173E, 0x1.27df161cb9c51p-56},
    {0x3FEEA012750BDABF, -0x1.a12ad87321b90p-57},
    {0x3FEE9FDCDDD47645, 0x1.3f9924a03b626p-54},
    {0x3FEE9FB23C651A2F, -0x1.367efb86bb74bp-57},
    {0x3FEE9F9298593AE5, -0x1.7557939a65e5fp-55},
    {0x3FEE9F7DF9519484, -0x1.0dc3d54ded717p-55},
    {0x3FEE9F7466F42E87, 0x1.1ed2f56f8d07ap-58},
    {0x3FEE9F75E8EC5F74, -0x1.81f647e57d2fap-56},
    {0x3FEE9F8286EAD08A, -0x1.8e67a90044939p-55},
    {0x3FEE9F9A48A58174, -0x1.6ee4ac089307bp-55},
    {0x3FEE9FBD35D7CBFD, 0x1.6597566953c83p-55},
    {0x3FEE9FEB564267C9, -0x1.619321e53aeb8p-55},
    {0x3FEEA024B1AB6E09, 0x1.2c0b702887a5fp-54},
    {0x3FEEA0694FDE5D3F, 0x1.09ccb5e0829f7p-54},
    {0x3FEEA0B938AC1CF6, 0x1.a30faf49a268fp-55},
    {0x3FEEA11473EB0187, -0x1.b32dcb94aea3ep-56},
    {0x3FEEA17B0976CFDB, -0x1.2dad3519b96e2p-54},
    {0x3FEEA1ED0130C132, 0x1.4ecfd5465a6bbp-54},
    {0x3FEEA26A62FF86F0, 0x1.7d51410fab162p-55},
    {0x3FEEA2F336CF4E62, 0x1.5ebe1abd4390fp-57},
    {0x3FEEA3878491C491, -0x1.60a3629946220p-56},
    {0x3FEEA427543E1A12, -0x1.8a1c52fb15657p-55},
    {0x3FEEA4D2ADD106D9, 0x1.b18c6e3fb371cp-55},
    {0x3FEEA589994CCE13, -0x1.369b6f1394463p-54},
    {0x3FEEA64C1EB941F7, 0x1.0ec1ddcaf8638p-54},
    {0x3FEEA71A4623C7AD, -0x1.05e843a185a83p-55},
    {0x3FEEA7F4179F5B21, -0x1.22cea4f392719p-58},
    {0x3FEEA8D99B4492ED, -0x1.4d450d8704038p-54},
    {0x3FEEA9CAD931A436, 0x1.c88549b92a74cp-56},
    {0x3FEEAAC7D98A6699, 0x1.0ad675b0cdd79p-54},
    {0x3FEEABD0A478580F, 0x1.31143962d8e87p-54},
    {0x3FEEACE5422AA0DB, 0x1.db72fc1edef29p-55},
    {0x3FEEAE05BAD61778, 0x1.3e9e96f0f24c9p-54},
    {0x3FEEAF3216B5448C, -0x1.5b6609cc3ba18p-57},
    {0x3FEEB06A5E0866D9, -0x1.dac42a4a0937ep-55},
    {0x3FEEB1AE99157736, 0x1.bf68359f090c2p-56},
    {0x3FEEB2FED0282C8A, 0x1.b99dd98af284ep-55},
    {0x3FEEB45B0B91FFC6, -0x1.3091fa71c5464p-54},
    {0x3FEEB5C353AA2FE2, -0x1.885ad50c94137p-56},
    {0x3FEEB737B0CDC5E5, -0x1.da9b88b6923f8p-58},
    {0x3FEEB8B82B5F98E5, -0x1.2d5e85f3c1f06p-55},
    {0x3FEEBA44CBC8520F, -0x1.c23f97c8de646p-57},
    {0x3FEEBBDD9A7670B3, -0x1.166942897aa55p-58},
    {0x3FEEBD829FDE4E50, -0x1.2434322f32467p-54},
    {0x3FEEBF33E47A22A2, 0x1.1f2b2c1c2f2e7p-56},
    {0x3FEEC0F170CA07BA, -0x1.5ca6cd7645e61p-55},
    {0x3FEEC2BB4D53FE0D, -0x1.294f304ef8940p-54},
    {0x3FEEC49182A3F090, 0x1.1affc2b9007adp-56},
    {0x3FEEC674194BB8D5, -0x1.a1e58414968b5p-55},
    {0x3FEEC86319E32323, 0x1.dd235e107757ap-57},
    {0x3FEECA5E8D07F29E, -0x1.9740b589f728bp-56},
    {0x3FEECC667B5DE565, -0x1.7c504225fbfa0p-55},
    {0x3FEECE7AED8EB8BB, 0x1.165830a29d7c1p-54},
    {0x3FEED09BEC4A2D33, 0x1.b1c86e3df7934p-55},
    {0x3FEED2C980460AD8, -0x1.03d5cbe25e603p-54},
    {0x3FEED503B23E255D, -0x1.1bbd1d3baf36ap-54},
    {0x3FEED74A8AF46052, 0x1.98617897e6d0ap-58},
    {0x3FEED99E1330B358, 0x1.0cc319cec8234p-54},
    {0x3FEEDBFE53C12E59, -0x1.9472975af6921p-55},
    {0x3FEEDE6B5579FDBF, 0x1.469846e714e35p-55},
    {0x3FEEE0E521356EBA, 0x1.d8157a348885bp-56},
    {0x3FEEE36BBFD3F37A, -0x1.2dfcd978cb8bbp-55},
    {0x3FEEE5FF3A3C2774, 0x1.c8a4e231bde25p-55},
    {0x3FEEE89F995AD3AD, 0x1.c1a7792c86168p-55},
    {0x3FEEEB4CE622F2FF, -0x1.88c8d119ecc1bp-55},
    {0x3FEEEE07298DB666, -0x1.07b8f4ad03274p-54},
    {0x3FEEF0CE6C9A8952, 0x1.89c2ea411bb6bp-55},
    {0x3FEEF3A2B84F15FB, -0x1.5c3d956da7f79p-58},
    {0x3FEEF68415B749B1, -0x1.274aedac72547p-56},
    {0x3FEEF9728DE5593A, -0x1.0a40e3da54aaap-54},
    {0x3FEEFC6E29F1C52A, 0x1.5c620ce74af8ap-55},
    {0x3FEEFF76F2FB5E47, -0x1.8d6f438ab14f2p-57},
    {0x3FEF028CF22749E4, -0x1.fda52e1b1ebcbp-55},
    {0x3FEF05B030A1064A, -0x1.1eee26b56bd6ap-54},
    {0x3FEF08E0B79A6F1F, -0x1.2141a7b3c5c50p-60},
    {0x3FEF0C1E904BC1D2, 0x1.4ffd70a5dc239p-56},
    {0x3FEF0F69C3F3A207, -0x1.028995073b5b3p-60},
    {0x3FEF12C25BD71E09, -0x1.1bdfbfa90d0cap-54},
    {0x3FEF16286141B33D, -0x1.0dda2d4be4faep-55},
    {0x3FEF199BDD85529C, 0x1.36eae30ad1963p-56},
    {0x3FEF1D1CD9FA652C, -0x1.a007daadcf149p-55},
    {0x3FEF20AB5FFFD07A, 0x1.ee3325c9ce3ecp-55},
    {0x3FEF244778FAFB22, 0x1.36909390f8f14p-55},
    {0x3FEF27F12E57D14B, 0x1.4e08fd107413bp-55},
    {0x3FEF2BA88988C933, -0x1.11cd7dbdddd91p-55},
    {0x3FEF2F6D9406E7B5, 0x1.3cdaf384c1d8dp-57},
    {0x3FEF33405751C4DB, -0x1.ac28b7becb688p-56},
    {0x3FEF3720DCEF9069, 0x1.76b2c6c8fbfa9p-57},
    {0x3FEF3B0F2E6D1675, -0x1.03058720619e8p-56},
    {0x3FEF3F0B555DC3FA, -0x1.08a1883cb0cd7p-55},
    {0x3FEF43155B5BAB74, -0x1.cc73459281488p-55},
    {0x3FEF472D4A07897C, -0x1.fad5d3ffccc7cp-55},
    {0x3FEF4B532B08C968, 0x1.7752a44f32d29p-55},
    {0x3FEF4F87080D89F2, -0x1.00dae38740ccbp-54},
    {0x3FEF53C8EACAA1D6, 0x1.5b66fefecc745p-55},
    {0x3FEF5818DCFBA487, 0x1.4a385a63af557p-56},
    {0x3FEF5C76E862E6D3, 0x1.159d9d906eb98p-58},
    {0x3FEF60E316C98398, -0x1.2919e203e44eep-55},
    {0x3FEF655D71FF6075, 0x1.c254d160ea734p-55},
    {0x3FEF69E603DB3285, 0x1.e5a50d5be86c1p-55},
    {0x3FEF6E7CD63A8315, -0x1.d8c329fba16c9p-55},
    {0x3FEF7321F301B460, 0x1.43a59abff6389p-55},
    {0x3FEF77D5641C0658, -0x1.ea6e6fbd2df0cp-55},
    {0x3FEF7C97337B9B5F, -0x1.2d52107b25a38p-55},
    {0x3FEF81676B197D17, -0x1.3e8e3eab0cc20p-57},
    {0x3FEF864614F5A129, -0x1.92ab93b44871fp-55},
    {0x3FEF8B333B16EE12, -0x1.b7966cd0a6ae6p-55},
    {0x3FEF902EE78B3FF6, 0x1.4b604603874a7p-56},
    {0x3FEF953924676D76, -0x1.76caa4c2d97eap-56},
    {0x3FEF9A51FBC74C83, 0x1.3c5ec519b765fp-55},
    {0x3FEF9F7977CDB740, -0x1.1d5fc525bcef5p-55},
    {0x3FEFA4AFA2A490DA, -0x1.ff7128fd05c98p-55},
    {0x3FEFA9F4867CCA6E, 0x1.55cd8aae81837p-55},
    {0x3FEFAF482D8E67F1, -0x1.dae98e22079cfp-55},
    {0x3FEFB4AAA2188510, 0x1.269947c2a142ep-55},
    {0x3FEFBA1BEE615A27, 0x1.ec3bc41a70989p-55},
    {0x3FEFBF9C1CB6412A, -0x1.3b6137e990423p-55},
    {0x3FEFC52B376BBA97, 0x1.42b94c3a7e4ecp-55},
    {0x3FEFCAC948DD7274, -0x1.9fa7487890c43p-57},
    {0x3FEFD0765B6E4540, 0x1.a64a931cedfc1p-55},
    {0x3FEFD632798844F8, 0x1.01f3a75ec70bcp-54},
    {0x3FEFDBFDAD9CBE14, -0x1.e37bae438db7bp-55},
    {0x3FEFE1D802243C89, -0x1.16a9ce6ebc576p-58},
    {0x3FEFE7C1819E90D8, 0x1.7893b4d8f70dap-56},
    {0x3FEFEDBA3692D514, -0x1.99c7db2ed6a61p-57},
    {0x3FEFF3C22B8F71F1, 0x1.305c1415ee3c0p-58},
    {0x3FEFF9D96B2A23D9, 0x1.4b458677d843fp-57},
};
// clang-format on
// END GENERATED

/// Bit pattern of a double.
inline std::uint64_t Bits(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

/// Double with the given bit pattern.
inline double FromBits(std::uint64_t bits)
{
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

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

/// The constants of GatePow2, the same in both lanes.
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

/// level^ratio outside the direct path (level not in [2^-1022, 1) or |ratio| not ≤ 64).
double PowOutsideRange(double level, double ratio);

/// 2^(n/256)·(1 + q) for n outside the direct range: overflow, results below 2^-960.
/// `shifted` is the bit pattern of kRoundShift + n.
double PowScaleOutside(std::uint64_t shifted, double q);

/// GatePow of each level, for pairs where a level is off the direct path or |ratio| is not ≤ 64.
GatePowPairResult PowPairOutsideRange(double levelA, double levelB, double ratio);

/// level^ratio for a normal level 2^k·m in (0, 1) given by its bits, with `exponentBias` added to
/// k (scaled subnormal levels), |ratio| ≤ 64.
inline double PowFromBits(std::uint64_t levelBits, std::int64_t exponentBias, double ratio)
{
    // Logs are taken in units where ln 2 is λ = kUnit (ln 2 to 34 bits), so that k·λ and n·λ/256
    // below are exact: level^ratio = 2^(t/λ) with t = ratio·λ·log2(level).
    // λ·log2(level) = k·λ − λ·log2(invC) + λ·log2(1 + r), m in [0.708, 1.416), m·invC = 1 + r;
    // the slice is picked by the top 8 mantissa bits of level − offset.
    const std::uint64_t reduced = levelBits - kLogOffset;
    const LogEntry& slice = kLogTable[(reduced >> 44) & 255];
    // (GCC defines >> of a negative value as an arithmetic shift.)
    const std::int64_t exponent = static_cast<std::int64_t>(reduced) >> 52;
    const std::uint64_t mantissaBits = levelBits - (reduced & 0xFFF0000000000000);
    // m·invC − 1 exactly: invC has 9 bits, so with m split into 44 high bits and the rest both
    // products are exact, and the difference to 1 is exact (the slices keep |r| small enough).
    const double m = FromBits(mantissaBits);
    const double mHi = FromBits(mantissaBits & ~std::uint64_t{0x1FF});
    const double r = (mHi * slice.invC - 1.0) + (m - mHi) * slice.invC;

    // head = k·λ + logHi is exact (all on the grid 2^-34); λ·log2(1 + r) = r + r·(λ/ln2 − 1) +
    // r²·poly(r), and everything but r goes into `rest`.
    const double head = static_cast<double>(exponent + exponentBias) * kUnit + slice.logHi;
    const double poly =
        (((kLogPoly[4] * r + kLogPoly[3]) * r + kLogPoly[2]) * r + kLogPoly[1]) * r + kLogPoly[0];
    const double rest = slice.logLo + r * (kLogUnitError + r * poly);

    // The log as logHi26 + logLo26 with logHi26 of 26 significant bits: head − logHi26 is exact
    // because both lie on a fine enough grid and are close.
    const double logHi26 = FromBits(Bits(head + r) & 0xFFFFFFFFF8000000);
    const double logLo26 = ((head - logHi26) + r) + rest;

    // t = ratio·log as product + tail: ratio is split into 27 + 26 bits, so both partial products
    // with logHi26 are exact; ratio·logLo26 is tiny against t.
    const double ratioHi = FromBits(Bits(ratio) & 0xFFFFFFFFFC000000);
    const double product = ratioHi * logHi26;
    const double tail = (ratio - ratioHi) * logHi26 + ratio * logLo26;

    // 2^(t/λ) = 2^(n/256)·2^(f/λ), n = round(t·256/λ), f = t − n·λ/256 (+ the table's rounding);
    // 2^(f/λ) − 1 = f + f·(ln2/λ − 1) + f²·poly(f).
    const double shifted = product * kExpScale + kRoundShift;
    const double n = shifted - kRoundShift;
    const std::uint64_t nBits = Bits(shifted);
    const ExpEntry& step = kExpTable[nBits & 255];
    const double f = (product - n * kExpStep) + (tail + step.tailLog);
    const double q =
        f + f * (kExpUnitError +
                 f * (((kExpPoly[3] * f + kExpPoly[2]) * f + kExpPoly[1]) * f + kExpPoly[0]));
    // (The low 32 bits of nBits hold n: |n| < 2^25.)
    if (static_cast<std::uint32_t>(nBits) - static_cast<std::uint32_t>(kLowestDirect) >=
        kDirectSpan)
        return PowScaleOutside(nBits, q);
    // Scale 2^⌊n/256⌋·2^(j/256): the exponent field gets ⌊n/256⌋ added (the table entry has
    // j << 44 taken off, which the shift puts back).
    const double scale = FromBits(step.scaleBits + (nBits << 44));
    return scale + scale * q;
}

} // namespace detail

inline double GatePow(double level, double ratio)
{
    const std::uint64_t bits = detail::Bits(level);
    if (bits - detail::kSmallestNormalBits >= detail::kOneBits - detail::kSmallestNormalBits ||
        !(std::fabs(ratio) <= detail::kMaxFastRatio))
        return detail::PowOutsideRange(level, ratio);
    return detail::PowFromBits(bits, 0, ratio);
}

inline GatePowPairResult GatePow2(double levelA, double levelB, double ratio)
{
    using namespace detail;
    // GCC builds a vector constant with equal lanes from a scalar load and a shuffle, two
    // instructions each time it is used; read through a pointer it cannot see through, every
    // constant becomes a memory operand instead.
    const PairConstants* k = &kPairConstants;
    __asm__("" : "+r"(k));

    // Lane 0 holds A, lane 1 B; every step is the one of PowFromBits (exponent bias 0), operation
    // for operation, so each lane rounds exactly as GatePow does.
    const __m128i bits = _mm_castpd_si128(_mm_set_pd(levelB, levelA));
    const __m128i reduced = _mm_sub_epi64(bits, k->logOffset);
    // The high words of `reduced` of A and B in 32-bit lanes 0 and 1 (and again in 2 and 3).
    const __m128i high = _mm_shuffle_epi32(reduced, _MM_SHUFFLE(3, 1, 3, 1));

    // GatePow's test bits − 2^-1022 < 1 − 2^-1022 (unsigned) needs the high words only, as both
    // bounds have zero low words. On the high words h of `reduced` it reads h + c < span
    // (unsigned), a signed comparison once both sides have their sign bit flipped.
    const __m128i outside = _mm_cmpgt_epi32(_mm_add_epi32(high, k->rangeBias), k->rangeLast);
    // (std::fabs would take a trip through the x87 unit on 32-bit builds.)
    const __m128d ratios = _mm_set1_pd(ratio);
    const double ratioSize = _mm_cvtsd_f64(_mm_and_pd(ratios, _mm_castsi128_pd(k->absMask)));
    if (_mm_movemask_ps(_mm_castsi128_ps(outside)) != 0 || !(ratioSize <= kMaxFastRatio))
        return PowPairOutsideRange(levelA, levelB, ratio);

    // λ·log2(level) = k·λ − λ·log2(invC) + λ·log2(1 + r): slices (bits 12…19 of the high word of
    // `reduced`), exponents k (its top 12 bits, signed), r = m·invC − 1 exactly.
    const auto highA = static_cast<std::uint32_t>(_mm_cvtsi128_si32(high));
    const auto highB = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_shuffle_epi32(high, 1)));
    const LogEntry& sliceA = kLogTable[(highA >> 12) & 255];
    const LogEntry& sliceB = kLogTable[(highB >> 12) & 255];
    const __m128d exponent = _mm_cvtepi32_pd(_mm_srai_epi32(high, 20));
    const __m128i mantissaBits = _mm_sub_epi64(bits, _mm_and_si128(reduced, k->exponentMask));

    const __m128d invC = _mm_set_pd(sliceB.invC, sliceA.invC);
    const __m128d m = _mm_castsi128_pd(mantissaBits);
    const __m128d mHi = _mm_and_pd(m, _mm_castsi128_pd(k->mantissaHighMask));
    const __m128d r =
        _mm_add_pd(_mm_sub_pd(_mm_mul_pd(mHi, invC), k->one), _mm_mul_pd(_mm_sub_pd(m, mHi), invC));

    // The log as head + r + rest, then as logHi26 + logLo26.
    const __m128d head =
        _mm_add_pd(_mm_mul_pd(exponent, k->unit), _mm_set_pd(sliceB.logHi, sliceA.logHi));
    __m128d poly = _mm_add_pd(_mm_mul_pd(k->logPoly[4], r), k->logPoly[3]);
    poly = _mm_add_pd(_mm_mul_pd(poly, r), k->logPoly[2]);
    poly = _mm_add_pd(_mm_mul_pd(poly, r), k->logPoly[1]);
    poly = _mm_add_pd(_mm_mul_pd(poly, r), k->logPoly[0]);
    const __m128d rest =
        _mm_add_pd(_mm_set_pd(sliceB.logLo, sliceA.logLo),
                   _mm_mul_pd(r, _mm_add_pd(k->logUnitError, _mm_mul_pd(r, poly))));

    const __m128d logHi26 = _mm_and_pd(_mm_add_pd(head, r), _mm_castsi128_pd(k->logHigh26Mask));
    const __m128d logLo26 = _mm_add_pd(_mm_add_pd(_mm_sub_pd(head, logHi26), r), rest);

    // t = ratio·log as product + tail.
    const __m128d ratioHi = _mm_and_pd(ratios, _mm_castsi128_pd(k->ratioHighMask));
    const __m128d product = _mm_mul_pd(ratioHi, logHi26);
    const __m128d tail =
        _mm_add_pd(_mm_mul_pd(_mm_sub_pd(ratios, ratioHi), logHi26), _mm_mul_pd(ratios, logLo26));

    // 2^(t/λ) = 2^(n/256)·(1 + q).
    const __m128d shifted = _mm_add_pd(_mm_mul_pd(product, k->expScale), k->roundShift);
    const __m128d n = _mm_sub_pd(shifted, k->roundShift);
    const __m128i nBits = _mm_castpd_si128(shifted);
    // (The low 32 bits of each lane hold n.)
    const auto nA = static_cast<std::uint32_t>(_mm_cvtsi128_si32(nBits));
    const auto nB = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_shuffle_epi32(nBits, 2)));
    const ExpEntry& stepA = kExpTable[nA & 255];
    const ExpEntry& stepB = kExpTable[nB & 255];
    const __m128d f = _mm_add_pd(_mm_sub_pd(product, _mm_mul_pd(n, k->expStep)),
                                 _mm_add_pd(tail, _mm_set_pd(stepB.tailLog, stepA.tailLog)));
    __m128d fPoly = _mm_add_pd(_mm_mul_pd(k->expPoly[3], f), k->expPoly[2]);
    fPoly = _mm_add_pd(_mm_mul_pd(fPoly, f), k->expPoly[1]);
    fPoly = _mm_add_pd(_mm_mul_pd(fPoly, f), k->expPoly[0]);
    const __m128d q =
        _mm_add_pd(f, _mm_mul_pd(f, _mm_add_pd(k->expUnitError, _mm_mul_pd(f, fPoly))));

    const __m128i stepBits = _mm_set_epi64x(static_cast<long long>(stepB.scaleBits),
                                            static_cast<long long>(stepA.scaleBits));
    const __m128d scale = _mm_castsi128_pd(_mm_add_epi64(stepBits, _mm_slli_epi64(nBits, 44)));
    const __m128d result = _mm_add_pd(scale, _mm_mul_pd(scale, q));
    const bool directA = nA - static_cast<std::uint32_t>(kLowestDirect) < kDirectSpan;
    const bool directB = nB - static_cast<std::uint32_t>(kLowestDirect) < kDirectSpan;
    if (directA && directB)
        return {_mm_cvtsd_f64(result), _mm_cvtsd_f64(_mm_unpackhi_pd(result, result))};
    // A result that overflows or lies below 2^-960 (either lane, or both).
    std::uint64_t shiftedBits[2];
    double qs[2];
    double results[2];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(shiftedBits), nBits);
    _mm_storeu_pd(qs, q);
    _mm_storeu_pd(results, result);
    return {directA ? results[0] : PowScaleOutside(shiftedBits[0], qs[0]),
            directB ? results[1] : PowScaleOutside(shiftedBits[1], qs[1])};
}

} // namespace vrn
