#pragma once
// gate_bench's passes over the test signal: plain (warm-up), timed, counted and checked, all
// over the blocks of one plan.

#include "tools/bench/bench_plugins.h"
#include "tools/bench/bench_signal.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vrn
{

/// One process call of a pass.
struct PlannedBlock
{
    std::size_t start = 0;   ///< first frame of the signal
    int32 frames = 0;        ///< 1..block size
    std::size_t segment = 0; ///< the segment its first frame belongs to; its cost counts there
};

/// The blocks of a pass over a signal, and the frames each segment's figures cover.
struct BlockPlan
{
    int32 blockSize = 0;                      ///< frames per block, the last one may be shorter
    std::vector<PlannedBlock> blocks;         ///< in order, covering every frame once
    std::vector<std::uint64_t> segmentFrames; ///< frames of the blocks counted for each segment
};

/// Cuts `signal` into blocks of `blockSize` (>= 1) frames.
BlockPlan PlanBlocks(const TestSignal& signal, int32 blockSize);

/// Processes the whole signal once, measuring nothing (warm-up).
void PlainPass(BenchPlugin& plugin, const TestSignal& signal, const BlockPlan& plan);

/// Processes the whole signal, timing each process call; appends ns per frame of each segment
/// to the plug-in's round figures.
void TimedPass(BenchPlugin& plugin, const TestSignal& signal, const BlockPlan& plan);

/// Processes the whole signal with the instruction counter toggled on around each process call
/// only; writes one dump per segment (see callgrind_reader.h).
void CountedPass(BenchPlugin& plugin, const TestSignal& signal, const BlockPlan& plan);

/// Processes the whole signal and records what the plug-in made of it in its OutputCheck.
void CheckedPass(BenchPlugin& plugin, const TestSignal& signal, const BlockPlan& plan);

} // namespace vrn
