// gate_bench's tables: plug-ins, timing per block size and over block sizes, instruction counts.
#include "tools/bench/bench_report.h"

#include "tools/bench/text_table.h"
#include "tools/command_line.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace vrn
{
namespace
{

struct Summary
{
    double median = 0.0;
    double low = 0.0;
    double high = 0.0;
};

Summary Summarise(std::vector<double> values)
{
    Summary summary;
    if (values.empty())
        return summary;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    summary.median = n % 2 == 1 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
    summary.low = values.front();
    summary.high = values.back();
    return summary;
}

// Median over the rounds of value / reference within the same round: the two were measured a
// moment apart, so load on the machine that lasts longer than a round drops out. -1: none.
double PairedRatio(const std::vector<double>& values, const std::vector<double>& references)
{
    std::vector<double> ratios;
    for (std::size_t i = 0; i < values.size() && i < references.size(); ++i)
    {
        if (references[i] > 0.0)
            ratios.push_back(values[i] / references[i]);
    }
    return ratios.empty() ? -1.0 : Summarise(ratios).median;
}

std::string FormatRatio(double ratio)
{
    return ratio >= 0.0 ? Format("%.2f", ratio) : "-";
}

std::string GainDb(double output, double input)
{
    if (input <= 0.0)
        return "-";
    if (output <= 0.0)
        return "-inf";
    return Format("%.1f", 10.0 * std::log10(output / input));
}

std::string PeakDb(double peak)
{
    return peak > 0.0 ? Format("%.1f", 20.0 * std::log10(peak)) : "-inf";
}

std::string Heading(const std::string& title)
{
    return "\n== " + (title.empty() ? std::string("gate_bench") : title);
}

// A plug-in's row of the gating signal's table (one segment).
std::vector<std::string> SingleSegmentRow(const BenchPlugin& plugin, const std::vector<double>& ref)
{
    const Summary s = Summarise(plugin.roundNs[0]);
    const OutputCheck& c = plugin.check;
    const auto burst = static_cast<std::size_t>(SignalPhase::Burst);
    const auto floor = static_cast<std::size_t>(SignalPhase::Floor);
    return {plugin.label,
            Format("%.1f", s.median),
            Format("%.1f", s.low),
            Format("%.1f", s.high),
            FormatRatio(PairedRatio(plugin.roundNs[0], ref)),
            Format("%.2f", 100.0 * s.median / (1e9 / kBenchSampleRate)),
            GainDb(c.outputEnergy[burst], c.inputEnergy[burst]),
            GainDb(c.outputEnergy[floor], c.inputEnergy[floor])};
}

// A plug-in's row of the silent-tail table (several segments).
std::vector<std::string> SegmentsRow(const BenchPlugin& plugin, const std::vector<double>& ref)
{
    std::vector<std::string> row{plugin.label};
    for (const std::vector<double>& rounds : plugin.roundNs)
        row.push_back(Format("%.1f", Summarise(rounds).median));
    const std::size_t last = plugin.roundNs.size() - 1;
    const Summary tail = Summarise(plugin.roundNs[last]);
    double slowdown = -1.0;
    for (std::size_t s = 1; s < plugin.roundNs.size(); ++s)
        slowdown = std::max(slowdown, PairedRatio(plugin.roundNs[s], plugin.roundNs[0]));
    row.insert(row.end(),
               {Format("%.1f", tail.low), Format("%.1f", tail.high), FormatRatio(slowdown),
                FormatRatio(PairedRatio(plugin.roundNs[last], ref)),
                std::to_string(plugin.check.subnormals), PeakDb(plugin.check.segmentPeak[last])});
    return row;
}

} // namespace

void PrintPlugins(const std::vector<BenchPlugin>& plugins)
{
    std::printf("plug-ins:\n");
    for (const BenchPlugin& plugin : plugins)
    {
        if (!plugin.Measured())
        {
            std::printf("  [%zu] %s: skipped, %s\n", plugin.index, plugin.path.c_str(),
                        plugin.skipped.c_str());
            continue;
        }
        std::printf("  [%zu] %s (%s; %d in, %d out, latency %d)\n", plugin.index,
                    plugin.label.c_str(), plugin.path.c_str(), plugin.session->NumInputs(),
                    plugin.session->NumOutputs(), plugin.session->Latency());
        // Settings wrapped into lines of about 100 columns.
        std::string line;
        for (const std::string& applied : plugin.applied)
        {
            if (!line.empty() && line.size() + applied.size() > 92)
            {
                std::printf("      %s;\n", line.c_str());
                line.clear();
            }
            line += (line.empty() ? "" : "; ") + applied;
        }
        std::printf("      %s\n", plugin.applied.empty() ? "defaults" : line.c_str());
    }
}

BlockTiming PrintTimeTable(const BenchOptions& options, const TestSignal& signal, int32 blockSize,
                           const std::vector<BenchPlugin>& plugins)
{
    BlockTiming timing;
    timing.blockSize = blockSize;
    const std::size_t last = signal.segments.size() - 1;
    for (const BenchPlugin& plugin : plugins)
    {
        timing.labels.push_back(plugin.label);
        timing.rounds.push_back(plugin.Measured() ? plugin.roundNs[last] : std::vector<double>{});
    }
    const auto reference = std::find_if(plugins.begin(), plugins.end(),
                                        [](const BenchPlugin& p) { return p.Measured(); });
    if (reference == plugins.end())
        return timing;
    const std::vector<double>& ref = reference->roundNs[last];

    std::printf("%s\n", Heading(options.title).c_str());
    std::printf("signal: %s; %.0f Hz, %d-frame blocks, float processReplacing\n",
                signal.description.c_str(), kBenchSampleRate, blockSize);
    std::printf("ns per stereo frame over %d rounds (the plug-ins take turns within each round); "
                "ratio: median over the rounds of ns per frame over that of %s in the same "
                "round\n",
                options.rounds, reference->label.c_str());
    const bool single = signal.segments.size() == 1;
    std::vector<std::string> headings{"plug-in"};
    if (single)
        headings.insert(headings.end(),
                        {"median", "min", "max", "ratio", "% core", "burst dB", "tails dB"});
    for (std::size_t s = 0; !single && s < signal.segments.size(); ++s)
        headings.push_back(signal.segments[s].name);
    if (!single)
        headings.insert(headings.end(),
                        {"min", "max", "slowdown", "ratio", "subnormals", "peak dBFS"});
    TextTable table(headings);
    for (const BenchPlugin& plugin : plugins)
    {
        if (plugin.Measured())
            table.AddRow(single ? SingleSegmentRow(plugin, ref) : SegmentsRow(plugin, ref));
    }
    table.Print();
    if (single)
        std::printf("%% core: share of one core at %.0f Hz; burst dB / tails dB: output over "
                    "input level in the bursts and in the quiet tails (gate closed), latency "
                    "compensated\n",
                    kBenchSampleRate);
    else
        std::printf("median ns per frame in each stretch; min, max and ratio: of the last "
                    "stretch; slowdown: the slower silence stretch over the first stretch, median "
                    "of the rounds (far above 1: arithmetic on denormals); subnormals: subnormal "
                    "output samples; peak: largest output in the last stretch\n");
    for (const BenchPlugin& plugin : plugins)
    {
        if (plugin.Measured() && plugin.check.nonFinite > 0)
            std::printf("note: %s produced %llu non-finite output samples\n", plugin.label.c_str(),
                        static_cast<unsigned long long>(plugin.check.nonFinite));
        if (!plugin.Measured())
            std::printf("note: skipped %s: %s\n", plugin.path.c_str(), plugin.skipped.c_str());
    }
    for (const BenchPlugin& plugin : plugins)
    {
        for (std::size_t s = 0; options.tsv && plugin.Measured() && s <= last; ++s)
        {
            const Summary summary = Summarise(plugin.roundNs[s]);
            std::printf("result\t%zu\t%s\t%.3f\t%.3f\t%.3f\t%s\t%d\n", plugin.index,
                        signal.segments[s].name.c_str(), summary.median, summary.low, summary.high,
                        plugin.label.c_str(), blockSize);
        }
    }
    return timing;
}

void PrintBlockTable(const BenchOptions& options, const std::vector<BlockTiming>& timings)
{
    if (timings.empty())
        return;
    std::printf("%s: by block size\n", Heading(options.title).c_str());
    std::printf("ns per stereo frame by frames per block (median over %d rounds, last stretch); "
                "in brackets: the ratio to %s in the same rounds\n",
                options.rounds, timings.front().labels.front().c_str());
    std::vector<std::string> headings{"plug-in"};
    for (const BlockTiming& timing : timings)
        headings.push_back(std::to_string(timing.blockSize));
    TextTable table(headings);
    for (std::size_t p = 0; p < timings.front().labels.size(); ++p)
    {
        std::vector<std::string> row{timings.front().labels[p]};
        for (const BlockTiming& timing : timings)
        {
            const std::vector<double>& rounds = timing.rounds[p];
            std::string cell = rounds.empty() ? "-" : Format("%.1f", Summarise(rounds).median);
            if (p > 0 && !rounds.empty())
                cell += " (" + FormatRatio(PairedRatio(rounds, timing.rounds.front())) + ")";
            row.push_back(cell);
        }
        table.AddRow(row);
    }
    table.Print();
}

void PrintCountTables(const std::string& title, const std::vector<CountRecord>& records)
{
    // [block size][plug-in] -> the plug-in's records.
    std::map<int32, std::map<std::size_t, std::vector<const CountRecord*>>> byBlock;
    std::map<int32, std::vector<std::string>> segments;
    for (const CountRecord& record : records)
    {
        const CountDumpName& name = record.name;
        byBlock[name.blockSize][name.plugin].push_back(&record);
        std::vector<std::string>& names = segments[name.blockSize];
        if (names.size() <= name.segment)
            names.resize(name.segment + 1);
        names[name.segment] = name.segmentName;
    }
    for (const auto& [blockSize, byPlugin] : byBlock)
    {
        const std::vector<std::string>& names = segments[blockSize];
        // Instructions per frame, [plug-in][segment]; negative where a dump is missing.
        std::map<std::size_t, std::vector<double>> perFrame;
        for (const auto& [plugin, list] : byPlugin)
        {
            std::vector<double>& row = perFrame[plugin];
            row.assign(names.size(), -1.0);
            for (const CountRecord* record : list)
                row[record->name.segment] = static_cast<double>(record->instructions) /
                                            static_cast<double>(record->name.frames);
        }
        const std::string& referenceLabel = byPlugin.begin()->second.front()->name.label;
        const double referenceValue = perFrame.begin()->second.back();
        const std::string blocks =
            byBlock.size() > 1 ? ", " + std::to_string(blockSize) + "-frame blocks" : "";
        std::printf("%s%s\n", Heading(title).c_str(), blocks.c_str());
        std::printf("instructions per stereo frame (callgrind Ir, process calls only, one pass "
                    "after a warm-up); ratio: %s over that of %s\n",
                    names.size() == 1 ? "Ir per frame" : names.back().c_str(),
                    referenceLabel.c_str());
        std::vector<std::string> headings{"plug-in"};
        headings.insert(headings.end(), names.begin(), names.end());
        headings.push_back("ratio");
        TextTable table(headings);
        for (const auto& [plugin, values] : perFrame)
        {
            std::vector<std::string> row{byPlugin.at(plugin).front()->name.label};
            for (const double value : values)
                row.push_back(value < 0.0 ? "-" : Format("%.1f", value));
            row.push_back(referenceValue > 0.0 ? Format("%.2f", values.back() / referenceValue)
                                               : "-");
            table.AddRow(row);
        }
        table.Print();
    }
}

} // namespace vrn
