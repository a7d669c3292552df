// gate_bench's passes over the test signal: plain (warm-up), timed, counted and checked.
#include "tools/bench/bench_passes.h"

#include "tools/bench/callgrind_reader.h"
#include "tools/bench/instruction_counter.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace vrn
{
namespace
{

using Clock = std::chrono::steady_clock;

// Runs the plan's blocks through the plug-in, calling `around(number, block)` for each loaded
// block; `around` must call ProcessBlock. A plug-in that cannot go on is marked skipped.
template <typename Around>
bool RunPass(BenchPlugin& plugin, const TestSignal& signal, const BlockPlan& plan, Around around)
{
    for (std::size_t number = 0; number < plan.blocks.size(); ++number)
    {
        const PlannedBlock& block = plan.blocks[number];
        std::string error;
        if (!plugin.LoadBlock(signal.left.data() + block.start, signal.right.data() + block.start,
                              block.frames, error))
        {
            plugin.skipped = "stopped while processing: " + error;
            return false;
        }
        around(number, block);
    }
    return true;
}

} // namespace

BlockPlan PlanBlocks(const TestSignal& signal, int32 blockSize)
{
    BlockPlan plan;
    plan.blockSize = blockSize;
    plan.segmentFrames.assign(signal.segments.size(), 0);
    const auto block = static_cast<std::size_t>(blockSize);
    for (std::size_t start = 0; start < signal.Frames(); start += block)
    {
        const std::size_t frames = std::min(block, signal.Frames() - start);
        const std::size_t segment = signal.SegmentOf(start);
        plan.blocks.push_back({start, static_cast<int32>(frames), segment});
        plan.segmentFrames[segment] += frames;
    }
    return plan;
}

void PlainPass(BenchPlugin& plugin, const TestSignal& signal, const BlockPlan& plan)
{
    RunPass(plugin, signal, plan,
            [&](std::size_t, const PlannedBlock& block)
            { plugin.session->ProcessBlock(block.frames); });
}

void TimedPass(BenchPlugin& plugin, const TestSignal& signal, const BlockPlan& plan)
{
    std::vector<double> ns(signal.segments.size(), 0.0);
    HostSession& session = *plugin.session;
    const bool complete =
        RunPass(plugin, signal, plan,
                [&](std::size_t, const PlannedBlock& block)
                {
                    const Clock::time_point start = Clock::now();
                    session.ProcessBlock(block.frames);
                    const Clock::time_point stop = Clock::now();
                    ns[block.segment] +=
                        std::chrono::duration<double, std::nano>(stop - start).count();
                });
    if (!complete)
        return;
    plugin.roundNs.resize(signal.segments.size());
    for (std::size_t s = 0; s < ns.size(); ++s)
    {
        if (plan.segmentFrames[s] > 0)
            plugin.roundNs[s].push_back(ns[s] / static_cast<double>(plan.segmentFrames[s]));
    }
}

void CountedPass(BenchPlugin& plugin, const TestSignal& signal, const BlockPlan& plan)
{
    const std::size_t blocks = plan.blocks.size();
    HostSession& session = *plugin.session;
    InstructionCounterZero();
    RunPass(plugin, signal, plan,
            [&](std::size_t number, const PlannedBlock& block)
            {
                InstructionCounterToggle();
                session.ProcessBlock(block.frames);
                InstructionCounterToggle();
                // One dump per segment, written after its last block.
                const std::size_t segment = block.segment;
                if (number + 1 == blocks || plan.blocks[number + 1].segment != segment)
                {
                    const CountDumpName name{plugin.index,
                                             plan.blockSize,
                                             segment,
                                             plan.segmentFrames[segment],
                                             signal.segments[segment].name,
                                             plugin.label};
                    InstructionCounterDump(name.Text().c_str());
                }
            });
}

void CheckedPass(BenchPlugin& plugin, const TestSignal& signal, const BlockPlan& plan)
{
    OutputCheck& check = plugin.check;
    check = OutputCheck{};
    check.segmentPeak.assign(signal.segments.size(), 0.0);
    const auto latency = static_cast<std::size_t>(std::max(plugin.session->Latency(), int32{0}));
    RunPass(plugin, signal, plan,
            [&](std::size_t, const PlannedBlock& block)
            {
                plugin.session->ProcessBlock(block.frames);
                for (int channel = 0; channel < 2; ++channel)
                {
                    const float* out = plugin.Output(channel);
                    const std::vector<float>& in = channel == 0 ? signal.left : signal.right;
                    for (std::size_t i = 0; i < static_cast<std::size_t>(block.frames); ++i)
                    {
                        const std::size_t frame = block.start + i;
                        if (!std::isfinite(out[i]))
                        {
                            ++check.nonFinite;
                            continue;
                        }
                        if (std::fpclassify(out[i]) == FP_SUBNORMAL)
                            ++check.subnormals;
                        const double y = static_cast<double>(out[i]);
                        double& peak = check.segmentPeak[signal.SegmentOf(frame)];
                        peak = std::max(peak, std::fabs(y));
                        // The output answers the input `latency` frames earlier.
                        if (frame < latency)
                            continue;
                        const std::size_t source = frame - latency;
                        const auto phase = static_cast<std::size_t>(signal.phases[source]);
                        const double x = static_cast<double>(in[source]);
                        check.inputEnergy[phase] += x * x;
                        check.outputEnergy[phase] += y * y;
                    }
                }
            });
}

} // namespace vrn
