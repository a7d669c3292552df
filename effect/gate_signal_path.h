#pragma once
// The gate's audio path, worked through a block in chunks of frames. Three stages:
//   split:   band split and detector levels, frame by frame (the filter is a recursion);
//   targets: each level raised to the ratio, for a whole chunk (no state, so the processor
//            overlaps the pows of many frames);
//   follow:  followers, band link, look-ahead, monitor, meters and output, frame by frame.
// The split of the next chunk runs in the same loop as the follow of the current one, so that
// the two recursions' chains of dependent steps overlap. Both channels (split, audio) or both
// bands (levels, gains) share one SSE2 register; each lane computes exactly what the per-frame
// description says, in its order.

#include "effect/gate_coefficients.h"
#include "effect/gate_pow.h"

#include <emmintrin.h>

#include <cmath>
#include <cstdint>

namespace vrn::gate
{

/// Gain-computer state of one band (all 0 after Reset: the band starts closed).
struct GateBand
{
    double peak = 0.0;      ///< peak follower
    double env = 0.0;       ///< attack/release envelope
    double hold = 0.0;      ///< held envelope
    double smooth = 0.0;    ///< smoothed hold
    double reduction = 0.0; ///< 1 − band gain
};

/// The six look-ahead rings in effect memory, each `length` + 1 cells from its base. The six
/// are always stepped together, so they share one write position.
struct LookAhead
{
    std::int32_t position = 0; ///< write position, 0 … length

    /// Writes the frame's input, low and high band (left, right), replaces each by the value
    /// written `length` steps earlier (0 while the ring is still empty). Lines 1 … 6 carry the
    /// left input, low and high band, then the right ones.
    void Step(double* memory, std::int32_t length, __m128d& input, __m128d& low, __m128d& high)
    {
        double* const at = memory + position;
        _mm_storel_pd(at + kDelayLineBase[0], input);
        _mm_storel_pd(at + kDelayLineBase[1], low);
        _mm_storel_pd(at + kDelayLineBase[2], high);
        _mm_storeh_pd(at + kDelayLineBase[3], input);
        _mm_storeh_pd(at + kDelayLineBase[4], low);
        _mm_storeh_pd(at + kDelayLineBase[5], high);
        position = position >= length ? 0 : position + 1;
        const double* const from = memory + position;
        input = _mm_loadh_pd(_mm_load_sd(from + kDelayLineBase[0]), from + kDelayLineBase[3]);
        low = _mm_loadh_pd(_mm_load_sd(from + kDelayLineBase[1]), from + kDelayLineBase[4]);
        high = _mm_loadh_pd(_mm_load_sd(from + kDelayLineBase[2]), from + kDelayLineBase[5]);
    }
};

/// Everything the signal path keeps from one frame to the next besides the coefficients.
struct GateFrameState
{
    double noiseOffset = 0.0; ///< tiny DC added to the detector path, renewed per block
    double lowpassL = 0.0;    ///< band-split states
    double lowpassR = 0.0;
    GateBand bandLo;
    GateBand bandHi;
    LookAhead lookAhead;
    double leastReductionLo = 1.0; ///< of the running block: its most open gain is 1 − this
    double leastReductionHi = 1.0;
};

/// Frames per chunk: what the split leaves for the other stages stays in the L1 cache.
constexpr std::int32_t kChunkFrames = 64;

/// What the split leaves for the targets and the follow, per frame of a chunk.
struct GateChunk
{
    __m128d input[kChunkFrames];        ///< (left, right), unusable samples replaced by 0
    __m128d low[kChunkFrames];          ///< low bands (left, right): the band-split states
    __m128d high[kChunkFrames];         ///< high bands (left, right)
    __m128d target[kChunkFrames];       ///< levels (Lo, Hi) 0..1, then the gain targets
    GatePowPairLog log[kChunkFrames];   ///< ratio·log(level) of the frames listed in `pending`
    std::int32_t pending[kChunkFrames]; ///< frames whose targets still need GatePow2Exp
};

namespace detail
{

/// Lane i of `mask` (all ones or all zeros) picks lane i of `yes`, else of `no`.
inline __m128d Select(__m128d mask, __m128d yes, __m128d no)
{
    return _mm_or_pd(_mm_and_pd(mask, yes), _mm_andnot_pd(mask, no));
}

inline __m128d Abs(__m128d x)
{
    return _mm_andnot_pd(_mm_set1_pd(-0.0), x);
}

/// Largest input magnitude the gate takes as audio (+600 dBFS). Bands, monitor differences
/// and outputs stay within a few times the input, so with this bound they stay far inside the
/// float range in both precisions.
constexpr double kLargestInput = 1e30;

/// NaN, infinite and larger than kLargestInput lanes become 0: a host's broken sample is
/// silence to the gate.
inline __m128d UsableOrZero(__m128d x)
{
    return _mm_and_pd(_mm_cmple_pd(Abs(x), _mm_set1_pd(kLargestInput)), x);
}

/// (left[j], right[j]) widened to double.
inline __m128d LoadFrame(const float* left, const float* right, std::int32_t j)
{
    return _mm_cvtps_pd(_mm_unpacklo_ps(_mm_load_ss(left + j), _mm_load_ss(right + j)));
}

inline __m128d LoadFrame(const double* left, const double* right, std::int32_t j)
{
    return _mm_loadh_pd(_mm_load_sd(left + j), right + j);
}

/// Lane 0 to left[j], lane 1 to right[j].
inline void StoreFrame(float* left, float* right, std::int32_t j, __m128d frame)
{
    const __m128 narrow = _mm_cvtpd_ps(frame);
    _mm_store_ss(left + j, narrow);
    _mm_store_ss(right + j, _mm_shuffle_ps(narrow, narrow, _MM_SHUFFLE(1, 1, 1, 1)));
}

inline void StoreFrame(double* left, double* right, std::int32_t j, __m128d frame)
{
    _mm_storel_pd(left + j, frame);
    _mm_storeh_pd(right + j, frame);
}

inline std::int32_t ChunkFrames(std::int32_t start, std::int32_t frames)
{
    return start >= frames ? 0 : (frames - start < kChunkFrames ? frames - start : kChunkFrames);
}

} // namespace detail

/// Band split and detector levels of one frame after the other, states held in registers.
class SplitStage
{
public:
    SplitStage(const GateFrameState& s, const GateCoefficients& c)
        : noise(_mm_set1_pd(s.noiseOffset)), split(_mm_set1_pd(c.splitCoef)),
          thresholds(_mm_set_pd(c.threshHiGain, c.threshLoGain)),
          lowpass(_mm_set_pd(s.lowpassR, s.lowpassL))
    {
    }

