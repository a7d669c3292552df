// gate_bench: the processing cost of VST2 plug-ins per stereo frame, side by side in one process:
// timed rounds that alternate between the plug-ins, or instruction counts under callgrind, at
// one or several block sizes.
#include "tools/bench/bench_options.h"
#include "tools/bench/bench_passes.h"
#include "tools/bench/bench_plugins.h"
#include "tools/bench/bench_report.h"
#include "tools/bench/bench_signal.h"
#include "tools/bench/callgrind_reader.h"
#include "tools/bench/instruction_counter.h"
#include "tools/command_line.h"

#include <algorithm>
#include <cstdio>

namespace vrn
{
namespace
{

// Exit codes.
constexpr int kExitOk = 0;
constexpr int kExitUsage = 1;   // bad command line or a setting that cannot be applied
constexpr int kExitNothing = 2; // no plug-in could be measured, or no dump could be read

bool AnyMeasured(const std::vector<BenchPlugin>& plugins)
{
    return std::any_of(plugins.begin(), plugins.end(),
                       [](const BenchPlugin& plugin) { return plugin.Measured(); });
}

// Every measured plug-in runs `pass` in turn.
template <typename Pass>
void EachPlugin(std::vector<BenchPlugin>& plugins, Pass pass)
{
    for (BenchPlugin& plugin : plugins)
    {
        if (plugin.Measured())
            pass(plugin);
    }
}

void PrintSkipped(const std::vector<BenchPlugin>& plugins)
{
    for (const BenchPlugin& plugin : plugins)
    {
        if (!plugin.Measured())
            std::printf("note: skipped %s: %s\n", plugin.path.c_str(), plugin.skipped.c_str());
    }
}

// Opens, sets up and measures every plug-in at one block size; `first` prints the plug-ins.
int MeasureBlockSize(const BenchOptions& options, const TestSignal& signal, int32 blockSize,
                     bool first, std::vector<BlockTiming>& timings)
{
    const BlockPlan plan = PlanBlocks(signal, blockSize);
    std::vector<BenchPlugin> plugins = OpenPlugins(options, blockSize);
    std::string error;
    if (!ApplySettings(options, plugins, error))
    {
        PrintError(error);
        return kExitUsage;
    }
    if (!AnyMeasured(plugins))
    {
        PrintPlugins(plugins);
        PrintError("no plug-in could be measured");
        return kExitNothing;
    }

    const bool counting = options.mode == BenchMode::Count;
    const int warmup = counting ? std::max(options.warmup, 1) : options.warmup;
    for (int pass = 0; pass < warmup; ++pass)
        EachPlugin(plugins, [&](BenchPlugin& plugin) { PlainPass(plugin, signal, plan); });
    // After the warm-up: plug-ins may settle their latency only once they have processed.
    if (first)
        PrintPlugins(plugins);

    if (counting)
    {
        if (first && !InstructionCounterAvailable())
            std::printf("note: not running under valgrind; nothing is counted\n");
        InstructionCounterBegin();
        EachPlugin(plugins, [&](BenchPlugin& plugin) { CountedPass(plugin, signal, plan); });
        InstructionCounterEnd();
        PrintSkipped(plugins);
        return kExitOk;
    }
    for (int round = 0; round < options.rounds; ++round)
        EachPlugin(plugins, [&](BenchPlugin& plugin) { TimedPass(plugin, signal, plan); });
    EachPlugin(plugins, [&](BenchPlugin& plugin) { CheckedPass(plugin, signal, plan); });
    timings.push_back(PrintTimeTable(options, signal, blockSize, plugins));
    return kExitOk;
}

int RunMeasurement(const BenchOptions& options)
{
    const TestSignal signal = options.silentTail
                                  ? MakeSilentTailSignal(kBenchSampleRate, options.silence)
                                  : MakeGatingSignal(kBenchSampleRate, options.seconds);
    std::vector<BlockTiming> timings;
    for (std::size_t b = 0; b < options.blocks.size(); ++b)
    {
        const int status = MeasureBlockSize(options, signal, options.blocks[b], b == 0, timings);
        if (status != kExitOk)
            return status;
    }
    if (timings.size() > 1)
        PrintBlockTable(options, timings);
    return kExitOk;
}

int RunReport(const BenchOptions& options)
{
    std::vector<CountRecord> records;
    for (const std::string& path : options.files)
    {
        CountRecord record;
        if (ReadCountDump(path, record))
            records.push_back(record);
    }
    if (records.empty())
    {
        PrintError("no gate_bench dump among the files given");
        return kExitNothing;
    }
    PrintCountTables(options.title, records);
    return kExitOk;
}

int RunTool(int argc, char** argv)
{
    BenchOptions options;
    bool help = false;
    std::string error;
    if (!ParseBenchOptions(argc, argv, options, help, error))
    {
        PrintError(error);
        std::fputs(kBenchUsage, stderr);
        return kExitUsage;
    }
    if (help)
    {
        std::fputs(kBenchUsage, stdout);
        return kExitOk;
    }
    return options.mode == BenchMode::Report ? RunReport(options) : RunMeasurement(options);
}

} // namespace
} // namespace vrn

int main(int argc, char** argv)
{
    return vrn::RunMain("gate_bench", argc, argv, vrn::RunTool, vrn::kExitUsage);
}
