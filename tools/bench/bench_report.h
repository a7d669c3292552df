#pragma once
// gate_bench's tables: the plug-ins and their settings, timing per block size and over block
// sizes, and the instruction counts read from callgrind dumps.

#include "tools/bench/bench_options.h"
#include "tools/bench/bench_plugins.h"
#include "tools/bench/bench_signal.h"
#include "tools/bench/callgrind_reader.h"

#include <string>
#include <vector>

namespace vrn
{

/// The timing of every plug-in at one block size, kept for the table over block sizes.
struct BlockTiming
{
    int32 blockSize = 0;                     ///< frames per block
    std::vector<std::string> labels;         ///< one per plug-in, in command-line order
    std::vector<std::vector<double>> rounds; ///< [plug-in][round] ns per frame of the last
                                             ///< segment; empty for a skipped plug-in
};

/// Lists the plug-ins: label, path, channels, latency and the settings made, or why skipped.
void PrintPlugins(const std::vector<BenchPlugin>& plugins);

/// Prints the timing table of one block size, the notes on odd output, and the result lines
/// when asked for; returns what the table over block sizes needs.
BlockTiming PrintTimeTable(const BenchOptions& options, const TestSignal& signal, int32 blockSize,
                           const std::vector<BenchPlugin>& plugins);

/// Prints ns per frame of each plug-in at each block size, with the ratio to the first one.
void PrintBlockTable(const BenchOptions& options, const std::vector<BlockTiming>& timings);

/// Prints the instructions per frame the dumps count, one table per block size.
void PrintCountTables(const std::string& title, const std::vector<CountRecord>& records);

} // namespace vrn