    /// Frame `frame` of the inputs into slot `slot` of `chunk`.
    template <class Sample>
    void Run(const Sample* inL, const Sample* inR, std::int32_t frame, GateChunk& chunk,
             std::int32_t slot)
    {
        const __m128d input = detail::UsableOrZero(detail::LoadFrame(inL, inR, frame));
        chunk.input[slot] = input;

        // Band split of the detector input; the two bands always add up to it.
        const __m128d x = _mm_add_pd(input, noise);
        lowpass = _mm_add_pd(lowpass, _mm_mul_pd(split, _mm_sub_pd(x, lowpass)));
        const __m128d high = _mm_sub_pd(x, lowpass);
        chunk.low[slot] = lowpass;
        chunk.high[slot] = high;

        // Each band's detector is |max(L, R)|, the signed maximum first. (max(R, L) takes R only
        // where R > L; where the two are equal they differ at most in the sign of a zero, which
        // the magnitude drops.) Its level relative to the threshold is 0..1 (a NaN takes the
        // threshold).
        const __m128d left = _mm_unpacklo_pd(lowpass, high);  // (loL, hiL)
        const __m128d right = _mm_unpackhi_pd(lowpass, high); // (loR, hiR)
        const __m128d magnitude = detail::Abs(_mm_max_pd(right, left));
        chunk.target[slot] = _mm_div_pd(_mm_min_pd(magnitude, thresholds), thresholds);
    }

    void Store(GateFrameState& s) const
    {
        _mm_storel_pd(&s.lowpassL, lowpass);
        _mm_storeh_pd(&s.lowpassR, lowpass);
    }

private:
    __m128d noise;
    __m128d split;
    __m128d thresholds;
    __m128d lowpass;
};

/// The gain targets of the first `count` frames of `chunk`: each level raised to the ratio. The
/// pow's two halves run in separate loops, each short enough for the processor to overlap
/// many frames.
inline void ComputeTargets(GateChunk& chunk, std::int32_t count, double ratio)
{
    std::int32_t pendingCount = 0;
    for (std::int32_t i = 0; i < count; ++i)
    {
        const __m128d level = chunk.target[i];
        if (GatePow2Log(level, ratio, chunk.log[pendingCount]))
            chunk.pending[pendingCount++] = i;
        else
            chunk.target[i] = GatePow2Outside(level, ratio);
    }
    for (std::int32_t i = 0; i < pendingCount; ++i)
        chunk.target[chunk.pending[i]] = GatePow2Exp(chunk.log[i]);
}

/// Followers, band link, look-ahead, monitor, meters and output of one frame after the other,
/// states held in registers. The monitor mode (0 … 3, or -1 to pass the input), Pre-Gate and
/// Band Link are template arguments so that the loop carries none of their tests. `ring` is the
/// effect memory block that holds the look-ahead rings.
template <int kMonitor, bool kPreGate, bool kLink>
class FollowStage
{
public:
    FollowStage(const GateFrameState& s, const GateCoefficients& c, double* ringMemory)
        : peakCoef(_mm_set1_pd(c.peakCoef)), attackCoef(_mm_set1_pd(c.attackCoef)),
          attackMix(_mm_set1_pd(c.attackMix)),
          releaseCoef(_mm_set_pd(c.releaseCoefHi, c.releaseCoefLo)),
          releaseMix(_mm_set_pd(c.releaseMixHi, c.releaseMixLo)),
          holdRatio(_mm_set_pd(c.holdRatioHi, c.holdRatioLo)),
          smoothCoef(_mm_set1_pd(c.smoothCoef)), linkAmount(_mm_set1_pd(c.linkAmount)),
          linkRest(_mm_set1_pd(c.linkRest)), ring(ringMemory), ringLength(c.ringLength),
          peak(_mm_set_pd(s.bandHi.peak, s.bandLo.peak)),
          env(_mm_set_pd(s.bandHi.env, s.bandLo.env)),
          hold(_mm_set_pd(s.bandHi.hold, s.bandLo.hold)),
          smooth(_mm_set_pd(s.bandHi.smooth, s.bandLo.smooth)),
          reduction(_mm_set_pd(s.bandHi.reduction, s.bandLo.reduction)),
          leastReduction(_mm_set_pd(s.leastReductionHi, s.leastReductionLo)), lookAhead(s.lookAhead)
    {
    }

    /// Slot `slot` of `chunk` to frame `frame` of the outputs.
    template <class Sample>
    void Run(const GateChunk& chunk, std::int32_t slot, Sample* outL, Sample* outR,
             std::int32_t frame)
    {
        using detail::Select;
        const __m128d one = _mm_set1_pd(1.0);
        const __m128d target = chunk.target[slot];

        // Lanes (Lo, Hi). Peak follower: rises at once, decays with 20 ms.
        const __m128d h = _mm_add_pd(target, _mm_mul_pd(_mm_sub_pd(peak, target), peakCoef));
        peak = _mm_max_pd(h, target); // h > target ? h : target

        // Attack where the peak is above the envelope (the hold follows the envelope up);
        // release otherwise, where the hold stays up until the envelope has fallen below
        // holdRatio of it.
        const __m128d attack = _mm_cmpgt_pd(peak, env);
        const __m128d envAttack =
            _mm_add_pd(_mm_mul_pd(env, attackCoef), _mm_mul_pd(peak, attackMix));
        const __m128d envRelease =
            _mm_add_pd(_mm_mul_pd(env, releaseCoef), _mm_mul_pd(peak, releaseMix));
        env = Select(attack, envAttack, envRelease);
        const __m128d holdAttack = _mm_max_pd(env, hold); // env > hold ? env : hold
        const __m128d holdFalls = _mm_cmplt_pd(env, _mm_mul_pd(hold, holdRatio));
        const __m128d holdReleased =
            _mm_add_pd(_mm_mul_pd(hold, releaseCoef), _mm_mul_pd(peak, releaseMix));
        hold = Select(attack, holdAttack, Select(holdFalls, holdReleased, hold));

        // The gain rises with the hold but falls no faster than the 28 Hz smoother.
        smooth = _mm_add_pd(smooth, _mm_mul_pd(_mm_sub_pd(hold, smooth), smoothCoef));
        reduction = _mm_sub_pd(one, _mm_max_pd(smooth, hold)); // hold ≥ smooth ? hold : smooth

        if constexpr (kLink)
        {
            // The more open band opens the other, by linkAmount: m = rLo > rHi ? rHi : rLo.
            __m128d m = _mm_min_pd(_mm_shuffle_pd(reduction, reduction, 1), reduction);
            m = _mm_unpacklo_pd(m, m);
            reduction = _mm_add_pd(_mm_mul_pd(linkAmount, m), _mm_mul_pd(linkRest, reduction));
        }
        const __m128d reductionLo = _mm_unpacklo_pd(reduction, reduction);
        const __m128d reductionHi = _mm_unpackhi_pd(reduction, reduction);

        // The frame's audio, lanes (left, right).
        __m128d input = chunk.input[slot];
        __m128d low = chunk.low[slot];
        __m128d high = chunk.high[slot];
        if constexpr (kPreGate)
        {
            // The gains were computed from the undelayed signal: they act ahead of the audio.
            lookAhead.Step(ring, ringLength, input, low, high);
        }

        // Any other monitor value passes the input frame, undelayed.
        __m128d out = chunk.input[slot];
        if constexpr (kMonitor == 0) // "Output"
            out = _mm_sub_pd(_mm_sub_pd(input, _mm_mul_pd(reductionLo, low)),
                             _mm_mul_pd(reductionHi, high));
        else if constexpr (kMonitor == 1) // "Detector": the part of the signal the gate removes
            out = _mm_add_pd(_mm_mul_pd(reductionLo, low), _mm_mul_pd(reductionHi, high));
        else if constexpr (kMonitor == 2) // "Lo-band"
            out = _mm_mul_pd(_mm_sub_pd(one, reductionLo), low);
        else if constexpr (kMonitor == 3) // "Hi-band"
            out = _mm_mul_pd(_mm_sub_pd(one, reductionHi), high);
        detail::StoreFrame(outL, outR, frame, out);

        // The most open gain 1 − r belongs to the least reduction r (1 − r falls as r grows).
        leastReduction = _mm_min_pd(reduction, leastReduction);
    }

    void Store(GateFrameState& s) const
    {
        _mm_storel_pd(&s.bandLo.peak, peak);
        _mm_storeh_pd(&s.bandHi.peak, peak);
        _mm_storel_pd(&s.bandLo.env, env);
        _mm_storeh_pd(&s.bandHi.env, env);
        _mm_storel_pd(&s.bandLo.hold, hold);
        _mm_storeh_pd(&s.bandHi.hold, hold);
        _mm_storel_pd(&s.bandLo.smooth, smooth);
        _mm_storeh_pd(&s.bandHi.smooth, smooth);
        _mm_storel_pd(&s.bandLo.reduction, reduction);
        _mm_storeh_pd(&s.bandHi.reduction, reduction);
        _mm_storel_pd(&s.leastReductionLo, leastReduction);
        _mm_storeh_pd(&s.leastReductionHi, leastReduction);
        s.lookAhead = lookAhead;
    }

private:
    __m128d peakCoef;
    __m128d attackCoef;
    __m128d attackMix;
    __m128d releaseCoef; ///< (Lo, Hi)
    __m128d releaseMix;  ///< (Lo, Hi)
    __m128d holdRatio;   ///< (Lo, Hi)
    __m128d smoothCoef;
    __m128d linkAmount;
    __m128d linkRest;
    double* ring;
    std::int32_t ringLength;
    __m128d peak;
    __m128d env;
    __m128d hold;
    __m128d smooth;
    __m128d reduction;
    __m128d leastReduction;
    LookAhead lookAhead;
};

/// `frames` frames through the signal path. Inputs and outputs may share memory: a frame's
/// inputs are always read before any output of that frame or a later one is written.
template <int kMonitor, bool kPreGate, bool kLink, class Sample>
void RunBlock(GateFrameState& state, const GateCoefficients& c, double* ring, const Sample* inL,
              const Sample* inR, Sample* outL, Sample* outR, std::int32_t frames)
{
    SplitStage split(state, c);
    FollowStage<kMonitor, kPreGate, kLink> follow(state, c, ring);
    GateChunk chunks[2];

    std::int32_t count = detail::ChunkFrames(0, frames);
    for (std::int32_t i = 0; i < count; ++i)
        split.Run(inL, inR, i, chunks[0], i);
    ComputeTargets(chunks[0], count, c.gateRatio);

    for (std::int32_t start = 0, k = 0; start < frames; start += kChunkFrames, ++k)
    {
        const GateChunk& current = chunks[k & 1];
        GateChunk& next = chunks[(k + 1) & 1];
        const std::int32_t nextStart = start + kChunkFrames;
        const std::int32_t nextCount = detail::ChunkFrames(nextStart, frames);
        // The next chunk's split beside this chunk's follow (the last chunk may be shorter).
        std::int32_t i = 0;
        for (; i < nextCount; ++i)
        {
            follow.Run(current, i, outL, outR, start + i);
            split.Run(inL, inR, nextStart + i, next, i);
        }
        for (; i < count; ++i)
            follow.Run(current, i, outL, outR, start + i);
        ComputeTargets(next, nextCount, c.gateRatio);
        count = nextCount;
    }
    split.Store(state);
    follow.Store(state);
}

} // namespace vrn::gate
